#include "settings/zone_fields.h"

#include <algorithm>

namespace vmx {
namespace {

// The board finds a transition by counting back from this day to its weekday.
int8_t LastPossibleDay(const TimeZoneRule& rule) {
  int day = std::min(7 * rule.occurrence, 31);
  if (rule.month == 4 || rule.month == 6 || rule.month == 9 || rule.month == 11)
    day = std::min(day, 30);
  else if (rule.month == 2)
    day = std::min(day, 28);
  return static_cast<int8_t>(day);
}

}  // namespace

ZoneFields ZoneFieldsFrom(const TimeZoneInfo& zone) {
  ZoneFields f;
  // The computer's bias is UTC minus local time; the board wants local minus UTC.
  f.bias = static_cast<int16_t>(-zone.bias);
  f.standardMonth = static_cast<int8_t>(zone.standardDate.month);
  f.standardDay = LastPossibleDay(zone.standardDate);
  f.standardHour = static_cast<int8_t>(zone.standardDate.hour);
  f.standardDayOfWeek = static_cast<int8_t>(zone.standardDate.dayOfWeek % 7);
  f.daylightMonth = static_cast<int8_t>(zone.daylightDate.month);
  f.daylightDay = LastPossibleDay(zone.daylightDate);
  f.daylightHour = static_cast<int8_t>(zone.daylightDate.hour);
  f.daylightDayOfWeek = static_cast<int8_t>(zone.daylightDate.dayOfWeek % 7);
  return f;
}

}  // namespace vmx
