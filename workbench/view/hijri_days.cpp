// SPDX-License-Identifier: MIT
#include "workbench/view/hijri_days.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "addin/host/error.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "Muharram", "Safar",   "Rabi' I", "Rabi' II", "Jumada I",      "Jumada II",
    "Rajab",    "Sha'ban", "Ramadan", "Shawwal",  "Dhu al-Qi'dah", "Dhu al-Hijjah"};
constexpr std::array<std::string_view, 12> kMonthShortNames = {
    "Muh", "Saf", "Rb1", "Rb2", "Jm1", "Jm2", "Raj", "Sha", "Ram", "Shw", "DhQ", "DhH"};

}  // namespace

std::string HijriMonthName(std::int32_t month) {
  if (month < 1 || month > 12) return {};
  return std::string(kMonthNames[static_cast<std::size_t>(month - 1)]);
}

std::string HijriMonthShortName(std::int32_t month) {
  if (month < 1 || month > 12) return {};
  return std::string(kMonthShortNames[static_cast<std::size_t>(month - 1)]);
}

std::optional<HijriDate> HijriDateOf(OrbeluneG2HA g2ha, std::int64_t days) {
  const host::DateTime civil = CivilFromDays(days);
  HijriDate out;
  std::int32_t weekday = 0;
  if (g2ha(civil.year, civil.month, civil.day, &out.year, &out.month, &out.day, &weekday) != 0) {
    return std::nullopt;
  }
  return out;
}

std::set<std::string> ChangedMonths(const std::string& version_text) {
  std::set<std::string> months;
  constexpr std::string_view kChanged = "changed: ";
  std::size_t at = 0;
  while (at < version_text.size()) {
    const std::size_t end = std::min(version_text.find('\n', at), version_text.size());
    const std::string_view line = std::string_view(version_text).substr(at, end - at);
    if (line.substr(0, kChanged.size()) == kChanged) {
      const std::string_view rest = line.substr(kChanged.size());
      months.emplace(rest.substr(0, rest.find(' ')));
    }
    at = end + 1;
  }
  return months;
}

std::optional<CalendarVersion> CalendarVersionOf(host::Library& converter,
                                                 const char* corrections_file) {
  OrbeluneCalendarVersionProc version = nullptr;
  try {
    version =
        reinterpret_cast<OrbeluneCalendarVersionProc>(converter.Symbol("OrbeluneCalendarVersion"));
  } catch (const host::HostError&) {
    return std::nullopt;
  }
  std::string text(1024, '\0');
  std::int32_t length = 0;
  std::int32_t status =
      version(corrections_file, text.data(), static_cast<std::int32_t>(text.size()), &length);
  if (length >= static_cast<std::int32_t>(text.size())) {
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
    status =
        version(corrections_file, text.data(), static_cast<std::int32_t>(text.size()), &length);
  }
  text.resize(static_cast<std::size_t>(
      std::clamp<std::int32_t>(length, 0, static_cast<std::int32_t>(text.size()) - 1)));
  return CalendarVersion{text, status == ORBELUNE_CORRECTIONS_REFUSED};
}

HijriDays::HijriDays(host::LibraryLoader& loader) : loader_(loader) {}
HijriDays::~HijriDays() = default;

bool HijriDays::Available() {
  if (!tried_) {
    tried_ = true;
    try {
      library_ = loader_.Load("orbelune");
      g2ha_ = reinterpret_cast<G2HAFunction>(library_->Symbol("G2HA"));
    } catch (const host::HostError& e) {
      library_.reset();
      g2ha_ = nullptr;
      load_error_ = e.record().description;
    }
  }
  return g2ha_ != nullptr;
}

void HijriDays::Reload() {
  corrected_months_.reset();
  g2ha_ = nullptr;
  library_.reset();
  tried_ = false;
  load_error_.clear();
}

std::optional<HijriDate> HijriDays::FromDays(std::int64_t days) {
  if (!Available()) return std::nullopt;
  return HijriDateOf(g2ha_, days);
}

std::optional<CalendarVersion> HijriDays::Version() {
  if (!Available()) return std::nullopt;
  return CalendarVersionOf(*library_, nullptr);
}

bool HijriDays::MonthCorrected(std::int32_t year, std::int32_t month) {
  if (!corrected_months_) {
    const std::optional<CalendarVersion> version = Version();
    corrected_months_ = version ? ChangedMonths(version->text) : std::set<std::string>();
  }
  if (corrected_months_->empty()) return false;
  char key[16];
  std::snprintf(key, sizeof key, "%04d-%02d", static_cast<int>(year), static_cast<int>(month));
  return corrected_months_->count(key) != 0;
}

}  // namespace lunavant::workbench
