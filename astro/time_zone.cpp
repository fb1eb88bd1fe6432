#include "astro/time_zone.h"

#include <mutex>

#include "astro/system_time_zone.h"

namespace vmx {

namespace {

bool IsValidRule(const TimeZoneRule& r) {
  return r.month >= 1 && r.month <= 12 && r.occurrence >= 1 && r.occurrence <= 5 &&
         r.dayOfWeek >= 0 && r.dayOfWeek <= 7 && r.hour >= 0 && r.hour <= 23 && r.minute >= 0 &&
         r.minute <= 59 && r.second >= 0 && r.second <= 59 && r.millisecond >= 0 &&
         r.millisecond <= 999;
}

bool IsValidBias(int minutes) {
  return minutes > -24 * 60 && minutes < 24 * 60;
}

// 1 = Monday .. 7 = Sunday.
int IsoWeekday(int year, int month, int day) {
  const long long days = DaysFromCivil(year, month, day);  // 1970-01-01 was a Thursday
  return static_cast<int>(((days + 3) % 7 + 7) % 7) + 1;
}

std::mutex g_zoneLock;
std::shared_ptr<const TimeZone> g_zone;

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

long long DaysFromCivil(int year, int month, int day) {
  // Counts from 1 March so that the leap day ends a year (H. Hinnant's method).
  const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long mp = (month + 9) % 12;
  const long long doy = (153 * mp + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

LocalDateTime CivilFromDays(long long days) {
  // The inverse of DaysFromCivil, by the same method.
  const long long z = days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (month <= 2)), month, day, 0, 0, 0, 0};
}

bool IsValidTimeZoneInfo(const TimeZoneInfo& zone) {
  if (!IsValidBias(zone.bias)) return false;
  if (zone.daylightDate.month == 0) return true;
  return IsValidRule(zone.daylightDate) && IsValidRule(zone.standardDate) &&
         IsValidBias(zone.standardBias) && IsValidBias(zone.daylightBias);
}

LocalDateTime RuleDate(const TimeZoneRule& rule, int year) {
  const int w = IsoWeekday(year, rule.month, 1);
  const int dow = rule.dayOfWeek;
  const int k = dow < w ? 7 : 0;
  const int lastDay = DaysInMonth(year, rule.month);
  int n = rule.occurrence < 1 ? 1 : rule.occurrence > 5 ? 5 : rule.occurrence;
  int day = dow + 7 * n + k - w - 6;
  while (day > lastDay && n > 1) {
    --n;
    day = dow + 7 * n + k - w - 6;
  }
  return {year, rule.month, day, rule.hour, rule.minute, rule.second, rule.millisecond};
}

int UtcOffsetMinutes(const TimeZoneInfo& zone, const LocalDateTime& t) {
  if (zone.daylightDate.month == 0 || !IsValidTimeZoneInfo(zone)) return -zone.bias;
  const LocalDateTime standardStart = RuleDate(zone.standardDate, t.year);
  const LocalDateTime daylightStart = RuleDate(zone.daylightDate, t.year);
  // South of the equator daylight time starts late in the year and runs over the
  // new year, so the daylight period is the part of the year outside
  // [standard start, daylight start).
  bool daylight;
  if (daylightStart < standardStart)
    daylight = daylightStart <= t && t < standardStart;
  else if (standardStart < daylightStart)
    daylight = t >= daylightStart || t < standardStart;
  else
    daylight = false;
  return -zone.bias - (daylight ? zone.daylightBias : zone.standardBias);
}

void SetTimeZone(std::shared_ptr<const TimeZone> zone) {
  std::lock_guard g(g_zoneLock);
  g_zone = std::move(zone);
}

std::shared_ptr<const TimeZone> CurrentTimeZone() {
  std::lock_guard g(g_zoneLock);
  if (!g_zone) g_zone = LoadSystemTimeZone();
  return g_zone;
}

int UtcOffsetMinutes(const LocalDateTime& t) {
  return CurrentTimeZone()->OffsetMinutes(t);
}

int WholeHourZone(const LocalDateTime& t) {
  return UtcOffsetMinutes(t) / 60;
}

}  // namespace vmx
