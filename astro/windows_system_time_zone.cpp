#include <windows.h>

#include "astro/fixed_time_zone.h"
#include "astro/library_time_zone.h"
#include "astro/system_time_zone.h"

namespace vmx {
namespace {

TimeZoneRule RuleOf(const SYSTEMTIME& date) {
  TimeZoneRule rule;
  rule.month = date.wMonth;
  rule.dayOfWeek = date.wDayOfWeek;
  rule.occurrence = date.wDay;
  rule.hour = date.wHour;
  rule.minute = date.wMinute;
  rule.second = date.wSecond;
  rule.millisecond = date.wMilliseconds;
  return rule;
}

}  // namespace

std::shared_ptr<const TimeZone> LoadSystemTimeZone() {
  DYNAMIC_TIME_ZONE_INFORMATION z{};
  if (::GetDynamicTimeZoneInformation(&z) == TIME_ZONE_ID_INVALID)
    return std::make_shared<const LibraryTimeZone>();
  // The system's structure is the board's: UTC = local time + bias, and each
  // transition as the n-th weekday of a month. Only rules fixed to one year's
  // date (wYear set) do not fit; the C library answers for those.
  if (z.StandardDate.wYear != 0 || z.DaylightDate.wYear != 0)
    return std::make_shared<const LibraryTimeZone>();
  TimeZoneInfo info;
  info.bias = z.Bias;
  info.standardBias = z.StandardBias;
  if (z.DynamicDaylightTimeDisabled == FALSE && z.StandardDate.wMonth != 0 &&
      z.DaylightDate.wMonth != 0) {
    info.standardDate = RuleOf(z.StandardDate);
    info.daylightDate = RuleOf(z.DaylightDate);
    info.daylightBias = z.DaylightBias;
  }
  if (!IsValidTimeZoneInfo(info)) return std::make_shared<const LibraryTimeZone>();
  return std::make_shared<const FixedTimeZone>(info);
}

}  // namespace vmx
