#include "app/lang/log_stamp.h"

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

TEST(LogStamp, DayMonthYearAndTime) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 8;
  t.tm_min = 1;
  t.tm_sec = 2;
  EXPECT_EQ(LogStamp(t), "[07.12.2026 08:01:02] ");
  t.tm_year = 99;
  t.tm_mon = 0;
  t.tm_mday = 31;
  t.tm_hour = 23;
  t.tm_min = 59;
  t.tm_sec = 59;
  EXPECT_EQ(LogStamp(t), "[31.01.1999 23:59:59] ");
}

TEST(LogStamp, NowHasTheSameShape) {
  EXPECT_TRUE(
      std::regex_match(LogStampNow(), std::regex(R"(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\] )")));
}

}  // namespace
}  // namespace vmx
