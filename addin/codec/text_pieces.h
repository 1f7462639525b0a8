// SPDX-License-Identifier: MIT
// Small text helpers the codec's two directions share. They write into the caller's text or
// return views into it, so a conversion allocates nothing beyond its result.
#pragma once

#include <array>
#include <cstddef>
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

// The first N pieces of SplitAt, without a vector; `count` is the number of pieces SplitAt would
// give, which may exceed N.
template <std::size_t N>
struct Pieces {
  std::array<std::string_view, N> piece{};
  std::size_t count = 0;
};
// Where `sep` first occurs in `text` from `start`; a loop for one character, which is the usual
// separator and shorter to find by hand than through memchr.
inline std::size_t FindFrom(std::string_view text, std::string_view sep, std::size_t start) {
  if (sep.size() != 1) return text.find(sep, start);
  for (std::size_t at = start; at < text.size(); ++at) {
    if (text[at] == sep[0]) return at;
  }
  return std::string_view::npos;
}

template <std::size_t N>
Pieces<N> FirstPieces(std::string_view text, std::string_view sep) {
  Pieces<N> out;
  for (std::size_t start = 0;;) {
    const std::size_t at = FindFrom(text, sep, start);
    if (out.count < N) out.piece[out.count] = text.substr(start, at - start);
    ++out.count;
    if (at == std::string_view::npos) return out;
    start = at + sep.size();
  }
}

// The decimal number with one "0" in front when it is below 10.
std::string PaddedNumber(std::int32_t n);
// Room for any 32-bit number in decimal, sign included.
inline constexpr std::size_t kNumberSize = 11;
// The plain and the padded number written at `out`, which has room for kNumberSize characters
// (one more when padded); return how many were written. Inline, with the numbers of dates (up
// to four digits) written by hand: every conversion writes three.
std::size_t WriteLongNumber(char* out, std::int32_t n);
// "00" to "99", two characters each: a number below 100 is copied, not divided out digit by digit.
inline constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
inline void WriteTwoDigits(char* out, std::int32_t n) {
  out[0] = kTwoDigits[2 * n];
  out[1] = kTwoDigits[2 * n + 1];
}
inline std::size_t WriteNumber(char* out, std::int32_t n) {
  if (n < 0 || n > 9999) return WriteLongNumber(out, n);
  if (n < 10) {
    out[0] = static_cast<char>('0' + n);
    return 1;
  }
  if (n < 100) {
    WriteTwoDigits(out, n);
    return 2;
  }
  if (n < 1000) {
    out[0] = static_cast<char>('0' + n / 100);
    WriteTwoDigits(out + 1, n % 100);
    return 3;
  }
  WriteTwoDigits(out, n / 100);
  WriteTwoDigits(out + 2, n % 100);
  return 4;
}
inline std::size_t WritePadded(char* out, std::int32_t n) {
  if (n >= 0 && n < 100) {
    WriteTwoDigits(out, n);
    return 2;
  }
  if (n >= 0) return WriteNumber(out, n);
  out[0] = '0';
  return 1 + WriteNumber(out + 1, n);
}
// The same, and the plain decimal number, appended to `out`.
void AppendPadded(std::string& out, std::int32_t n);
void AppendNumber(std::string& out, std::int32_t n);

}  // namespace lunavant::codec::detail
