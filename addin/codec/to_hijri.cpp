// SPDX-License-Identifier: MIT
#include "addin/codec/to_hijri.h"

#include <cstdio>
#include <vector>

#include "addin/codec/converter_binding.h"
#include "addin/codec/host_access.h"
#include "addin/codec/messages.h"
#include "addin/codec/regional_date.h"
#include "addin/codec/text_pieces.h"
#include "addin/host/error.h"
#include "addin/pairing/error_style.h"

namespace lunavant::codec {
namespace {

using detail::PaddedNumber;
using detail::ReplaceAll;
using detail::SplitAt;

bool HoldsCalendarDate(const host::DateTime& when) { return when.year != 0; }

// The calendar date a host value stands for. With a blank, the second piece is the date unless it
// is only a time of day ("15/03/04 08:00"), in which case the first piece is.
host::DateTime DateOfText(const std::string& text) {
  const host::RegionalSettings& regional = Regional();
  if (text.find(' ') == std::string::npos) {
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
  const std::vector<std::string_view> pieces = SplitAt(text, " ");
  host::DateTime when = regional.ReadDate(pieces[1]);
  if (!HoldsCalendarDate(when)) when = regional.ReadDate(pieces[0]);
  // Two times of day and no date: there is nothing to convert.
  if (!HoldsCalendarDate(when)) host::Raise(host::kTypeMismatch, "Type mismatch");
  return when;
}

}  // namespace

std::string ComposeDateText(std::int32_t year, std::int32_t month, std::int32_t day,
                            std::string_view kind) {
  const std::string text = PaddedNumber(day) + "/" + PaddedNumber(month) + "/" + PaddedNumber(year);
  if (kind == kKindHijri) return ReplaceAll(text, "/", HostApplication().DateSeparator());
  if (kind == kKindGregorian) return RegionalDateText(text);
  return {};
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
  pairing::ReportAtOnce([&] {
    const std::string text = ValueText(value);
    if (text.find(' ') == std::string::npos && (text == "NA" || text.empty())) {
      result = text;
      return;
    }
    const host::DateTime when = DateOfText(text);
    const CalendarDate hijri = GregorianToHijri({when.year, when.month, when.day});
    result = ComposeDateText(hijri.year, hijri.month, hijri.day, kKindHijri);
  });
  return result;
}

}  // namespace lunavant::codec
