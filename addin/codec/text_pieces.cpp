// SPDX-License-Identifier: MIT
#include "addin/codec/text_pieces.h"

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

std::string PaddedNumber(std::int32_t n) {
  std::string text = std::to_string(n);
  if (n < 10) text.insert(text.begin(), '0');
  return text;
}

}  // namespace lunavant::codec::detail
