// SPDX-License-Identifier: MIT
#include "text.h"

#include <cstdio>

namespace lunavant::com {
namespace {

// Codes a COM client meets most, for systems (wine among them) whose message table lacks them.
const char* KnownHresultText(HRESULT code) {
  switch (code) {
    case REGDB_E_CLASSNOTREG:
      return "Class not registered";
    case CO_E_CLASSSTRING:
      return "Invalid class string";
    case DISP_E_UNKNOWNNAME:
      return "Unknown name";
    case DISP_E_MEMBERNOTFOUND:
      return "Member not found";
    case DISP_E_EXCEPTION:
      return "Exception occurred";
    case DISP_E_TYPEMISMATCH:
      return "Type mismatch";
    case DISP_E_BADPARAMCOUNT:
      return "Invalid number of parameters";
    case DISP_E_PARAMNOTFOUND:
      return "Parameter not found";
    case E_NOINTERFACE:
      return "No such interface supported";
    case HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND):
      return "The specified module could not be found";
    default:
      return nullptr;
  }
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring result(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, result.data(), length);
  return result;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, result.data(), length, nullptr, nullptr);
  return result;
}

std::string DescribeHresult(HRESULT code) {
  char number[16];
  std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(code));
  std::string result = number;
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length != 0 && text != nullptr) {
    std::wstring_view message(text, length);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
      message.remove_suffix(1);
    }
    if (!message.empty()) result += " (" + Narrow(message) + ")";
  } else if (const char* known = KnownHresultText(code)) {
    result += std::string(" (") + known + ")";
  }
  LocalFree(text);
  return result;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace lunavant::com
