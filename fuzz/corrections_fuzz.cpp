// SPDX-License-Identifier: MIT
// Hijri corrections files of any text: each is either refused with a reason (a line N of the
// text, or the whole file) and the built-in table kept, or accepted with every month of the table
// 29 or 30 days long (the table's own 28-day month aside) and its two ends where they were; every
// day of the table then still has one Hijri date, the days of a month in a row.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "converter/src/corrections.h"
#include "fuzz/fuzz_support.h"

namespace {

namespace detail = lunavant::converter::detail;

std::int64_t LineCount(std::string_view text) {
  std::int64_t lines = 1;
  for (const char c : text) lines += c == '\n';
  return lines;
}

#define CHECK(property, details)                                                             \
  do {                                                                                       \
    if (!(property)) lunavant::fuzz::PropertyBroken(#property, __FILE__, __LINE__, details); \
  } while (false)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lunavant::fuzz::FuzzInput input(data, size);
  const std::string text = input.Rest();
  const std::string shown = lunavant::fuzz::Printable(text);
  const detail::CorrectedTable result = detail::ApplyCorrections(text);
  if (!result.accepted) {
    CHECK(!result.reason.empty(), shown);
    if (result.reason.starts_with("line ")) {
      const std::int64_t line = std::atoll(result.reason.c_str() + 5);
      CHECK(line >= 1 && line <= LineCount(text), result.reason + " for " + shown);
    }
    CHECK(result.table.start == detail::kBuiltInTable.start, shown);
    return 0;
  }
  const auto& start = result.table.start;
  CHECK(start.front() == detail::kMonthStart.front(), shown);
  CHECK(start.back() == detail::kMonthStart.back(), shown);
  for (std::size_t i = 0; i + 1 < start.size(); ++i) {
    const std::int32_t length = start[i + 1] - start[i];
    const std::int32_t built_in = detail::kMonthStart[i + 1] - detail::kMonthStart[i];
    CHECK(
        length == 29 || length == 30 || (length == built_in && start[i] == detail::kMonthStart[i]),
        shown);
  }
  if (start == detail::kMonthStart) return 0;
  for (std::int32_t z = detail::kTableFirstDay; z + 1 < detail::kTableFirstDay + detail::kTableSpan;
       ++z) {
    const detail::HijriDate today = detail::HijriFromDays(result.table, z);
    const detail::HijriDate next = detail::HijriFromDays(result.table, z + 1);
    CHECK(next.day == today.day + 1 || (next.day == 1 && (next.month == today.month % 12 + 1)),
          shown);
  }
  return 0;
}
