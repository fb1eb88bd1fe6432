#include "astro/geo_sky.h"

namespace vmx {

std::optional<GeoSky> ComputeGeoSky(int latTenths, int lonTenths, const LocalDateTime& t,
                                    int zone) {
  if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return std::nullopt;
  const double lat = latTenths * 0.1 * DEG;
  const double lon = lonTenths * 0.1 * DEG;
  const double jd0 = JulianDay(t.day, t.month, t.year);
  const double jd = jd0 + ((t.hour - zone) + t.minute / 60.0) / 24;
  const double tdt = jd + kDeltaTSeconds / 86400;
  const double gmst = SiderealTime(jd);
  const double lmst = LocalSiderealTime(gmst, lon) * 15 * DEG;

  GeoSky sky;
  sky.zone = zone;
  sky.observer = ObserverPosition(lon, lat, 0, gmst);
  sky.sun = SunCoordinates(tdt, lat, lmst);
  sky.moon = MoonCoordinates(sky.sun, sky.observer, tdt, lmst);
  sky.sunTimes = SunRiseSet(jd0, kDeltaTSeconds, lon, lat, zone, false);
  sky.moonTimes = MoonRiseSet(jd0, kDeltaTSeconds, lon, lat, zone, false);
  return sky;
}

}  // namespace vmx
