// Offsets from UTC for zones given as rule sets: both hemispheres, the
// transition moments themselves, and zones the whole-hour count truncates.
#include <gtest/gtest.h>

#include <memory>

#include "astro/fixed_time_zone.h"
#include "astro/time_zone.h"
#include "tests/astro/zone_rule.h"

namespace vmx {
namespace {

// Central Europe: last Sunday of March 02:00 to last Sunday of October 03:00.
TimeZoneInfo CentralEurope() {
  TimeZoneInfo z;
  z.bias = -60;
  z.standardDate = Rule(10, 0, 5, 3);
  z.standardBias = 0;
  z.daylightDate = Rule(3, 0, 5, 2);
  z.daylightBias = -60;
  return z;
}

// Sydney: first Sunday of October 02:00 to first Sunday of April 03:00.
TimeZoneInfo Sydney() {
  TimeZoneInfo z;
  z.bias = -600;
  z.standardDate = Rule(4, 0, 1, 3);
  z.daylightDate = Rule(10, 0, 1, 2);
  z.daylightBias = -60;
  return z;
}

LocalDateTime At(int y, int mo, int d, int h = 12, int mi = 0) {
  return {y, mo, d, h, mi, 0, 0};
}

TEST(RuleDate, WeekdayOccurrencesInAMonth) {
  EXPECT_EQ(RuleDate(Rule(3, 0, 5, 2), 2024), At(2024, 3, 31, 2)) << "five Sundays: the fifth";
  EXPECT_EQ(RuleDate(Rule(10, 0, 5, 3), 2024), At(2024, 10, 27, 3)) << "four Sundays: the last";
  EXPECT_EQ(RuleDate(Rule(10, 0, 1, 2), 2024), At(2024, 10, 6, 2));
  EXPECT_EQ(RuleDate(Rule(11, 4, 4, 0), 2024), At(2024, 11, 28, 0)) << "fourth Thursday";
  EXPECT_EQ(RuleDate(Rule(9, 1, 1, 0), 2025), At(2025, 9, 1, 0)) << "the 1st itself";
  EXPECT_EQ(RuleDate(Rule(9, 7, 1, 0), 2024), At(2024, 9, 1, 0)) << "7 is Sunday too";
}

TEST(RuleDate, FifthWeekdayThatDoesNotExistMeansTheLast) {
  EXPECT_EQ(RuleDate(Rule(2, 0, 5, 2), 2023), At(2023, 2, 26, 2));
  EXPECT_EQ(RuleDate(Rule(2, 4, 5, 2), 2024), At(2024, 2, 29, 2)) << "leap day is a Thursday";
  EXPECT_EQ(RuleDate(Rule(2, 4, 5, 2), 2023), At(2023, 2, 23, 2));
  EXPECT_EQ(RuleDate(Rule(4, 3, 5, 1), 2024), At(2024, 4, 24, 1));
}

TEST(UtcOffset, NorthernZoneWithLastSundayRules) {
  const TimeZoneInfo z = CentralEurope();
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 7, 1)), 120);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 1, 1)), 60);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 12, 31, 23, 59)), 60);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 3, 31, 1, 59)), 60);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 3, 31, 2, 0)), 120);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 10, 27, 2, 59)), 120);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 10, 27, 3, 0)), 60);
}

TEST(UtcOffset, SouthernZoneHasDaylightTimeOverTheNewYear) {
  const TimeZoneInfo z = Sydney();
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 7, 1)), 600) << "winter";
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 1, 1)), 660) << "summer";
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 12, 25)), 660);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 4, 7, 2, 59)), 660);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 4, 7, 3, 0)), 600);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 10, 6, 1, 59)), 600);
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 10, 6, 2, 0)), 660);
}

TEST(UtcOffset, ZoneWithoutDaylightSavingKeepsItsBias) {
  TimeZoneInfo z;
  z.bias = -330;
  z.standardBias = 45;  // ignored without a daylight rule
  for (int month = 1; month <= 12; ++month)
    EXPECT_EQ(UtcOffsetMinutes(z, At(2024, month, 15)), 330);
}

TEST(UtcOffset, RulesThatCannotBeEvaluatedFallBackToTheBias) {
  TimeZoneInfo z = CentralEurope();
  z.daylightDate.occurrence = 0;
  EXPECT_FALSE(IsValidTimeZoneInfo(z));
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 7, 1)), 60);
  z = CentralEurope();
  z.standardDate.month = 13;
  EXPECT_EQ(UtcOffsetMinutes(z, At(2024, 7, 1)), 60);
  EXPECT_FALSE(FixedTimeZone(z).Rules());
  EXPECT_EQ(FixedTimeZone(CentralEurope()).Rules(), CentralEurope());
}

class CurrentZone : public ::testing::Test {
 protected:
  void TearDown() override { SetTimeZone(nullptr); }
};

TEST_F(CurrentZone, WholeHoursTruncateTowardsZero) {
  SetTimeZone(std::make_shared<FixedTimeZone>(FixedTimeZone::FromOffsetMinutes(330)));
  EXPECT_EQ(UtcOffsetMinutes(At(2024, 6, 21)), 330);
  EXPECT_EQ(WholeHourZone(At(2024, 6, 21)), 5) << "+5:30 counts as +5";
  SetTimeZone(std::make_shared<FixedTimeZone>(FixedTimeZone::FromOffsetMinutes(-210)));
  EXPECT_EQ(WholeHourZone(At(2024, 6, 21)), -3) << "-3:30 counts as -3";
}

TEST_F(CurrentZone, ZoneFollowsTheAskedDateNotToday) {
  SetTimeZone(std::make_shared<FixedTimeZone>(CentralEurope()));
  EXPECT_EQ(WholeHourZone(At(2024, 3, 31, 1, 0)), 1);
  EXPECT_EQ(WholeHourZone(At(2024, 3, 31, 3, 0)), 2);
}

TEST(Calendar, CivilDayCount) {
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
  EXPECT_EQ(DaysFromCivil(1969, 12, 31), -1);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2024, 0), 0);
}

}  // namespace
}  // namespace vmx
