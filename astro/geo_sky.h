// The sky of the Geo page: sun and moon for the board's location and clock.
#pragma once

#include <optional>

#include "astro/sunmoon.h"

namespace vmx {

struct GeoSky {
  int zone = 0;  // whole hours east of UTC the clock was taken in
  TCoor observer;
  TCoor sun;
  TCoor moon;  // topocentric
  TRiseSet sunTimes;
  TRiseSet moonTimes;
};

// ΔT, terrestrial minus universal time, as the board's own computation uses it.
constexpr double kDeltaTSeconds = 65;

// Location in tenths of a degree (north and east positive) as the board stores
// it; t is the board clock, local time in the given whole-hour zone. Nothing for
// a date that does not exist.
std::optional<GeoSky> ComputeGeoSky(int latTenths, int lonTenths, const LocalDateTime& t, int zone);

}  // namespace vmx
