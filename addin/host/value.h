// SPDX-License-Identifier: MIT
// The dynamically typed value the host hands over: empty, text, number or date-and-time.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace lunavant::host {

// A calendar date with a time of day. Holds whatever it is given, a real date or not: the host
// checks dates where it reads them.
struct DateTime {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;

  bool HasTime() const { return hour != 0 || minute != 0 || second != 0; }
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

class Value {
 public:
  Value() = default;
  // Implicit, as the host hands text over; a copy is made once, straight into the value.
  Value(const std::string& text) : data_(text) {}        // NOLINT
  Value(std::string&& text) : data_(std::move(text)) {}  // NOLINT
  Value(const char* text) : data_(std::string(text)) {}  // NOLINT
  Value(double number) : data_(number) {}                // NOLINT
  Value(DateTime when) : data_(when) {}                  // NOLINT

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(data_); }
  bool IsText() const { return std::holds_alternative<std::string>(data_); }
  bool IsNumber() const { return std::holds_alternative<double>(data_); }
  bool IsDateTime() const { return std::holds_alternative<DateTime>(data_); }

  // Valid only for the matching kind.
  const std::string& Text() const { return std::get<std::string>(data_); }
  double Number() const { return std::get<double>(data_); }
  const DateTime& When() const { return std::get<DateTime>(data_); }

  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::monostate, std::string, double, DateTime> data_;
};

}  // namespace lunavant::host
