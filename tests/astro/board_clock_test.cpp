// The board clock as the Geo page reads, sets and takes it typed.
#include <gtest/gtest.h>

#include <memory>

#include "astro/board_clock.h"
#include "astro/fixed_time_zone.h"
#include "tests/astro/zone_rule.h"

namespace vmx {
namespace {

Info Clock(int year, int month, int day, int hour, int minute) {
  Info info;
  info.Year = static_cast<int8_t>(year - 2000);
  info.Month = static_cast<int8_t>(month);
  info.Day = static_cast<int8_t>(day);
  info.Hour = static_cast<int8_t>(hour);
  info.Minute = static_cast<int8_t>(minute);
  info.Second = 42;
  return info;
}

class BoardClock : public ::testing::Test {
 protected:
  void TearDown() override { SetTimeZone(nullptr); }
  static void UseZone(const TimeZoneInfo& zone) {
    SetTimeZone(std::make_shared<FixedTimeZone>(zone));
  }
};

TEST_F(BoardClock, MomentIsTheBoardsMinuteInTheZoneOfTheBoardsDate) {
  // Central Europe: daylight saving from the last Sunday of March, 02:00, to
  // the last Sunday of October, 03:00.
  UseZone({-60, Rule(10, 0, 5, 3), 0, Rule(3, 0, 5, 2), -60});
  const auto winter = BoardClockMoment(Clock(2024, 3, 30, 12, 0));
  const auto summer = BoardClockMoment(Clock(2024, 3, 31, 12, 0));
  ASSERT_TRUE(winter && summer);
  EXPECT_EQ(winter->zone, 1);
  EXPECT_EQ(summer->zone, 2) << "the board's date decides, not the computer's";
  EXPECT_EQ(summer->t, (LocalDateTime{2024, 3, 31, 12, 0, 0, 0})) << "seconds are not used";

  UseZone({-330, {}, 0, {}, 0});
  EXPECT_EQ(BoardClockMoment(Clock(2024, 6, 21, 12, 0))->zone, 5) << "+5:30 counts as +5";
  UseZone({330, {}, 0, {}, 0});
  EXPECT_EQ(BoardClockMoment(Clock(2024, 6, 21, 12, 0))->zone, -5);
}

TEST_F(BoardClock, NoMomentWithoutAValidClock) {
  UseZone({0, {}, 0, {}, 0});
  EXPECT_FALSE(BoardClockMoment(Info{})) << "before the first read: month 0";
  EXPECT_FALSE(BoardClockMoment(Clock(2023, 2, 29, 12, 0)));
  EXPECT_FALSE(BoardClockMoment(Clock(2024, 13, 1, 12, 0)));
  EXPECT_FALSE(BoardClockMoment(Clock(2024, 6, 21, 25, 0))) << "a typed 25:00";
  EXPECT_FALSE(BoardClockMoment(Clock(2024, 6, 21, 12, 60)));
  EXPECT_FALSE(BoardClockMoment(Clock(2024, 6, 21, -1, 0)));
  EXPECT_TRUE(BoardClockMoment(Clock(2024, 2, 29, 23, 59)));
}

TEST_F(BoardClock, NowSetsTheWholeClockAndClearsTheByteAfterTheYear) {
  Info info = Clock(2001, 1, 1, 0, 0);
  info.Reserved12 = {0x5A, 1, 2, 3, 4};
  info.Channel[3] = 1234;
  SetBoardClock(info, {2024, 12, 31, 23, 59, 58, 996});
  EXPECT_EQ(info.Year, 24);
  EXPECT_EQ(info.Month, 12);
  EXPECT_EQ(info.Day, 31);
  EXPECT_EQ(info.Hour, 23);
  EXPECT_EQ(info.Minute, 59);
  EXPECT_EQ(info.Second, 58);
  EXPECT_EQ(info.Centisecond, 99) << "996 ms rounds to 100, which the board does not know";
  EXPECT_EQ(info.Reserved12, (std::array<uint8_t, 5>{0, 1, 2, 3, 4}));
  EXPECT_EQ(info.Channel[3], 1234);
}

TEST_F(BoardClock, CentisecondsRoundTiesToEvenAndStopAt99) {
  EXPECT_EQ(Centisecond(0), 0);
  EXPECT_EQ(Centisecond(5), 0);
  EXPECT_EQ(Centisecond(15), 2);
  EXPECT_EQ(Centisecond(994), 99);
  EXPECT_EQ(Centisecond(995), 99);
  EXPECT_EQ(Centisecond(999), 99);
}

TEST_F(BoardClock, TypedTimes) {
  const auto t = ParseTypedTime("7:5");
  ASSERT_TRUE(t);
  EXPECT_EQ(FormatClockTime(t->hour, t->minute), "07:05");
  EXPECT_EQ(t->sliderPosition, 425);

  const auto late = ParseTypedTime("25:00");
  ASSERT_TRUE(late);
  EXPECT_EQ(late->hour, 25) << "kept as typed";
  EXPECT_EQ(late->sliderPosition, 1439) << "the slider stops at the day's end";
  EXPECT_EQ(ParseTypedTime("-3:10")->sliderPosition, 0);
  EXPECT_EQ(ParseTypedTime("2147483647:2147483647")->sliderPosition, 1439) << "no overflow";
  EXPECT_EQ(ParseTypedTime("-2147483648:-2147483648")->sliderPosition, 0);
  EXPECT_EQ(ParseTypedTime("12:30:15"), std::nullopt) << "split at the first colon";

  for (const char* ignored : {"", "-", "12:", ":5", "a:5", "12", "12:x", "99999999999:0"})
    EXPECT_FALSE(ParseTypedTime(ignored)) << ignored;
  EXPECT_EQ(FormatClockTime(-5, 7), "-05:07");
}

}  // namespace
}  // namespace vmx
