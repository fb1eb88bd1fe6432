// The year at a place: rise and set against the Geo page's own computation,
// lit minutes against the sun's altitude minute by minute, the clock-keyed
// schedule's sameness over the year, and the warnings.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/geo_sky.h"
#include "astro/sunmoon.h"
#include "astro/zone_database.h"
#include "planning/year_explorer.h"

namespace vmx {
namespace {

struct Place {
  const char* name;
  int lat, lon;  // tenths of a degree
  const char* zone;
};
constexpr Place kBerlin{"Berlin", 525, 134, "Europe/Berlin"};
constexpr Place kSydney{"Sydney", -339, 1512, "Australia/Sydney"};
constexpr Place kTromso{"Tromso", 697, 190, "Europe/Oslo"};
constexpr Place kSingapore{"Singapore", 13, 1039, "Asia/Singapore"};

int16_t AltOf(double degrees) {
  return static_cast<int16_t>(std::lround(std::sin(degrees * DEG) * 10000));
}

ScheduleRow Row(int hour, int minute, double altitude, int levelA, int levelB = 0) {
  ScheduleRow r;
  r.Hour = static_cast<int8_t>(hour);
  r.Minute = static_cast<int8_t>(minute);
  r.Alt = AltOf(altitude);
  r.Color16[0] = static_cast<int16_t>(levelA);
  r.Color16[1] = static_cast<int16_t>(levelB);
  return r;
}

// Channel A dark at -5 degrees and full at +10, rising and setting alike.
YearSchedule DuskToDusk() {
  return {true, {Row(0, 0, -5, 0), Row(0, 0, 10, 4096), Row(0, 0, -5, 0)}};
}

YearReport Explore(const Place& p, int year, std::optional<YearSchedule> schedule = {}) {
  YearRequest r;
  r.latTenths = p.lat;
  r.lonTenths = p.lon;
  r.year = year;
  r.zone = LoadNamedTimeZone(p.zone);
  r.schedule = std::move(schedule);
  const auto report = ExploreYear(r);
  EXPECT_TRUE(report) << p.name;
  return report.value_or(YearReport{});
}

int DayIndex(int year, int month, int day) {
  return static_cast<int>(DaysFromCivil(year, month, day) - DaysFromCivil(year, 1, 1));
}

TEST(YearExplorer, RiseAndSetAsTheGeoPageComputesThem) {
  struct Case {
    Place place;
    int month, day;
    enum { Rises, PolarDay, PolarNight } sky;
  } cases[] = {
      {kBerlin, 6, 21, Case::Rises},    {kBerlin, 12, 21, Case::Rises},
      {kBerlin, 3, 31, Case::Rises},    {kBerlin, 10, 27, Case::Rises},
      {kSydney, 1, 15, Case::Rises},    {kSydney, 7, 1, Case::Rises},
      {kSydney, 10, 6, Case::Rises},    {kTromso, 6, 21, Case::PolarDay},
      {kTromso, 12, 21, Case::PolarNight}, {kTromso, 3, 20, Case::Rises},
  };
  std::map<std::string, YearReport> years;
  for (const Case& c : cases) {
    const std::string what = std::string(c.place.name) + " " + std::to_string(c.month) + "/" +
                             std::to_string(c.day);
    if (!years.count(c.place.name)) years[c.place.name] = Explore(c.place, 2024);
    const YearReport& year = years[c.place.name];
    ASSERT_EQ(year.days.size(), 366u);
    const YearDay& d = year.days[static_cast<size_t>(DayIndex(2024, c.month, c.day))];
    ASSERT_EQ(d.month, c.month);
    ASSERT_EQ(d.day, c.day);

    const auto zone = LoadNamedTimeZone(c.place.zone);
    const LocalDateTime noon{2024, c.month, c.day, 12, 0, 0, 0};
    EXPECT_EQ(d.zoneHours, zone->OffsetMinutes(noon) / 60) << what;
    const auto sky = ComputeGeoSky(c.place.lat, c.place.lon, noon, d.zoneHours);
    ASSERT_TRUE(sky);
    if (c.sky == Case::Rises) {
      ASSERT_TRUE(d.sunrise && d.sunset) << what;
      EXPECT_NEAR(*d.sunrise, sky->sunTimes.Rise, 1 / 60.0) << what;
      EXPECT_NEAR(*d.sunset, sky->sunTimes.Set, 1 / 60.0) << what;
      // The minutes counted above the horizon agree with rise and set.
      EXPECT_NEAR(d.dayMinutes, (*d.sunset - *d.sunrise) * 60, 2) << what;
    } else {
      EXPECT_FALSE(d.sunrise || d.sunset) << what;
      EXPECT_EQ(d.dayMinutes, c.sky == Case::PolarDay ? 1440 : 0) << what;
    }
    // The highest altitude is the one at the sun's culmination.
    const double transit = sky->sunTimes.Transit;
    const int hour = static_cast<int>(transit);
    const LocalDateTime culmination{2024, c.month, c.day, hour,
                                    static_cast<int>((transit - hour) * 60), 0, 0};
    const auto top = ComputeGeoSky(c.place.lat, c.place.lon, culmination, d.zoneHours);
    EXPECT_NEAR(d.sunMaxAlt, top->sun.Alt * RAD, 0.05) << what;
    EXPECT_GE(d.moonPhase, 0);
    EXPECT_LE(d.moonPhase, 100);
  }
  // Full moon on 22 June 2024 (the Geo page shows 99.5 % the day before).
  EXPECT_GT(years["Berlin"].days[static_cast<size_t>(DayIndex(2024, 6, 22))].moonPhase, 99);
}

TEST(YearExplorer, LitMinutesAreTheMinutesTheSunSpendsAboveTheFirstRow) {
  const double threshold = std::asin(AltOf(-5) / 10000.0);
  struct Case {
    Place place;
    int month, day;
  } cases[] = {{kBerlin, 6, 21}, {kBerlin, 12, 21}, {kBerlin, 3, 31}, {kSydney, 7, 1},
               {kTromso, 12, 21}, {kTromso, 1, 15}, {kTromso, 6, 21}, {kTromso, 11, 10}};
  for (const Case& c : cases) {
    const YearReport year = Explore(c.place, 2024, DuskToDusk());
    const YearDay& d = year.days[static_cast<size_t>(DayIndex(2024, c.month, c.day))];
    // The sun minute by minute from the ephemeris itself, as the Geo page places it.
    int above = 0;
    const double jd0 = JulianDay(c.day, c.month, 2024);
    const double lat = c.place.lat * 0.1 * DEG, lon = c.place.lon * 0.1 * DEG;
    for (int m = 0; m < 1440; ++m) {
      const double jd = jd0 + (m / 60.0 - d.zoneHours) / 24;
      const double lmst = LocalSiderealTime(SiderealTime(jd), lon) * 15 * DEG;
      above += SunCoordinates(jd + 65.0 / 86400, lat, lmst).Alt > threshold;
    }
    const std::string what = std::string(c.place.name) + " " + std::to_string(c.month) + "/" +
                             std::to_string(c.day);
    ASSERT_EQ(d.channels.size(), 12u);
    EXPECT_EQ(d.channels[0].litMinutes, above) << what;
    EXPECT_EQ(d.channels[1].litMinutes, 0) << what;
    EXPECT_LE(d.channels[0].maxPercent, 100.0) << what;
  }
}

TEST(YearExplorer, ClockScheduleGivesTheSameFiguresEveryDay) {
  // Channel A ramps 08:00-10:00 up and 18:00-20:00 down; B is lit 4 h at a third.
  const YearSchedule clock{false,
                           {Row(8, 0, 0, 0), Row(10, 0, 0, 4096, 1365), Row(14, 0, 0, 4096, 1365),
                            Row(18, 0, 0, 4096), Row(20, 0, 0, 0)}};
  for (const Place& p : {kBerlin, kTromso}) {
    const YearReport year = Explore(p, 2025, clock);
    ASSERT_EQ(year.days.size(), 365u);
    for (const YearDay& d : year.days) ASSERT_EQ(d.channels, year.days[0].channels) << p.name;
    const ChannelDay& a = year.days[0].channels[0];
    EXPECT_EQ(a.litMinutes, 12 * 60 - 1) << "08:01 to 19:59";
    EXPECT_NEAR(a.lightSum, 1000, 2) << "two 2-hour ramps at half and 8 hours full";
    EXPECT_DOUBLE_EQ(a.maxPercent, 100);
    const ChannelDay& b = year.days[0].channels[1];
    EXPECT_NEAR(b.maxPercent, 1365 * 100.0 / 4096, 1e-9);
    EXPECT_GT(b.litMinutes, 8 * 60) << "its ramps down run to the next row";
  }
}

TEST(YearExplorer, WarningsAKeeperCanActOn) {
  using Kind = YearWarning::Kind;
  // Light from +10 degrees, the first lit row at +30: Tromso's sun stays lower for months.
  const YearSchedule highStart{true, {Row(0, 0, 10, 0), Row(0, 0, 30, 4096), Row(0, 0, 10, 0)}};
  const YearSchedule shortB{false, {Row(9, 0, 0, 4096, 0), Row(12, 0, 0, 4096, 4096),
                                    Row(15, 0, 0, 4096, 0), Row(21, 0, 0, 0, 0)}};
  struct Case {
    const char* what;
    Place place;
    std::optional<YearSchedule> schedule;
    std::vector<Kind> kinds;
  } cases[] = {
      {"Berlin's days swing by about 9 hours", kBerlin, {}, {Kind::DayLengthSwing}},
      {"Singapore's hardly at all", kSingapore, {}, {}},
      {"Tromso's winter sun never reaches +30", kTromso, highStart,
       {Kind::ShortLight, Kind::PolarWinter, Kind::DayLengthSwing}},
      {"channel B lit 6 hours but ramps only: short; unused C no warning", kSingapore, shortB,
       {Kind::ShortLight}},
  };
  for (const Case& c : cases) {
    const YearReport year = Explore(c.place, 2024, c.schedule);
    std::vector<Kind> kinds;
    for (const YearWarning& w : year.warnings) {
      kinds.push_back(w.kind);
      EXPECT_FALSE(WarningText(year, w, ".").empty());
    }
    EXPECT_EQ(kinds, c.kinds) << c.what;
  }
  const YearReport tromso = Explore(kTromso, 2024, highStart);
  const YearWarning& polar = tromso.warnings[1];
  EXPECT_NEAR(polar.value, 30, 0.01) << "the altitude of the first row that gives light";
  EXPECT_GT(polar.days, 60);
  EXPECT_EQ(polar.firstDay, 0) << "the year starts in the polar winter";
  const YearReport singapore = Explore(kSingapore, 2024, shortB);
  EXPECT_EQ(singapore.warnings[0].channel, 1);
  EXPECT_EQ(singapore.warnings[0].days, 366);
  EXPECT_NEAR(singapore.warnings[0].value, 6 - 1 / 60.0, 1e-9) << "09:01 to 14:59";
}

TEST(YearExplorer, RequestsOutsideWhatTheEphemerisServes) {
  YearRequest r;
  r.zone = LoadNamedTimeZone("Europe/Berlin");
  r.year = 2024;
  EXPECT_TRUE(ExploreYear(r));
  for (int year : {1900, 2100, -5}) {
    r.year = year;
    EXPECT_FALSE(ExploreYear(r)) << year;
  }
  r.year = 2024;
  r.latTenths = 901;
  EXPECT_FALSE(ExploreYear(r));
  r.latTenths = 0;
  r.zone = nullptr;
  EXPECT_FALSE(ExploreYear(r));
}

}  // namespace
}  // namespace vmx
