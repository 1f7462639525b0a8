// SPDX-License-Identifier: MIT
// What every fuzz target shares: a reader that turns the fuzzer's bytes into typed values, and a
// property check that stops the run with the broken property and the values that broke it, so
// libFuzzer keeps the input as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace lunavant::fuzz {

// Reads values front to back; once the bytes run out every read gives zero or the empty text, so
// every input, the empty one included, is a valid test case.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  std::int32_t Int32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    std::int32_t out;
    std::memcpy(&out, &value, sizeof out);
    return out;
  }

  // A text of at most `most` bytes: its length comes first, as one byte.
  std::string Text(std::size_t most) {
    const std::size_t length = Byte() % (most + 1);
    return Bytes(length);
  }

  // Everything not read yet.
  std::string Rest() { return Bytes(size_ - pos_); }

 private:
  std::string Bytes(std::size_t length) {
    const std::size_t available = size_ - pos_;
    if (length > available) length = available;
    std::string out(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length;
    return out;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A text with every byte outside printable ASCII written as \xNN, for a failure report.
inline std::string Printable(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      out += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  return out;
}

[[noreturn]] inline void PropertyBroken(const char* property, const char* file, int line,
                                        const std::string& details) {
  std::fprintf(stderr, "\n%s:%d: property broken: %s\n  %s\n", file, line, property,
               details.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace lunavant::fuzz

// `details` is evaluated only when the property does not hold.
#define LUNAVANT_FUZZ_CHECK(property, details)                                                 \
  do {                                                                                         \
    if (!(property)) ::lunavant::fuzz::PropertyBroken(#property, __FILE__, __LINE__, details); \
  } while (false)
