// Schedule rows as tests write them.
#pragma once

#include "link/records.h"

namespace vmx::testing {

// Every channel at `value`; `alt` is the sun's altitude in Geo mode.
inline ScheduleRow Row(int hour, int minute, int value = 0, int alt = 0) {
  ScheduleRow r;
  r.Hour = static_cast<int8_t>(hour);
  r.Minute = static_cast<int8_t>(minute);
  r.Alt = static_cast<int16_t>(alt);
  r.Color16.fill(static_cast<int16_t>(value));
  return r;
}

}  // namespace vmx::testing
