// The board's own zone (its Expert fields) and zones named from the system's
// zone database, as the year explorer takes them.
#include <gtest/gtest.h>

#include "astro/board_time_zone.h"
#include "astro/zone_database.h"

namespace vmx {
namespace {

Expert Fields(int bias, int dMonth, int dDay, int dHour, int sMonth, int sDay, int sHour) {
  Expert e;
  e.Bias = static_cast<int16_t>(bias);
  e.DaylightMonth = static_cast<int8_t>(dMonth);
  e.DaylightDay = static_cast<int8_t>(dDay);
  e.DaylightHour = static_cast<int8_t>(dHour);
  e.StandardMonth = static_cast<int8_t>(sMonth);
  e.StandardDay = static_cast<int8_t>(sDay);
  e.StandardHour = static_cast<int8_t>(sHour);
  return e;  // both switches on Sundays
}

TEST(BoardTimeZone, OffsetsFromTheBoardsFields) {
  const Expert berlin = Fields(60, 3, 31, 2, 10, 31, 3);
  const Expert sydney = Fields(600, 10, 7, 2, 4, 7, 3);
  const Expert noDaylight = Fields(330, 0, 0, 0, 0, 0, 0);
  struct Case {
    const char* what;
    Expert fields;
    LocalDateTime t;
    int offset;
  } cases[] = {
      {"winter", berlin, {2024, 1, 15, 12}, 60},
      {"summer", berlin, {2024, 7, 1, 12}, 120},
      {"before the switch on the last Sunday of March", berlin, {2024, 3, 31, 1, 59}, 60},
      {"at the switch", berlin, {2024, 3, 31, 2, 0}, 120},
      {"last Sunday of October, before 03:00", berlin, {2024, 10, 27, 2, 59}, 120},
      {"last Sunday of October, 03:00", berlin, {2024, 10, 27, 3, 0}, 60},
      {"2025: the last Sunday of March is the 30th", berlin, {2025, 3, 30, 2, 0}, 120},
      {"southern summer runs over the new year", sydney, {2024, 1, 10, 12}, 660},
      {"southern winter", sydney, {2024, 7, 1, 12}, 600},
      {"first Sunday of October 2024 is the 6th", sydney, {2024, 10, 6, 2, 0}, 660},
      {"first Sunday of April 2024 is the 7th", sydney, {2024, 4, 7, 2, 59}, 660},
      {"no daylight saving", noDaylight, {2024, 7, 1, 12}, 330},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BoardTimeZone(c.fields).OffsetMinutes(c.t), c.offset) << c.what;
}

TEST(BoardTimeZone, FieldsThatAreNoRuleLeaveTheBias) {
  Expert e = Fields(60, 13, 31, 2, 10, 31, 3);
  EXPECT_EQ(BoardTimeZone(e).OffsetMinutes({2024, 7, 1, 12}), 60) << "month 13";
  e = Fields(60, 3, 0, 2, 10, 31, 3);
  EXPECT_EQ(BoardTimeZone(e).OffsetMinutes({2024, 7, 1, 12}), 60) << "day 0";
  e = Fields(-30000, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(BoardTimeZone(e).OffsetMinutes({2024, 7, 1, 12}), 0) << "a bias beyond a day";
}

TEST(NamedTimeZone, ZonesOfTheDatabaseAndNamesThatAreNone) {
  const auto berlin = LoadNamedTimeZone("Europe/Berlin");
  ASSERT_TRUE(berlin);
  EXPECT_EQ(berlin->OffsetMinutes({2024, 7, 1, 12}), 120);
  EXPECT_EQ(berlin->OffsetMinutes({2024, 1, 1, 12}), 60);
  const auto sydney = LoadNamedTimeZone("Australia/Sydney");
  ASSERT_TRUE(sydney);
  EXPECT_EQ(sydney->OffsetMinutes({2024, 1, 1, 12}), 660);
  for (const char* name : {"", "Mars/Olympus", "/etc/localtime", "../zoneinfo/UTC",
                           "Europe/Berlin;rm", "Europe/../Europe/Berlin"})
    EXPECT_FALSE(LoadNamedTimeZone(name)) << name;
}

}  // namespace
}  // namespace vmx
