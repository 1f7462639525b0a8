// SPDX-License-Identifier: MIT
// The codec's two directions through the real workbench and the real converter, under any
// short-date pattern and date separator and for any value: each call shows at most one message,
// never a message together with a result, and exactly one when a value yields nothing; a result
// names the date the value names, and reads back through the host as that date wherever the host
// can read its own writing under that pattern.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "addin/codec/converter_binding.h"
#include "addin/codec/regional_date.h"
#include "addin/codec/text_pieces.h"
#include "addin/codec/to_gregorian.h"
#include "addin/codec/to_hijri.h"
#include "addin/events/ms_proj_events.h"
#include "addin/host/error.h"
#include "addin/host/global.h"
#include "fuzz/fuzz_support.h"
#include "workbench/model/application.h"
#include "workbench/platform/recording_ui.h"

namespace {

using namespace lunavant;
using fuzz::Printable;

struct Workbench {
  Workbench() : app(Services()) { host::SetGlobalApplication(&app); }
  static workbench::FrontEndServices Services() {
    workbench::FrontEndServices services;
    services.library_folders.push_back(LUNAVANT_CONVERTER_DIR);
    return services;
  }
  workbench::Application app;
  events::MSProjEvents add_in;  // fills the catalogues and the message title
};

Workbench& Host() {
  static Workbench* const host = new Workbench;  // lives as long as the fuzzing process
  return *host;
}

struct Ymd {
  std::int32_t y = 0, m = 0, d = 0;
  friend bool operator==(const Ymd&, const Ymd&) = default;
};

std::string Show(const Ymd& date) {
  return std::to_string(date.y) + "-" + std::to_string(date.m) + "-" + std::to_string(date.d);
}

std::optional<Ymd> HostReads(std::string_view text) {
  try {
    const host::DateTime when = Host().app.Regional().ReadDate(text);
    return Ymd{when.year, when.month, when.day};
  } catch (const host::HostError&) {
    return std::nullopt;
  }
}

// Whether the host reads back what it writes itself for `date` under the current pattern.
// Whether the pattern names each of day, month and year at most once. A pattern that names one
// twice ("yyyy-MM-yy") has no single order to read a date back in, whatever writes it.
bool NamesEachFieldOnce(std::string_view pattern) {
  int runs[3] = {0, 0, 0};
  char previous = '\0';
  for (const char c : pattern) {
    const int field = c == 'd' ? 0 : c == 'M' ? 1 : c == 'y' ? 2 : -1;
    if (field >= 0 && c != previous) ++runs[field];
    previous = c;
  }
  return runs[0] <= 1 && runs[1] <= 1 && runs[2] <= 1;
}

bool HostReadsItsOwnWriting(const Ymd& date) {
  if (!NamesEachFieldOnce(Host().app.Regional().ShortDatePattern())) return false;
  const std::string written =
      Host().app.Regional().FormatDate(date.y, date.m, date.d, /*two_digit_year=*/false);
  return HostReads(written) == date;
}

// The Gregorian date a host value names: with a blank, its second piece, or its first when the
// second is only a time of day.
std::optional<Ymd> DateNamedBy(const std::string& value) {
  const std::size_t blank = value.find(' ');
  if (blank == std::string::npos) return HostReads(value);
  const std::size_t end = value.find(' ', blank + 1);
  std::optional<Ymd> date = HostReads(value.substr(blank + 1, end - blank - 1));
  if (date && date->y == 0) date = HostReads(value.substr(0, blank));
  return date;
}

std::optional<std::int32_t> WholeNumber(std::string_view piece) {
  while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
  while (!piece.empty() && piece.back() == ' ') piece.remove_suffix(1);
  if (piece.empty()) return std::nullopt;
  std::int64_t n = 0;  // held below 10^10, past every bound
  for (const char c : piece) {
    if (c < '0' || c > '9') return std::nullopt;
    n = std::min<std::int64_t>(n * 10 + (c - '0'), 10'000'000'000);
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(n, 1'000'000'000));
}

// The three numbers of a Hijri text written with `sep`, day first.
std::optional<Ymd> HijriNumbers(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t at = text.find(sep, start);
    pieces.push_back(text.substr(start, at - start));
    if (at == std::string_view::npos) break;
    start = at + sep.size();
  }
  if (pieces.size() != 3) return std::nullopt;
  const auto d = WholeNumber(pieces[0]), m = WholeNumber(pieces[1]), y = WholeNumber(pieces[2]);
  if (!d || !m || !y) return std::nullopt;
  return Ymd{*y, *m, *d};
}

Ymd ConverterToHijri(const Ymd& g) {
  const codec::CalendarDate h = codec::GregorianToHijri({g.y, g.m, g.d});
  return {h.year, h.month, h.day};
}

struct Call {
  std::string result;
  std::size_t messages;
};

template <typename Convert>
Call Run(Convert convert, const std::string& value, const char* name) {
  workbench::RecordingMessageBoxes& boxes = *Host().app.RecordedMessages();
  boxes.Clear();
  Call call{convert(value), 0};
  call.messages = boxes.Shown().size();
  const std::string what = std::string(name) + "(\"" + Printable(value) + "\") gave \"" +
                           Printable(call.result) + "\" and " + std::to_string(call.messages) +
                           " messages";
  LUNAVANT_FUZZ_CHECK(call.messages <= 1, what);
  LUNAVANT_FUZZ_CHECK(call.result.empty() || call.messages == 0, what);
  LUNAVANT_FUZZ_CHECK(!call.result.empty() || value.empty() || call.messages == 1, what);
  return call;
}

bool IsPassThrough(const std::string& value) {
  return value.empty() || value == "NA" || value == "na" || value == "Na" || value == "nA";
}

// A Gregorian text names the date `hijri` stands for and reads back as it, weekday included.
void CheckGregorianText(const std::string& text, const Ymd& hijri, const std::string& context) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const codec::GregorianDay named = codec::HijriToGregorian({hijri.y, hijri.m, hijri.d});
  const Ymd date{named.date.year, named.date.month, named.date.day};
  const std::string prefix = std::string(kWeekdays[named.weekday]) + " ";
  LUNAVANT_FUZZ_CHECK(text.compare(0, prefix.size(), prefix) == 0,
                      context + ": \"" + Printable(text) + "\" for " + Show(date));
  // Note: without a pattern the codec hands over its own day-first text unchanged, which the
  // platform, reading month first without one, takes for another day; that is the codec's rule.
  if (Host().app.Regional().ShortDatePattern().empty() || !HostReadsItsOwnWriting(date)) return;
  const std::optional<Ymd> read = HostReads(text.substr(prefix.size()));
  LUNAVANT_FUZZ_CHECK(read == date, context + ": \"" + Printable(text) +
                                        "\" does not read back as " + Show(date) + " under \"" +
                                        Printable(Host().app.Regional().ShortDatePattern()) + "\"");
}

// A Gregorian date written as the host shows task dates, or Hijri text, or the bytes as they are.
std::string MakeValue(fuzz::FuzzInput& input, const std::string& sep) {
  const std::uint8_t kind = input.Byte();
  if (kind % 3 == 0) return input.Rest();
  const std::uint32_t pick = static_cast<std::uint32_t>(input.Int32());
  if (kind % 3 == 1) {
    using namespace std::chrono;
    const sys_days day = sys_days{year{1900} / 1 / 1} + days{pick % 73000};
    const year_month_day ymd{day};
    static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const std::string date = Host().app.Regional().FormatDate(
        static_cast<int>(ymd.year()), static_cast<std::int32_t>(unsigned(ymd.month())),
        static_cast<std::int32_t>(unsigned(ymd.day())), (kind & 4) != 0);
    return (kind & 8) ? date + " 08:00"
                      : std::string(kWeekdays[weekday{day}.c_encoding()]) + " " + date;
  }
  const std::string day = std::to_string(pick % 32);
  const std::string month = std::to_string(pick / 32 % 14);
  const std::string year = std::to_string(1400 + pick / 448 % 80);
  return ((kind & 4) ? "0" : "") + day + sep + month + sep + year;
}

// Writing a date given as numbers takes a shorter way than writing its text "d/m/y" and reading
// that back; both must give the same text, or fail alike, for any numbers.
void CheckRegionalDateOf(std::int32_t year, std::int32_t month, std::int32_t day,
                         const std::string& context) {
  std::string composed;
  for (const std::int32_t n : {day, month, year}) {
    char digits[codec::detail::kNumberSize + 1];
    if (!composed.empty()) composed += '/';
    composed.append(digits, codec::detail::WritePadded(digits, n));
  }
  const auto written = [](auto write) -> std::optional<std::string> {
    try {
      return write();
    } catch (const host::HostError&) {
      return std::nullopt;
    }
  };
  const auto fast = written([&] { return codec::RegionalDateOf(year, month, day); });
  const auto general = written([&] { return codec::RegionalDateText(composed); });
  LUNAVANT_FUZZ_CHECK(fast == general, context + ": \"" + composed + "\" written as \"" +
                                           Printable(fast.value_or("(fails)")) + "\", not \"" +
                                           Printable(general.value_or("(fails)")) + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  workbench::PosixRegionalSettings& regional = Host().app.Regional();
  const std::string pattern = input.Text(24);
  const std::string sep = input.Text(4);
  regional.OverrideShortDatePattern(pattern);
  regional.OverrideDateSeparator(sep);
  const std::string value = MakeValue(input, sep);
  const std::string context = "pattern \"" + Printable(pattern) + "\", separator \"" +
                              Printable(sep) + "\", value \"" + Printable(value) + "\"";

  const Call hijri = Run(&codec::ToHijriText, value, "ToHijriText");
  if (!hijri.result.empty() && !IsPassThrough(value)) {
    const std::optional<Ymd> gregorian = DateNamedBy(value);
    LUNAVANT_FUZZ_CHECK(gregorian && gregorian->y != 0, context + ": names no date");
    const Ymd expected = ConverterToHijri(*gregorian);
    std::string text = std::to_string(expected.d + 100).substr(1) + sep +
                       std::to_string(expected.m + 100).substr(1) + sep +
                       std::to_string(expected.y);
    LUNAVANT_FUZZ_CHECK(hijri.result == text, context + ": ToHijriText gave \"" +
                                                  Printable(hijri.result) + "\", expected \"" +
                                                  Printable(text) + "\"");
    // Typed back in, the Hijri text gives the same day again.
    const bool readable_sep = !sep.empty() && sep.find_first_of("0123456789") == std::string::npos;
    if (readable_sep && codec::IsInHijriRange(expected.y, expected.m, expected.d)) {
      const Call back = Run(&codec::ToGregorianText, hijri.result, "ToGregorianText");
      LUNAVANT_FUZZ_CHECK(!back.result.empty(), context + ": the Hijri text does not convert back");
      CheckGregorianText(back.result, expected, context);
    }
  }

  const Call gregorian = Run(&codec::ToGregorianText, value, "ToGregorianText");
  if (!gregorian.result.empty() && !IsPassThrough(value)) {
    const std::optional<Ymd> typed = HijriNumbers(value, sep);
    LUNAVANT_FUZZ_CHECK(typed && codec::IsInHijriRange(typed->y, typed->m, typed->d),
                        context + ": converted text that is no Hijri date in the range");
    CheckGregorianText(gregorian.result, *typed, context);
  }

  // Read last, so that the inputs kept from before still make the values they made. Small numbers
  // mostly, where the dates are, and any number now and then.
  const std::int32_t year = input.Int32(), month = input.Int32(), day = input.Int32();
  const auto near = [](std::int32_t n, std::int32_t span) { return n % 3 == 0 ? n : n % span; };
  CheckRegionalDateOf(near(year, 2200), near(month, 14), near(day, 33), context);
  return 0;
}
