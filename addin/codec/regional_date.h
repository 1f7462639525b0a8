// SPDX-License-Identifier: MIT
// Gregorian dates written the way the user's regional settings write short dates, but always with
// a two-digit year.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lunavant::codec {

// The locale item's text, or the empty text when the platform has none. Asks for the size first,
// then fills a buffer of that size.
std::string GetLocaleText(std::uint32_t locale, std::int32_t item);

// `date_text` is day "/" month "/" four-digit year, as ComposeDateText builds it. Returns it
// written with the user's short-date pattern, every "yyyy" of the pattern turned into "yy"; the day
// and month stay those of the input whatever order the pattern puts them in. A year that the
// platform would read back from two digits as another year (outside 1930..2029 on this
// platform) is written in full. Without a pattern the input comes back unchanged. Fails with
// kTypeMismatch on input of another shape.
std::string RegionalDateText(std::string_view date_text);
// The same for the date given as numbers, without writing and reading it back: what
// RegionalDateText gives for day "/" month "/" year with every number below 10 padded to two
// digits.
std::string RegionalDateOf(std::int32_t year, std::int32_t month, std::int32_t day);

namespace detail {
// `weekday`, one blank and RegionalDateOf's text (only the latter when `weekday` is empty), written
// into `out` in place of what it held: ToGregorianText's result, built where it is returned.
void WriteWeekdayAndRegionalDate(std::string& out, std::string_view weekday, std::int32_t year,
                                 std::int32_t month, std::int32_t day);
}  // namespace detail

}  // namespace lunavant::codec
