#include "planning/sun_day.h"

#include <algorithm>
#include <cmath>

#include "astro/geo_sky.h"
#include "astro/sunmoon.h"

namespace vmx {

void ComputeSunDay(double jd0, int zoneHours, double lat, double lon, SunDay& day) {
  // The sun's own motion is taken from the ephemeris on every hour and
  // followed in straight lines in between; the Earth's turn, which moves the
  // sun a quarter of a degree a minute, is followed minute by minute.
  constexpr int kHours = kDayMinutes / 60;
  double sinDec[kHours + 1], cosDec[kHours + 1], hourAngle[kHours + 1];
  for (int h = 0; h <= kHours; ++h) {
    const double jd = jd0 + (h - zoneHours) / 24.0;
    const TCoor sun = SunCoordinates(jd + kDeltaTSeconds / 86400, 0, 0);
    sinDec[h] = std::sin(sun.Dec);
    cosDec[h] = std::cos(sun.Dec);
    hourAngle[h] = LocalSiderealTime(SiderealTime(jd), lon) * 15 * DEG - sun.RA;
  }
  const double sinLat = std::sin(lat), cosLat = std::cos(lat);
  for (int h = 0; h < kHours; ++h) {
    // The hour angle grows by about 15 degrees an hour; wrapped into one turn.
    const double step =
        (std::remainder(hourAngle[h + 1] - hourAngle[h] - 15 * DEG, kTwoPi) + 15 * DEG) / 60;
    const double turn = std::cos(step), turnSin = std::sin(step);
    double c = std::cos(hourAngle[h]), s = std::sin(hourAngle[h]);
    for (int m = 0; m < 60; ++m) {
      const double f = m / 60.0;
      const double sd = sinDec[h] + (sinDec[h + 1] - sinDec[h]) * f;
      const double cd = cosDec[h] + (cosDec[h + 1] - cosDec[h]) * f;
      const double sinAlt = std::clamp(sd * sinLat + cd * c * cosLat, -1.0, 1.0);
      const double alt = std::asin(sinAlt) * RAD;
      const int minute = h * 60 + m;
      day.altitude[static_cast<size_t>(minute)] = alt;
      // East of the meridian the sun still climbs: -cos(dec) sin(H) >= 0.
      day.path[static_cast<size_t>(minute)] = -cd * s >= 0 ? alt + 90 : 270 - alt;
      const double next = c * turn - s * turnSin;
      s = s * turn + c * turnSin;
      c = next;
    }
  }
}

}  // namespace vmx
