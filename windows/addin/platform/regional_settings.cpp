// SPDX-License-Identifier: MIT
#include "platform/regional_settings.h"

#include <windows.h>

#include <oleauto.h>

#include <algorithm>
#include <cstring>

#include "addin/host/error.h"
#include "host_binding/values.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

bool IsBidiMark(wchar_t c) {
  return c == 0x200E || c == 0x200F || c == 0x061C || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

[[noreturn]] void RaiseTypeMismatch() { host::Raise(host::kTypeMismatch, "Type mismatch"); }

}  // namespace

std::wstring WithoutBidiMarks(std::wstring text) {
  std::erase_if(text, IsBidiMark);
  return text;
}

std::uint32_t WindowsRegionalSettings::GetUserDefaultLCID() const { return ::GetUserDefaultLCID(); }

std::int32_t WindowsRegionalSettings::GetLocaleInfoA(std::uint32_t lcid, std::int32_t item,
                                                     char* buffer, std::int32_t length) const {
  // Read wide, so the marks can be told from text, then given in the 8-bit code page as the A
  // call gives it.
  const int needed = GetLocaleInfoW(lcid, static_cast<LCTYPE>(item), nullptr, 0);
  if (needed <= 0 || length < 0) return 0;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int read = GetLocaleInfoW(lcid, static_cast<LCTYPE>(item), wide.data(), needed);
  if (read <= 0) return 0;
  wide.resize(static_cast<std::size_t>(read - 1));
  wide = WithoutBidiMarks(std::move(wide));
  std::string narrow;
  if (!wide.empty()) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(size > 0 ? size : 0));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size,
                        nullptr, nullptr);
  }
  const auto with_zero = static_cast<std::int32_t>(narrow.size() + 1);
  if (length == 0) return with_zero;
  if (buffer == nullptr || length < with_zero) return 0;
  std::memcpy(buffer, narrow.c_str(), narrow.size() + 1);
  return with_zero;
}

host::DateTime WindowsRegionalSettings::ReadDate(std::string_view text) const {
  std::wstring wide = WithoutBidiMarks(com::Widen(text));
  if (wide.empty()) RaiseTypeMismatch();
  DATE date = 0;
  if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &date))) RaiseTypeMismatch();
  const auto when = DateTimeOf(date);
  if (!when) RaiseTypeMismatch();
  return *when;
}

std::string WindowsRegionalSettings::DefaultDateTimeText(const host::DateTime& when) const {
  BSTR text = nullptr;
  if (FAILED(VarBstrFromDate(OleDateOf(when), LOCALE_USER_DEFAULT, 0, &text))) RaiseTypeMismatch();
  std::string result = com::Narrow(std::wstring_view(text, SysStringLen(text)));
  SysFreeString(text);
  return result;
}

}  // namespace lunavant::winaddin
