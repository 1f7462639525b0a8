// SPDX-License-Identifier: MIT
// The codec's own error numbers and the exact words of its messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lunavant::codec {

inline constexpr std::int32_t kBadDateNumber = 103;
inline constexpr std::int32_t kWrongSeparatorNumber = 104;

// "Unrecongizable date value" followed directly by the value.
std::string UnrecognizableDateMessage(std::string_view value);
// The text does not contain the host's date separator.
std::string WrongSeparatorMessage(std::string_view sep);
// Separator present, but not three numeric pieces within their bounds.
std::string MalformedHijriMessage(std::string_view sep);
// Well formed, but outside 28/3/1404 to 7/4/1472; the range is always written with "/".
std::string OutOfRangeHijriMessage(std::string_view sep);

}  // namespace lunavant::codec
