// The zone Windows reports, turned into the board's zone fields. The test runs
// once per zone in TZ (Wine takes the Windows zone from it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "astro/system_time_zone.h"
#include "settings/zone_fields.h"

namespace vmx {
namespace {

struct Zone {
  const char* tz;
  ZoneFields fields;  // as the board keeps them
};

// bias; standard month, last possible day, hour, weekday; daylight the same.
const Zone kZones[] = {
    {"Europe/Berlin", {60, 10, 31, 3, 0, 3, 31, 2, 0}},
    {"America/New_York", {-300, 11, 7, 2, 0, 3, 14, 2, 0}},
    {"Australia/Sydney", {600, 4, 7, 3, 0, 10, 7, 2, 0}},
    {"Asia/Tokyo", {540, 0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST(WindowsTimeZone, TheSystemsZoneGivesTheBoardsFields) {
  const char* tz = std::getenv("TZ");
  ASSERT_NE(tz, nullptr) << "run with TZ set to one of the zones below";
  const Zone* zone = nullptr;
  for (const Zone& z : kZones)
    if (std::string(z.tz) == tz) zone = &z;
  ASSERT_NE(zone, nullptr) << tz << " has no expectation here";

  const auto system = LoadSystemTimeZone();
  const auto rules = system->Rules();
  ASSERT_TRUE(rules.has_value()) << "one rule set describes " << tz;
  const ZoneFields f = ZoneFieldsFrom(*rules);
  const ZoneFields& want = zone->fields;
  EXPECT_EQ(f.bias, want.bias);
  EXPECT_EQ(f.standardMonth, want.standardMonth);
  EXPECT_EQ(f.standardDay, want.standardDay);
  EXPECT_EQ(f.standardHour, want.standardHour);
  EXPECT_EQ(f.standardDayOfWeek, want.standardDayOfWeek);
  EXPECT_EQ(f.daylightMonth, want.daylightMonth);
  EXPECT_EQ(f.daylightDay, want.daylightDay);
  EXPECT_EQ(f.daylightHour, want.daylightHour);
  EXPECT_EQ(f.daylightDayOfWeek, want.daylightDayOfWeek);
  if (want.daylightMonth != 0) {
    EXPECT_EQ(rules->daylightBias, -60);
  }
}

}  // namespace
}  // namespace vmx
