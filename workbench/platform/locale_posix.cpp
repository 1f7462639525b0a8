// SPDX-License-Identifier: MIT
// The user's short-date format from the C library's locale data (newlocale, nl_langinfo_l).
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {
namespace {

// D_FMT of the "C" locale.
constexpr const char* kCDateFormat = "%m/%d/%y";

}  // namespace

std::string PosixDateFormatSource::UserTimeLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return "C";
}

std::string PosixDateFormatSource::UserDateFormat() const {
  std::string name = UserTimeLocaleName();
  if (name == loaded_name_) return loaded_format_;
  // A failure is not kept, so a locale installed while the program runs is found at the next call.
  locale_t locale = newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return kCDateFormat;
  const char* format = nl_langinfo_l(D_FMT, locale);
  loaded_format_ = format != nullptr ? format : "";
  loaded_name_ = std::move(name);
  freelocale(locale);
  return loaded_format_;
}

}  // namespace lunavant::workbench
