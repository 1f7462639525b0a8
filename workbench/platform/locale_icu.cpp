// SPDX-License-Identifier: MIT
// The CLDR short-date pattern of a locale through ICU's date formatting (udat_open).
#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <array>
#include <memory>
#include <string>

#include "workbench/platform/short_date.h"

namespace lunavant::workbench::detail {
namespace {

// POSIX modifiers that name a script; others (euro, iqtelif...) do not change the short date.
struct ScriptModifier {
  std::string_view modifier;
  std::string_view script;
};
constexpr std::array<ScriptModifier, 3> kScriptModifiers = {
    {{"latin", "Latn"}, {"cyrillic", "Cyrl"}, {"devanagari", "Deva"}}};

// "sr_RS.UTF-8@latin" as ICU names it, "sr_Latn_RS", in the Gregorian calendar; empty for the C
// and POSIX locales, whose short date is the C library's.
std::string IcuLocaleId(std::string_view name) {
  const std::size_t at = name.find('@');
  const std::string_view modifier = at == std::string_view::npos ? "" : name.substr(at + 1);
  std::string_view base = name.substr(0, name.find_first_of(".@"));
  const std::string_view language = base.substr(0, base.find('_'));
  if (language.empty() || language == "C" || language == "POSIX") return {};
  std::string id(language);
  for (const ScriptModifier& entry : kScriptModifiers) {
    if (modifier == entry.modifier) (id += '_') += entry.script;
  }
  if (language.size() < base.size()) id += base.substr(language.size());
  return id + "@calendar=gregorian";
}

std::string LanguageOf(const char* locale_id) {
  std::array<char, ULOC_LANG_CAPACITY> language{};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLanguage(locale_id, language.data(), static_cast<int32_t>(language.size()), &status);
  return U_SUCCESS(status) ? std::string(language.data()) : std::string();
}

struct FormatCloser {
  void operator()(UDateFormat* format) const { udat_close(format); }
};

}  // namespace

std::string CldrShortDatePattern(std::string_view locale_name) {
  const std::string id = IcuLocaleId(locale_name);
  if (id.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  std::array<char, ULOC_FULLNAME_CAPACITY> canonical{};
  uloc_canonicalize(id.c_str(), canonical.data(), static_cast<int32_t>(canonical.size()), &status);
  if (U_FAILURE(status)) return {};
  const std::unique_ptr<UDateFormat, FormatCloser> format(
      udat_open(UDAT_NONE, UDAT_SHORT, canonical.data(), nullptr, 0, nullptr, 0, &status));
  if (U_FAILURE(status) || format == nullptr) return {};

  // ICU answers every locale: from the locale's own data, from the root locale's, or from the
  // process's default locale when it knows nothing of the language. Only the first counts.
  const char* valid = udat_getLocaleByType(format.get(), ULOC_VALID_LOCALE, &status);
  const char* actual = udat_getLocaleByType(format.get(), ULOC_ACTUAL_LOCALE, &status);
  if (U_FAILURE(status) || valid == nullptr || actual == nullptr) return {};
  const std::string actual_language = LanguageOf(actual);
  if (actual_language.empty() || actual_language == "root" ||
      LanguageOf(valid) != LanguageOf(canonical.data())) {
    return {};
  }

  status = U_ZERO_ERROR;
  const int32_t length = udat_toPattern(format.get(), false, nullptr, 0, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR || length <= 0) return {};
  std::u16string pattern(static_cast<std::size_t>(length), u'\0');
  status = U_ZERO_ERROR;
  udat_toPattern(format.get(), false, pattern.data(), length, &status);
  if (U_FAILURE(status)) return {};

  int32_t utf8_length = 0;
  status = U_ZERO_ERROR;
  u_strToUTF8(nullptr, 0, &utf8_length, pattern.data(), length, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR || utf8_length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(utf8_length), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8(utf8.data(), utf8_length, nullptr, pattern.data(), length, &status);
  if (U_FAILURE(status)) return {};
  return utf8;
}

}  // namespace lunavant::workbench::detail
