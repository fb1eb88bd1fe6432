// The simulated board placed at Berlin, its clock in UTC+1 with summer time
// from the last Sunday of March to the last Sunday of October.
#pragma once

#include "sim/board_state.h"

namespace vmx {

inline void PlaceAtBerlin(sim::BoardState& s) {
  s.config.Lat = 525;
  s.config.Lon = 134;
  s.expert.Bias = 60;
  s.expert.DaylightMonth = 3;
  s.expert.DaylightDay = 31;
  s.expert.DaylightHour = 2;
  s.expert.StandardMonth = 10;
  s.expert.StandardDay = 31;
  s.expert.StandardHour = 3;
}

}  // namespace vmx
