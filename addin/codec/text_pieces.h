// SPDX-License-Identifier: MIT
// Small text helpers the codec's two directions share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lunavant::codec::detail {

// Every occurrence of `from`, left to right, replaced by `to`. `from` must not be empty.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);
// The pieces between occurrences of `sep` (two in a row give an empty piece); the whole text
// when it has none. `sep` must not be empty.
std::vector<std::string_view> SplitAt(std::string_view text, std::string_view sep);
// The decimal number with one "0" in front when it is below 10.
std::string PaddedNumber(std::int32_t n);

}  // namespace lunavant::codec::detail
