// SPDX-License-Identifier: MIT
#include "addin/codec/to_hijri.h"

#include "addin/base/error_style.h"
#include "addin/base/host_access.h"
#include "addin/codec/converter_binding.h"
#include "addin/codec/date_text.h"
#include "addin/codec/messages.h"
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
  const host::RegionalSettings& regional = base::Regional();
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
  if (!HoldsCalendarDate(when)) host::RaiseRuntime(host::kTypeMismatch);
  return when;
}

}  // namespace

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
