// Rise and set must be events of the local calendar day the board's clock shows,
// wherever the location lies relative to the computer's zone.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/geo_sky.h"
#include "astro/sunmoon.h"

namespace vmx {
namespace {

struct Place {
  const char* name;
  double lat;
  double lon;
  int zone;
};

// Altitude (degrees) at a local time of the day starting at jd0, from the same
// positions the search uses: the sun, and the geocentric moon.
double AltitudeAt(bool moon, double jd0, double localHours, const Place& p) {
  const double jd = jd0 + (localHours - p.zone) / 24;
  const double tdt = jd + 65.0 / 86400;
  const double lmst = LocalSiderealTime(SiderealTime(jd), p.lon * DEG) * 15 * DEG;
  TCoor body = SunCoordinates(tdt, 0, 0);
  if (moon) body = MoonCoordinates(body, TCoor{}, tdt, 0);
  EquatorialToHorizontal(body, tdt, p.lat * DEG, lmst);
  return body.Alt * RAD;
}

TEST(RiseSet, BerlinEquinoxShowsTheDaysOwnEvents) {
  const auto sky = ComputeGeoSky(525, 134, {2024, 9, 21, 12, 0}, 2);
  ASSERT_TRUE(sky);
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Rise), "06:57") << "not the sunrise two days later";
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Set), "19:01");
  EXPECT_EQ(FormatHourMinute(sky->moonTimes.Rise), "20:07");
  EXPECT_EQ(FormatHourMinute(sky->moonTimes.Set), "11:40");
}

TEST(RiseSet, FarFromTheComputersZoneTheMoonStillRisesAndSets) {
  // A Fiji reef watched from a computer at UTC+1.
  const auto sky = ComputeGeoSky(-180, 1780, {2024, 6, 21, 12, 0}, 1);
  ASSERT_TRUE(sky);
  EXPECT_EQ(FormatHourMinute(sky->moonTimes.Rise), "05:42");
  EXPECT_EQ(FormatHourMinute(sky->moonTimes.Set), "19:35");
}

TEST(RiseSet, DayWithoutMoonrise) {
  const Place berlin{"Berlin", 52.5, 13.4, 1};
  const double lon = berlin.lon * DEG;
  const double lat = berlin.lat * DEG;
  const double feb1 = JulianDay(1, 2, 2024);
  const TRiseSet day = MoonRiseSet(feb1, 65, lon, lat, 1, false);
  EXPECT_EQ(day.Rise, -1);
  ASSERT_GE(day.Set, 0);
  EXPECT_NEAR(AltitudeAt(true, feb1, day.Set, berlin), 0, 1);
  // It rose just before midnight the day before and just after it the day after.
  EXPECT_GT(MoonRiseSet(feb1 - 1, 65, lon, lat, 1, false).Rise, 22);
  EXPECT_LT(MoonRiseSet(feb1 + 1, 65, lon, lat, 1, false).Rise, 2);
}

TEST(RiseSet, NegativeOneIsAnHourWhenTheDayStartsBeforeUtcMidnight) {
  // At UTC+2 the local day begins at 22:00 UTC the day before; an event in that
  // first UT hour must not be mistaken for a missing one.
  const Place p{"Berlin", 52.5, 13.4, 2};
  int events = 0;
  for (int d = 0; d < 60; ++d) {
    const double jd0 = JulianDay(1, 3, 2024) + d;
    const TRiseSet m = MoonRiseSet(jd0, 65, p.lon * DEG, p.lat * DEG, p.zone, false);
    for (double x : {m.Rise, m.Set}) {
      if (x == -1) continue;
      ++events;
      EXPECT_GE(x, 0);
      EXPECT_LT(x, 24);
    }
  }
  EXPECT_GT(events, 100);
}

// Every shown rise and set, through a year, is a crossing of the horizon on
// that very local day: a day early or late would miss it by a quarter degree
// (sun) or several degrees (moon).
TEST(RiseSet, EventsThroughTheYearAreCrossingsOnTheLocalDay) {
  const Place places[] = {{"Berlin summer", 52.5, 13.4, 2},
                          {"Berlin winter", 52.5, 13.4, 1},
                          {"Sydney", -33.9, 151.2, 10},
                          {"New York", 40.7, -74.0, -5},
                          {"Fiji from Europe", -18.0, 178.0, 1},
                          {"Honolulu", 21.3, -157.8, -10},
                          {"Lisbon", 38.7, -9.1, 0}};
  for (const Place& p : places) {
    int moonEvents = 0;
    for (int d = 0; d < 366; ++d) {
      const double jd0 = JulianDay(1, 1, 2024) + d;
      const TRiseSet s = SunRiseSet(jd0, 65, p.lon * DEG, p.lat * DEG, p.zone, false);
      if (std::abs(s.Rise - s.Set) > 0.01) {
        EXPECT_NEAR(AltitudeAt(false, jd0, s.Rise, p), 0, 0.01) << p.name << " day " << d;
        EXPECT_NEAR(AltitudeAt(false, jd0, s.Set, p), 0, 0.01) << p.name << " day " << d;
      }
      const TRiseSet m = MoonRiseSet(jd0, 65, p.lon * DEG, p.lat * DEG, p.zone, false);
      for (double x : {m.Rise, m.Set}) {
        if (x == -1) continue;
        ++moonEvents;
        EXPECT_NEAR(AltitudeAt(true, jd0, x, p), 0, 1.5) << p.name << " day " << d;
      }
    }
    // About 24 days a year lack a moonrise or a moonset.
    EXPECT_GT(moonEvents, 2 * 366 - 30) << p.name;
  }
}

TEST(RiseSet, TwilightsBracketSunriseAndSunset) {
  const auto sky = ComputeGeoSky(400, -37, {2024, 3, 20, 12, 0}, 0);
  ASSERT_TRUE(sky);
  const TRiseSet& t = sky->sunTimes;
  EXPECT_LT(t.AstronomicalDawn, t.NauticalDawn);
  EXPECT_LT(t.NauticalDawn, t.CivilDawn);
  EXPECT_LT(t.CivilDawn, t.Rise);
  EXPECT_LT(t.Set, t.CivilDusk);
  EXPECT_LT(t.CivilDusk, t.NauticalDusk);
  EXPECT_LT(t.NauticalDusk, t.AstronomicalDusk);
}

TEST(RiseSet, RecursiveResultIsUnnormalisedUniversalTime) {
  const double lon = 13.4 * DEG;
  const double lat = 52.5 * DEG;
  const double jd0 = JulianDay(21, 6, 2024);
  const TRiseSet ut = SunRiseSet(jd0, 65, lon, lat, 2, true);
  const TRiseSet local = SunRiseSet(jd0, 65, lon, lat, 2, false);
  EXPECT_NEAR(local.Rise, ut.Rise + 2, 1e-12);
  EXPECT_EQ(ut.CivilDawn, 0) << "the day search leaves the twilights out";
}

TEST(RiseSet, HorizonCrossingsClampNeverRisingBodies) {
  TCoor south;
  south.Dec = -40 * DEG;
  south.RA = 1;
  const TRiseSet r = HorizonCrossings(south, 0, 70 * DEG, 0);
  EXPECT_NEAR(r.Rise, r.Set, 1e-12);
  EXPECT_NEAR(r.Rise, r.Transit, 1e-12);
  TCoor north = south;
  north.Dec = 40 * DEG;
  const TRiseSet c = HorizonCrossings(north, 0, 70 * DEG, 0);
  EXPECT_NEAR(c.Rise, c.LowerTransit, 1e-12);
  EXPECT_NEAR(c.Set, c.LowerTransit, 1e-12);
}

}  // namespace
}  // namespace vmx
