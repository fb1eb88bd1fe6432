// The board's time-zone fields taken from the computer's zone rules: the
// offset as "UTC+x" minutes and, per transition, month, the last day its
// weekday can fall on, hour and weekday.
#pragma once

#include <cstdint>

#include "astro/time_zone.h"

namespace vmx {

struct ZoneFields {
  int16_t bias = 0;
  int8_t standardMonth = 0, standardDay = 0, standardHour = 0, standardDayOfWeek = 0;
  int8_t daylightMonth = 0, daylightDay = 0, daylightHour = 0, daylightDayOfWeek = 0;
};

ZoneFields ZoneFieldsFrom(const TimeZoneInfo& zone);

}  // namespace vmx
