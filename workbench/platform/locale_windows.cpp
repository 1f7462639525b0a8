// SPDX-License-Identifier: MIT
// The user's short date from the Windows regional settings (GetLocaleInfoEx), reduced as the CLDR
// patterns of locale_icu.cpp are: bidirectional marks dropped, names giving way to numbers.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {
namespace {

std::string Utf8Of(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
  }
  return utf8;
}

// The item of the user's default locale; empty when Windows has none.
std::wstring UserLocaleItem(LCTYPE item) {
  const int size = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, nullptr, 0);
  if (size <= 0) return {};
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  const int written = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text.data(), size);
  if (written <= 0) return {};
  text.resize(static_cast<std::size_t>(written - 1));
  return text;
}

// The user may change the regional settings at any time, so they are read at every call; what a
// format reduces to is kept under the format's text.
class WindowsDateFormatSource final : public DateFormatSource {
 public:
  const ShortDate& UserShortDate() const override {
    std::string format = Utf8Of(UserLocaleItem(LOCALE_SSHORTDATE));
    auto found = derived_.find(format);
    if (found == derived_.end()) {
      ShortDate derived = ShortDateOfWindows(format);
      // Without a format of its own, the separator is still the user's.
      if (derived.pattern.empty()) {
        const std::string separator = Utf8Of(UserLocaleItem(LOCALE_SDATE));
        if (!separator.empty()) derived.separator = separator;
      }
      found = derived_.emplace(std::move(format), std::move(derived)).first;
    }
    return found->second;
  }

 private:
  mutable std::map<std::string, ShortDate, std::less<>> derived_;
};

}  // namespace

std::unique_ptr<const DateFormatSource> UserDateFormatSource() {
  return std::make_unique<WindowsDateFormatSource>();
}

}  // namespace lunavant::workbench
