// SPDX-License-Identifier: MIT
#include "addin/codec/to_hijri.h"

#include <cstdio>

#include "addin/base/error_style.h"
#include "addin/codec/converter_binding.h"
#include "addin/codec/host_access.h"
#include "addin/codec/messages.h"
#include "addin/codec/regional_date.h"
#include "addin/codec/text_pieces.h"
#include "addin/host/error.h"

namespace lunavant::codec {
namespace {

// A loop rather than find: the texts are a dozen characters, shorter than a call to memchr.
std::size_t FirstBlank(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == ' ') return at;
  }
  return std::string_view::npos;
}

bool HoldsCalendarDate(const host::DateTime& when) { return when.year != 0; }

// The calendar date a host value stands for. With a blank, the second piece is the date unless it
// is only a time of day ("15/03/04 08:00"), in which case the first piece is.
host::DateTime DateOfText(std::string_view text) {
  const host::RegionalSettings& regional = Regional();
  const std::size_t blank = FirstBlank(text);
  if (blank == std::string_view::npos) {
    // A date typed without a weekday reaches us like this; only a real calendar date converts.
    const host::DateTime when = [&] {
      try {
        return regional.ReadDate(text);
      } catch (const host::HostError&) {
        host::Raise(kBadDateNumber, UnrecognizableDateMessage(text));
      }
    }();
    if (!HoldsCalendarDate(when)) host::Raise(kBadDateNumber, UnrecognizableDateMessage(text));
    return when;
  }
  const std::string_view rest = text.substr(blank + 1);
  host::DateTime when = regional.ReadDate(rest.substr(0, FirstBlank(rest)));
  if (!HoldsCalendarDate(when)) when = regional.ReadDate(text.substr(0, blank));
  // Two times of day and no date: there is nothing to convert.
  if (!HoldsCalendarDate(when)) host::Raise(host::kTypeMismatch, "Type mismatch");
  return when;
}

}  // namespace

namespace detail {

void WriteHijriDate(std::string& out, std::int32_t year, std::int32_t month, std::int32_t day) {
  // The numbers hold no "/", so joining them with the separator at once is the same as writing
  // "/" and replacing it afterwards.
  const std::string sep = HostApplication().DateSeparator();
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
  if (value.IsDateTime()) return Regional().DefaultDateTimeText(value.When());
  if (value.IsNumber()) {
    // The shortest form that reads back as the same number: 2004, 3.5, 1e+20.
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value.Number());
    return text;
  }
  return {};
}

std::string ToHijriText(const host::Value& value) {
  std::string result;
  base::ReportAtOnce([&] {
    // Text is read where it stands; only other values are written out first.
    const std::string written = value.IsText() ? std::string() : ValueText(value);
    const std::string& text = value.IsText() ? value.Text() : written;
    if (text == "NA" || text.empty()) {
      result = text;
      return;
    }
    const host::DateTime when = DateOfText(text);
    const CalendarDate hijri = GregorianToHijri({when.year, when.month, when.day});
    // ComposeDateText's Hijri text, written straight into the result.
    detail::WriteHijriDate(result, hijri.year, hijri.month, hijri.day);
  });
  return result;
}

}  // namespace lunavant::codec
