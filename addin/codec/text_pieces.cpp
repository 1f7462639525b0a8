// SPDX-License-Identifier: MIT
#include "addin/codec/text_pieces.h"

#include <charconv>

namespace lunavant::codec::detail {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::vector<std::string_view> SplitAt(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t at = text.find(sep, start);
    pieces.push_back(text.substr(start, at - start));
    if (at == std::string_view::npos) return pieces;
    start = at + sep.size();
  }
}

std::size_t WriteLongNumber(char* out, std::int32_t n) {
  return static_cast<std::size_t>(std::to_chars(out, out + kNumberSize, n).ptr - out);
}

void AppendNumber(std::string& out, std::int32_t n) {
  char digits[kNumberSize];
  out.append(digits, WriteNumber(digits, n));
}

void AppendPadded(std::string& out, std::int32_t n) {
  char digits[kNumberSize + 1];
  out.append(digits, WritePadded(digits, n));
}

std::string PaddedNumber(std::int32_t n) {
  std::string text;
  AppendPadded(text, n);
  return text;
}

}  // namespace lunavant::codec::detail
