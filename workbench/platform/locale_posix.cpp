// SPDX-License-Identifier: MIT
// The user's locale name from the environment, and the short date of a locale: ICU's CLDR pattern
// (locale_icu.cpp), else the C library's locale data (newlocale, nl_langinfo_l).
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {
namespace {

// D_FMT of the "C" locale.
constexpr const char* kCDateFormat = "%m/%d/%y";

// The first non-empty of LC_ALL, LC_TIME and LANG, as it stands in the environment.
const char* LocaleNameInEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return "C";
}

// The locale's D_FMT; none when the C library cannot load the locale.
std::optional<std::string> CLibraryDateFormat(const char* name) {
  locale_t locale = newlocale(LC_TIME_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return std::nullopt;
  const char* format = nl_langinfo_l(D_FMT, locale);
  std::string text = format != nullptr ? format : "";
  freelocale(locale);
  return text;
}

}  // namespace

std::unique_ptr<const DateFormatSource> UserDateFormatSource() {
  return std::make_unique<PosixDateFormatSource>();
}

std::string PosixDateFormatSource::UserTimeLocaleName() { return LocaleNameInEnvironment(); }

const ShortDate& PosixDateFormatSource::UserShortDate() const {
  const std::string_view name = LocaleNameInEnvironment();
  if (current_ != nullptr && name == current_name_) return *current_;
  auto found = derived_.find(name);
  if (found == derived_.end()) {
    ShortDate derived;
    const std::string cldr = detail::CldrShortDatePattern(name);
    if (!cldr.empty()) {
      derived = ShortDateOfCldr(cldr);
    } else {
      // A locale neither knows is kept as the "C" locale too: asking again at every date read
      // would cost far more than the read.
      const std::optional<std::string> format = CLibraryDateFormat(std::string(name).c_str());
      derived = ShortDateOfStrftime(format ? *format : kCDateFormat);
    }
    found = derived_.emplace(std::string(name), std::move(derived)).first;
  }
  current_name_.assign(name);
  current_ = &found->second;
  return *current_;
}

}  // namespace lunavant::workbench
