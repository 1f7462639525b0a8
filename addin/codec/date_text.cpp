// SPDX-License-Identifier: MIT
#include "addin/codec/date_text.h"

#include <cstdio>

#include "addin/base/host_access.h"
#include "addin/codec/regional_date.h"
#include "addin/codec/text_pieces.h"

namespace lunavant::codec {

namespace detail {

void WriteHijriDate(std::string& out, std::int32_t year, std::int32_t month, std::int32_t day) {
  // The numbers hold no "/", so joining them with the separator at once is the same as writing
  // "/" and replacing it afterwards.
  const std::string sep = base::App().DateSeparator();
  // Written on the stack and copied once into `out`, whose room a short text already has; a
  // separator too long for the stack is joined on the heap.
  constexpr std::size_t kStackSeparator = 8;
  if (sep.size() > kStackSeparator) {
    out.clear();
    AppendPadded(out, day);
    out += sep;
    AppendPadded(out, month);
    out += sep;
    AppendNumber(out, year);
    return;
  }
  char text[3 * (kNumberSize + 1) + 2 * kStackSeparator];
  char* end = text;
  const auto put = [&end](std::string_view piece) {
    if (piece.size() == 1) {  // the usual separator
      *end++ = piece[0];
      return;
    }
    for (const char c : piece) *end++ = c;
  };
  end += WritePadded(end, day);
  put(sep);
  end += WritePadded(end, month);
  put(sep);
  end += WriteNumber(end, year);
  out.assign(text, static_cast<std::size_t>(end - text));
}

}  // namespace detail

std::string ComposeDateText(std::int32_t year, std::int32_t month, std::int32_t day,
                            std::string_view kind) {
  if (!IsKind(kind, kKindHijri) && !IsKind(kind, kKindGregorian)) return {};
  if (IsKind(kind, kKindGregorian)) return RegionalDateOf(year, month, day);
  std::string text;
  detail::WriteHijriDate(text, year, month, day);
  return text;
}

std::string ValueText(const host::Value& value) {
  if (value.IsText()) return value.Text();
  if (value.IsDateTime()) return base::Regional().DefaultDateTimeText(value.When());
  if (value.IsNumber()) {
    // The shortest form that reads back as the same number: 2004, 3.5, 1e+20.
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value.Number());
    return text;
  }
  return {};
}

}  // namespace lunavant::codec
