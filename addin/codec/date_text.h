// SPDX-License-Identifier: MIT
// What both directions of the codec share: the kind codes that name a direction, the one routine
// that composes a date text from three numbers, and a host value as text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "addin/host/value.h"

namespace lunavant::codec {

// Date kind codes of ComposeDateText, also the direction codes of ConvertAndSetField
// (field_conversion.h).
inline constexpr std::string_view kKindHijri = "H";
inline constexpr std::string_view kKindGregorian = "G";
// Whether `code` is that kind; a comparison of one letter, made for every conversion.
constexpr bool IsKind(std::string_view code, std::string_view kind) {
  return code.size() == 1 && code[0] == kind[0];
}

// Day, month and year (numbers below 10 get one "0"), joined by "/". Kind "H": the "/" become the
// host's date separator, read now. Kind "G": written with the user's short-date pattern. Any
// other kind gives the empty text.
std::string ComposeDateText(std::int32_t year, std::int32_t month, std::int32_t day,
                            std::string_view kind);

namespace detail {
// ComposeDateText's kind "H" written into `out` in place of what it held, so that a conversion
// builds its result where it returns it.
void WriteHijriDate(std::string& out, std::int32_t year, std::int32_t month, std::int32_t day);
}  // namespace detail

// The value as text: a date-and-time in the platform's default form, a number in decimal.
std::string ValueText(const host::Value& value);

}  // namespace lunavant::codec
