// Calendar, sidereal time, formatting and the position chain against worked
// values of the board's own Geo computation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "astro/geo_sky.h"
#include "astro/sunmoon.h"

namespace vmx {
namespace {

constexpr double kQuarter = 1.5707963267948966;

TEST(Calendar, JulianDayOfDatesAroundTheCenturyEdges) {
  EXPECT_EQ(JulianDay(1, 1, 2000), 2451544.5);
  EXPECT_EQ(JulianDay(21, 6, 2024), 2460482.5);
  // Without a century correction 2100 counts as a leap year.
  EXPECT_EQ(JulianDay(28, 2, 2100), 2488127.5);
  EXPECT_EQ(JulianDay(1, 3, 2100), 2488129.5);
}

TEST(Calendar, SiderealTimeAtMidnightAndNoon) {
  EXPECT_NEAR(SiderealTime(2451544.5), 6.6645196458, 1e-9);
  EXPECT_NEAR(SiderealTime(2451545.0), 18.6973745538, 1e-9);
}

TEST(Calendar, FloorModKeepsTheSignOfTheDivisor) {
  EXPECT_EQ(FloorMod(-1, 24), 23);
  EXPECT_EQ(FloorMod(24, 24), 0);
  EXPECT_EQ(FloorMod(25.5, 24), 1.5);
  EXPECT_TRUE(std::isnan(FloorMod(1e300, 24))) << "no 32-bit floor exists";
  EXPECT_TRUE(std::isnan(FloorMod(std::nan(""), 24)));
}

TEST(Formatting, HourMinute) {
  EXPECT_EQ(FormatHourMinute(-1), "--:--");
  EXPECT_EQ(FormatHourMinute(0), "00:00");
  EXPECT_EQ(FormatHourMinute(6.5), "06:30");
  EXPECT_EQ(FormatHourMinute(5.9917), "06:00");
  EXPECT_EQ(FormatHourMinute(23.9999), "24:00");
  EXPECT_EQ(FormatHourMinute(0.375), "00:22") << "22.5 minutes round to even";
  EXPECT_EQ(FormatHourMinute(0.625), "00:38") << "37.5 minutes round to even";
  EXPECT_EQ(FormatHourMinute(std::nan("")), "--:--");
}

TEST(Formatting, ZodiacSigns) {
  EXPECT_EQ(ZodiacSign(0), "Widder");
  EXPECT_EQ(ZodiacSign(359.9 * DEG), "Fische");
  EXPECT_EQ(ZodiacSign(95 * DEG), "Krebs");
  EXPECT_EQ(ZodiacSign(2 * std::numbers::pi), "Widder") << "a rounding step past the end wraps";
  EXPECT_EQ(ZodiacSign(std::nan("")), "");
}

TEST(Formatting, MoonPhaseNamesAroundTheirBoundaries) {
  const double day = 0.2127729531723531;
  EXPECT_EQ(MoonPhaseName(0), "Neumond");
  EXPECT_EQ(MoonPhaseName(std::numbers::pi), "Vollmond");
  EXPECT_EQ(MoonPhaseName(2 * std::numbers::pi - 1e-9), "Neumond");
  EXPECT_EQ(MoonPhaseName(std::numbers::pi / 4), "Zunehmende Sichel");
  EXPECT_EQ(MoonPhaseName(kQuarter - 0.1), "Erstes Viertel");
  EXPECT_EQ(MoonPhaseName(kQuarter + day - 0.001), "Erstes Viertel");
  EXPECT_EQ(MoonPhaseName(kQuarter + day + 0.001), "Zunehmender Mond");
  EXPECT_EQ(MoonPhaseName(std::numbers::pi + day + 0.001), "Abnehmender Mond");
  EXPECT_EQ(MoonPhaseName(3 * kQuarter), "Letztes Viertel");
  EXPECT_EQ(MoonPhaseName(2 * std::numbers::pi - day - 0.001), "Abnehmende Sichel");
}

TEST(Positions, ObserverOnTheEquatorHasTheEquatorialRadius) {
  const TCoor o = ObserverPosition(0, 0, 0, 0);
  EXPECT_DOUBLE_EQ(o.GeocentricRadius, 6378.137);
  EXPECT_DOUBLE_EQ(o.X, 6378.137);
  EXPECT_NEAR(o.Z, 0, 1e-9);
  const TCoor pole = ObserverPosition(0, 90 * DEG, 0, 0);
  EXPECT_NEAR(pole.GeocentricRadius, 6356.752, 1e-3);
  EXPECT_NEAR(pole.Z, 6356.752, 1e-3);
}

TEST(Positions, GeocentricMoonIsLeftWithoutHorizonValues) {
  const double tdt = 2460482.5;
  const TCoor observer = ObserverPosition(13.4 * DEG, 52.5 * DEG, 0, 6);
  const TCoor moon = MoonCoordinates(SunCoordinates(tdt, 0, 0), observer, tdt, 0);
  EXPECT_EQ(moon.Az, 0);
  EXPECT_EQ(moon.Alt, 0);
  EXPECT_EQ(moon.GeoRA, 0);
  EXPECT_EQ(moon.GeoDec, 0);
  EXPECT_NE(moon.RA, 0);
  EXPECT_GT(moon.Distance, 356000);
  EXPECT_LT(moon.Distance, 407000);
}

TEST(Positions, TopocentricMoonKeepsItsGeocentricValues) {
  const double tdt = 2460482.5;
  const TCoor observer = ObserverPosition(13.4 * DEG, 52.5 * DEG, 0, 6);
  const TCoor sun = SunCoordinates(tdt, 0, 0);
  const TCoor geo = MoonCoordinates(sun, observer, tdt, 0);
  const TCoor topo = MoonCoordinates(sun, observer, tdt, 1.2);
  EXPECT_EQ(topo.GeoRA, geo.RA);
  EXPECT_EQ(topo.GeoDec, geo.Dec);
  EXPECT_EQ(topo.RA, topo.TopoRA);
  // Parallax of about a degree moves the moon towards the observer's horizon.
  EXPECT_LT(topo.Dec, geo.Dec);
  EXPECT_NEAR(topo.Dec, geo.Dec, 1.2 * DEG);
}

// Lat 52.5, Lon 13.4, 21 June 2024 12:00, zone +2.
TEST(GeoChain, BerlinAtMidsummer) {
  const auto sky = ComputeGeoSky(525, 134, {2024, 6, 21, 12, 0}, 2);
  ASSERT_TRUE(sky);
  EXPECT_NEAR(sky->sun.Az * RAD, 149.3, 0.05);
  EXPECT_NEAR(sky->sun.Alt * RAD, 58.2, 0.05);
  EXPECT_EQ(sky->sun.SignName, "Krebs");
  EXPECT_TRUE(sky->sun.EastOfMeridian);
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Rise), "04:51");
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Set), "21:26");
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Transit), "13:08");
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.CivilDawn), "03:46");
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.CivilDusk), "22:31");
  EXPECT_NEAR(sky->moon.Illumination * 100, 99.5, 0.05);
  EXPECT_EQ(sky->moon.PhaseName, "Vollmond");
  EXPECT_EQ(FormatHourMinute(sky->moonTimes.Rise), "21:57");
  EXPECT_EQ(FormatHourMinute(sky->moonTimes.Set), "03:21");
}

TEST(GeoChain, EquatorAtTheEpoch) {
  const auto sky = ComputeGeoSky(0, 0, {2000, 1, 1, 12, 0}, 0);
  ASSERT_TRUE(sky);
  EXPECT_NEAR(sky->sun.RA * RAD, 281.30, 0.005);
  EXPECT_NEAR(sky->sun.Dec * RAD, -23.03, 0.005);
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Rise), "06:03");
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Set), "18:03");
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Transit), "12:03");
}

TEST(GeoChain, PolarDayPutsRiseAndSetOnTheLowerTransit) {
  const auto sky = ComputeGeoSky(800, 150, {2024, 6, 21, 12, 0}, 2);
  ASSERT_TRUE(sky);
  EXPECT_NEAR(sky->sunTimes.Rise, sky->sunTimes.Set, 1e-9);
  EXPECT_NEAR(sky->sunTimes.Rise, sky->sunTimes.LowerTransit, 1e-9);
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Rise), "01:02");
  // The full moon stands far south: it neither rises nor sets.
  EXPECT_EQ(sky->moonTimes.Rise, -1);
  EXPECT_EQ(sky->moonTimes.Set, -1);
}

TEST(GeoChain, PolarNightPutsRiseAndSetOnTheTransit) {
  const auto sky = ComputeGeoSky(800, 150, {2024, 12, 21, 12, 0}, 1);
  ASSERT_TRUE(sky);
  EXPECT_NEAR(sky->sunTimes.Rise, sky->sunTimes.Set, 1e-9);
  EXPECT_NEAR(sky->sunTimes.Rise, sky->sunTimes.Transit, 1e-9);
  EXPECT_EQ(FormatHourMinute(sky->sunTimes.Transit), "11:58");
}

TEST(GeoChain, DateThatDoesNotExistGivesNothing) {
  EXPECT_FALSE(ComputeGeoSky(525, 134, {2023, 2, 29, 12, 0}, 1));
  EXPECT_FALSE(ComputeGeoSky(525, 134, {2024, 13, 1, 12, 0}, 1));
  EXPECT_FALSE(ComputeGeoSky(525, 134, {2024, 4, 0, 12, 0}, 1));
  EXPECT_TRUE(ComputeGeoSky(525, 134, {2024, 2, 29, 12, 0}, 1));
}

}  // namespace
}  // namespace vmx
