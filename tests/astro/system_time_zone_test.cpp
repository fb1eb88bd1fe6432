// The local zone as the system describes it: TZ rule strings, compiled zone
// files, and zones no fixed rule set can describe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "astro/posix_time_zone.h"
#include "astro/system_time_zone.h"
#include "tests/astro/zone_rule.h"

namespace vmx {
namespace {

TEST(PosixRule, CentralEurope) {
  const auto z = ParsePosixTimeZone("CET-1CEST,M3.5.0,M10.5.0/3");
  ASSERT_TRUE(z);
  EXPECT_EQ(z->bias, -60);
  EXPECT_EQ(z->daylightBias, -60);
  EXPECT_EQ(z->standardBias, 0);
  EXPECT_EQ(z->daylightDate, Rule(3, 0, 5, 2)) << "02:00 when no time is given";
  EXPECT_EQ(z->standardDate, Rule(10, 0, 5, 3));
}

TEST(PosixRule, OtherShapes) {
  const auto us = ParsePosixTimeZone("EST5EDT,M3.2.0,M11.1.0");
  ASSERT_TRUE(us);
  EXPECT_EQ(us->bias, 300);
  EXPECT_EQ(us->daylightBias, -60);
  EXPECT_EQ(us->daylightDate, Rule(3, 0, 2, 2));

  const auto india = ParsePosixTimeZone("<+0530>-5:30");
  ASSERT_TRUE(india);
  EXPECT_EQ(india->bias, -330);
  EXPECT_EQ(india->daylightDate.month, 0);

  const auto lordHowe = ParsePosixTimeZone("<+1030>-10:30<+11>-11,M10.1.0,M4.1.0");
  ASSERT_TRUE(lordHowe);
  EXPECT_EQ(lordHowe->daylightBias, -30);

  // Daylight time in winter: the "daylight" offset is the smaller one.
  const auto dublin = ParsePosixTimeZone("IST-1GMT0,M10.5.0,M3.5.0/1");
  ASSERT_TRUE(dublin);
  EXPECT_EQ(UtcOffsetMinutes(*dublin, {2024, 1, 15, 12, 0, 0, 0}), 0);
  EXPECT_EQ(UtcOffsetMinutes(*dublin, {2024, 7, 15, 12, 0, 0, 0}), 60);

  const auto transitionTime = ParsePosixTimeZone("XXX3YYY,M1.1.1/23:30:15,M6.1.1");
  ASSERT_TRUE(transitionTime);
  EXPECT_EQ(transitionTime->daylightDate.hour, 23);
  EXPECT_EQ(transitionTime->daylightDate.minute, 30);
  EXPECT_EQ(transitionTime->daylightDate.second, 15);
}

TEST(PosixRule, NotOneFixedRuleSet) {
  for (const char* text : {
           "",
           "CET",                              // no offset
           "EST5EDT",                          // daylight saving without rules
           "EST5EDT,0/0,J365/25",              // Julian-day rules
           "<-02>2<-01>,M3.5.0/-1,M10.5.0/0",  // transition before midnight
           "CET-1CEST,M13.5.0,M10.5.0/3",      // no such month
           "CET-1CEST,M3.6.0,M10.5.0/3",       // no such week
           "CET-1CEST,M3.5.7,M10.5.0/3",       // no such weekday
           "CET-1CEST,M3.5.0,M10.5.0/3x",      // trailing text
           "LMT-0:53:28",                      // seconds in the offset
           "<+05",                             // unclosed name
       })
    EXPECT_FALSE(ParsePosixTimeZone(text)) << text;
}

// A version-2 zone file: empty 32-bit block, 64-bit block with one type and
// its abbreviation, then the footer.
std::string ZoneFile(char version, const std::string& footer) {
  auto header = [&](uint8_t typecnt, uint8_t charcnt) {
    std::string h = "TZif";
    h += version;
    h += std::string(15, '\0');
    const uint8_t counts[6] = {0, 0, 0, 0, typecnt, charcnt};
    for (uint8_t c : counts) h += std::string(3, '\0') + static_cast<char>(c);
    return h;
  };
  std::string bytes = header(0, 0);
  bytes += header(1, 4);
  bytes += std::string("\0\0\x0e\x10\0\0", 6) + std::string("CET", 4);
  return bytes + "\n" + footer + "\n";
}

TEST(ZoneFile, FooterIsTheRuleString) {
  EXPECT_EQ(TzifFooter(ZoneFile('2', "CET-1CEST,M3.5.0,M10.5.0/3")), "CET-1CEST,M3.5.0,M10.5.0/3");
  EXPECT_EQ(TzifFooter(ZoneFile('3', "")), "");
}

TEST(ZoneFile, DamagedOrOldFilesHaveNoFooter) {
  const std::string good = ZoneFile('2', "CET-1");
  EXPECT_FALSE(TzifFooter(ZoneFile('\0', "CET-1"))) << "version 1 has no footer";
  EXPECT_FALSE(TzifFooter(good.substr(0, good.size() - 1))) << "unterminated";
  EXPECT_FALSE(TzifFooter(good.substr(0, 60)));
  EXPECT_FALSE(TzifFooter("TZif2"));
  EXPECT_FALSE(TzifFooter(""));
  std::string huge = good;
  huge[32] = '\xff';  // timecnt of the first block far beyond the file
  EXPECT_FALSE(TzifFooter(huge));
  std::string notZone = good;
  notZone[0] = 'X';
  EXPECT_FALSE(TzifFooter(notZone));
}

// Points TZ somewhere for one test and restores it afterwards.
class SystemZone : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
  }
  void TearDown() override {
    if (saved_)
      setenv("TZ", saved_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  static void UseTz(const char* value) {
    setenv("TZ", value, 1);
    tzset();
  }
  static bool HaveZoneFile(const char* name) {
    return std::filesystem::exists(std::string("/usr/share/zoneinfo/") + name);
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(SystemZone, RuleStringInTz) {
  UseTz("CET-1CEST,M3.5.0,M10.5.0/3");
  const auto zone = LoadSystemTimeZone();
  ASSERT_TRUE(zone->Rules());
  EXPECT_EQ(zone->Rules()->daylightDate, Rule(3, 0, 5, 2));
  EXPECT_EQ(zone->OffsetMinutes({2024, 7, 1, 12, 0, 0, 0}), 120);
  EXPECT_EQ(zone->OffsetMinutes({2024, 1, 1, 12, 0, 0, 0}), 60);
}

TEST_F(SystemZone, ZoneNoRuleSetDescribesFallsBackToTheLibrary) {
  // Greenland switches at 01:00 UTC, which is 22:00 the evening before.
  UseTz("<-02>2<-01>,M3.5.0/-1,M10.5.0/0");
  const auto zone = LoadSystemTimeZone();
  EXPECT_FALSE(zone->Rules());
  EXPECT_EQ(zone->OffsetMinutes({2024, 7, 1, 12, 0, 0, 0}), -60);
  EXPECT_EQ(zone->OffsetMinutes({2024, 1, 1, 12, 0, 0, 0}), -120);
}

TEST_F(SystemZone, ZoneFilesNamedInTz) {
  if (!HaveZoneFile("Europe/Berlin") || !HaveZoneFile("Australia/Sydney"))
    GTEST_SKIP() << "no zone data installed";
  UseTz(":Europe/Berlin");
  auto zone = LoadSystemTimeZone();
  ASSERT_TRUE(zone->Rules());
  EXPECT_EQ(zone->Rules()->bias, -60);
  EXPECT_EQ(zone->Rules()->standardDate, Rule(10, 0, 5, 3));

  UseTz("Australia/Sydney");
  zone = LoadSystemTimeZone();
  ASSERT_TRUE(zone->Rules());
  EXPECT_EQ(zone->OffsetMinutes({2024, 7, 1, 12, 0, 0, 0}), 600);
  EXPECT_EQ(zone->OffsetMinutes({2024, 1, 1, 12, 0, 0, 0}), 660);

  UseTz("Asia/Kolkata");
  zone = LoadSystemTimeZone();
  EXPECT_EQ(zone->OffsetMinutes({2024, 7, 1, 12, 0, 0, 0}), 330);
}

TEST_F(SystemZone, EmptyTzIsUtc) {
  UseTz("");
  const auto zone = LoadSystemTimeZone();
  ASSERT_TRUE(zone->Rules());
  EXPECT_EQ(zone->OffsetMinutes({2024, 7, 1, 12, 0, 0, 0}), 0);
}

}  // namespace
}  // namespace vmx
