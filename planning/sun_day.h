// The sun over one local day, minute by minute: its altitude and where it
// stands on the path the Geo schedule follows (rising 0..180 degrees,
// setting 180..360), as the Geo page's ephemeris places it.
#pragma once

#include <array>

namespace vmx {

inline constexpr int kDayMinutes = 1440;

struct SunDay {
  std::array<double, kDayMinutes> altitude{};  // degrees, centre of the disc, no refraction
  std::array<double, kDayMinutes> path{};      // altitude + 90 rising, 270 - altitude setting
};

// Minute m is local time m/60 h on the day whose 0 h UT is `jd0`, in a zone
// `zoneHours` east of UTC; latitude and longitude in radians (east positive).
void ComputeSunDay(double jd0, int zoneHours, double lat, double lon, SunDay& day);

}  // namespace vmx
