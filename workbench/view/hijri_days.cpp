// SPDX-License-Identifier: MIT
#include "workbench/view/hijri_days.h"

#include <array>
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
  g2ha_ = nullptr;
  library_.reset();
  tried_ = false;
  load_error_.clear();
}

std::optional<HijriDate> HijriDays::FromDays(std::int64_t days) {
  if (!Available()) return std::nullopt;
  return HijriDateOf(g2ha_, days);
}

}  // namespace lunavant::workbench
