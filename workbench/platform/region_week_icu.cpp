// SPDX-License-Identifier: MIT
// CLDR's week data and region names through ICU (ucal_getDayOfWeekType, uloc_getDisplayCountry).
#include <unicode/ucal.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "workbench/platform/region_week.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {

namespace {

struct CalendarCloser {
  void operator()(UCalendar* calendar) const { ucal_close(calendar); }
};

// Two letters or three digits, as CLDR names regions; anything else is no region.
bool IsRegionCode(std::string_view region) {
  if (region.size() == 2) {
    return std::all_of(region.begin(), region.end(),
                       [](char c) { return std::isupper(static_cast<unsigned char>(c)); });
  }
  return region.size() == 3 && std::all_of(region.begin(), region.end(), [](char c) {
           return std::isdigit(static_cast<unsigned char>(c));
         });
}

}  // namespace

std::string UserRegion() {
  const std::string name = PosixDateFormatSource::UserTimeLocaleName();
  const std::string_view base = std::string_view(name).substr(0, name.find_first_of(".@"));
  const std::size_t underscore = base.rfind('_');
  if (underscore == std::string_view::npos) return {};
  const std::string_view region = base.substr(underscore + 1);
  return IsRegionCode(region) ? std::string(region) : std::string();
}

WorkWeek RegionWorkWeek(std::string_view region) {
  if (!IsRegionCode(region)) return WorkWeek::MondayToFriday();
  const std::string locale = "und_" + std::string(region);
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UCalendar, CalendarCloser> calendar(
      ucal_open(nullptr, 0, locale.c_str(), UCAL_GREGORIAN, &status));
  if (U_FAILURE(status)) return WorkWeek::MondayToFriday();
  std::uint8_t mask = 0;
  for (int weekday = 0; weekday < 7; ++weekday) {
    UErrorCode day_status = U_ZERO_ERROR;
    const UCalendarWeekdayType type = ucal_getDayOfWeekType(
        calendar.get(), static_cast<UCalendarDaysOfWeek>(UCAL_SUNDAY + weekday), &day_status);
    // A day on which the weekend only begins or ends (at a time of day) is counted as worked.
    if (U_SUCCESS(day_status) && type != UCAL_WEEKEND) {
      mask = static_cast<std::uint8_t>(mask | (1u << weekday));
    }
  }
  return mask == 0 ? WorkWeek::MondayToFriday() : WorkWeek(mask);
}

std::string RegionName(std::string_view region) {
  if (!IsRegionCode(region)) return std::string(region);
  const std::string locale = "und_" + std::string(region);
  std::array<UChar, 128> name{};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getDisplayCountry(locale.c_str(), "en", name.data(),
                                                static_cast<int32_t>(name.size()), &status);
  if (U_FAILURE(status) || length <= 0) return std::string(region);
  std::array<char, 512> utf8{};
  int32_t written = 0;
  UErrorCode convert = U_ZERO_ERROR;
  u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &written, name.data(), length,
              &convert);
  if (U_FAILURE(convert) || written <= 0) return std::string(region);
  // ICU answers with the code itself for a region it does not know.
  return std::string(utf8.data(), static_cast<std::size_t>(written));
}

std::vector<std::string> CommonRegions() {
  return {"SA", "AE", "KW", "QA", "BH", "OM", "EG", "JO", "IQ", "YE", "DZ", "MA", "TN", "LY", "SD",
          "SY", "LB", "PS", "IR", "AF", "PK", "IN", "BD", "MY", "ID", "TR", "GB", "DE", "FR", "US"};
}

ProjectCalendar RegionCalendar(std::string_view region) {
  return ProjectCalendar(RegionWorkWeek(region), 8 * 60, 17 * 60);
}

}  // namespace lunavant::workbench
