#include "lang/log_stamp.h"

#include <gtest/gtest.h>

#include <regex>

namespace vmx {
namespace {

constexpr const char* kStamp = "[07.12.2026 08:01:02] ";

TEST(StampLogEntry, SingleLine) {
  EXPECT_EQ(StampLogEntry(kStamp, "Connected to COM5"), "[07.12.2026 08:01:02] Connected to COM5");
  EXPECT_EQ(StampLogEntry(kStamp, ""), "[07.12.2026 08:01:02] ");
}

TEST(StampLogEntry, EveryLineCarriesTheSameStamp) {
  EXPECT_EQ(StampLogEntry(kStamp, "first\r\nsecond"),
            "[07.12.2026 08:01:02] first\r\n[07.12.2026 08:01:02] second");
  EXPECT_EQ(StampLogEntry(kStamp, "a\r\n\r\nb\r\n"),
            "[07.12.2026 08:01:02] a\r\n"
            "[07.12.2026 08:01:02] \r\n"
            "[07.12.2026 08:01:02] b\r\n"
            "[07.12.2026 08:01:02] ");
}

TEST(StampLogEntry, OnlyCrLfSeparatesLines) {
  EXPECT_EQ(StampLogEntry("[s] ", "a\nb\rc\n\rd"), "[s] a\nb\rc\n\rd");
}

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

TEST(LogStamp, DayMonthYearAndTime) {
  EXPECT_EQ(LogStamp(LocalTime(2026, 12, 7, 8, 1, 2)), "[07.12.2026 08:01:02] ");
  EXPECT_EQ(LogStamp(LocalTime(1999, 1, 31, 23, 59, 59)), "[31.01.1999 23:59:59] ");
}

TEST(LogStamp, NowHasTheSameShape) {
  EXPECT_TRUE(
      std::regex_match(LogStampNow(), std::regex(R"(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\] )")));
}

}  // namespace
}  // namespace vmx
