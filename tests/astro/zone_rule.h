// A transition rule written the way zone tables read: month, weekday,
// occurrence, hour.
#pragma once

#include "astro/time_zone.h"

namespace vmx {

inline TimeZoneRule Rule(int month, int dayOfWeek, int occurrence, int hour) {
  TimeZoneRule r;
  r.month = month;
  r.dayOfWeek = dayOfWeek;
  r.occurrence = occurrence;
  r.hour = hour;
  return r;
}

}  // namespace vmx
