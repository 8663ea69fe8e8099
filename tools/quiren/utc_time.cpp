#include "tools/quiren/utc_time.h"

#include <cstdio>

namespace quiren::tool {

namespace {

struct CivilDate {
  std::uint64_t year;
  unsigned month;
  unsigned day;
};

// The proleptic Gregorian date `days` after 1970-01-01 (Howard Hinnant's
// civil_from_days, for days that are never negative). Counted from
// 0000-03-01, so that the leap day ends each year; eras of 400 years repeat.
CivilDate civil_from_days(std::uint64_t days) {
  const std::uint64_t z = days + 719468;
  const std::uint64_t era = z / 146097;
  const std::uint64_t day_of_era = z - era * 146097;  // 0..146096
  const std::uint64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;  // 0..399
  const std::uint64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::uint64_t month_from_march = (5 * day_of_year + 2) / 153;  // 0..11
  const auto day = static_cast<unsigned>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  const auto month = static_cast<unsigned>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
  return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

std::string utc_minute(std::uint64_t seconds) {
  const CivilDate date = civil_from_days(seconds / 86400);
  const std::uint64_t of_day = seconds % 86400;
  char text[64];
  std::snprintf(text, sizeof text, "%04llu-%02u-%02u %02u:%02u", static_cast<unsigned long long>(date.year),
                date.month, date.day, static_cast<unsigned>(of_day / 3600), static_cast<unsigned>(of_day % 3600 / 60));
  return text;
}

}  // namespace quiren::tool
