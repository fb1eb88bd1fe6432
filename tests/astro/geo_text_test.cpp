// The two Geo text lines: their shape in the current language, the "0.#"
// numbers, and what is left out when a body does not cross the horizon.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "lang/catalogue.h"
#include "astro/decimal_text.h"
#include "astro/geo_text.h"

namespace vmx {
namespace {

class GeoText : public ::testing::Test {
 protected:
  void SetUp() override { UseWords(kEnglish); }
  void TearDown() override { SetCurrentTable(nullptr); }
  static void UseWords(const char* table) {
    SetCurrentTable(std::make_shared<const LanguageTable>(LanguageTable::Parse(table)));
  }
  static GeoLines Lines(int lat, int lon, LocalDateTime t, int zone, const char* sep = ".") {
    const auto lines = vmx::GeoText(lat, lon, t, zone, sep);
    EXPECT_TRUE(lines);
    return lines.value_or(GeoLines{});
  }

  static constexpr const char* kEnglish =
      "[Messages]\nSun=Sun\nMoon=Moon\nAzimuth=Azimuth\nAltitude=Alt\nRise=Rise\nSet=Set\n"
      "DayLength=Length of day\nHours=hours\nPhase=Phase\n";
};

TEST_F(GeoText, BerlinAtMidsummer) {
  const GeoLines lines = Lines(525, 134, {2024, 6, 21, 12, 0}, 2);
  EXPECT_EQ(
      lines[0],
      "Sun: Azimuth: 149.3°, Alt: 58.2°, Rise: 04:51, Set: 21:26, Length of day: 16:35 hours");
  EXPECT_EQ(lines[1], "Moon: Azimuth: 343°, Alt: -65.2°, Rise: 21:57, Set: 03:21, Phase: 99.5%");
}

TEST_F(GeoText, BerlinAtTheEquinox) {
  const GeoLines lines = Lines(525, 134, {2024, 9, 21, 12, 0}, 2);
  EXPECT_EQ(
      lines[0],
      "Sun: Azimuth: 161.4°, Alt: 36.5°, Rise: 06:57, Set: 19:01, Length of day: 12:04 hours");
  EXPECT_EQ(lines[1], "Moon: Azimuth: 307.1°, Alt: -3.4°, Rise: 20:07, Set: 11:40, Phase: 84.4%");
}

TEST_F(GeoText, PolarDayLeavesOutRiseSetAndDayLength) {
  const GeoLines lines = Lines(800, 150, {2024, 6, 21, 12, 0}, 2);
  EXPECT_EQ(lines[0].find("Rise"), std::string::npos) << lines[0];
  EXPECT_TRUE(lines[0].ends_with("°")) << lines[0];
  EXPECT_EQ(lines[1].find("Rise"), std::string::npos) << "neither moon event happens";
  EXPECT_NE(lines[1].find(", Phase: "), std::string::npos);
}

TEST_F(GeoText, MissingMoonEventShowsDashes) {
  const GeoLines lines = Lines(525, 134, {2024, 2, 1, 12, 0}, 1);
  EXPECT_NE(lines[1].find(", Rise: --:--, Set: "), std::string::npos) << lines[1];
}

TEST_F(GeoText, DayLengthOverMidnight) {
  // Seen from UTC+1 the Fiji sun rises in the evening and sets next morning.
  const GeoLines lines = Lines(-180, 1780, {2024, 6, 21, 12, 0}, 1);
  EXPECT_NE(lines[0].find("Rise: 19:42, Set: 06:37, Length of day: 10:55 hours"), std::string::npos)
      << lines[0];
}

TEST_F(GeoText, WordsComeFromTheCurrentTableAndSeparatorFromTheCaller) {
  UseWords(
      "[Messages]\nSun=Sonne\nMoon=Mond\nAzimuth=Azimut\nAltitude=Höhe\nRise=Aufgang\n"
      "Set=Untergang\nDayLength=Tageslänge\nHours=Stunden\nPhase=Phase\n");
  const GeoLines lines = Lines(525, 134, {2024, 6, 21, 12, 0}, 2, ",");
  EXPECT_EQ(lines[0],
            "Sonne: Azimut: 149,3°, Höhe: 58,2°, Aufgang: 04:51, Untergang: 21:26, Tageslänge: "
            "16:35 Stunden");
  EXPECT_EQ(lines[1],
            "Mond: Azimut: 343°, Höhe: -65,2°, Aufgang: 21:57, Untergang: 03:21, Phase: 99,5%");
}

// The page makes no range check on a typed location and the board clock may
// hold an hour of 25, so any stored value must still give two lines.
TEST_F(GeoText, AnyStoredLocationAndClockGiveTwoLines) {
  for (int lat : {-32768, -900, 0, 900, 32767})
    for (int lon : {-32768, -1800, 1800, 32767})
      for (LocalDateTime t : {LocalDateTime{2024, 6, 21, 25, 0}, LocalDateTime{1872, 1, 1, 0, 0},
                              LocalDateTime{2127, 12, 31, 23, 59}}) {
        const auto lines = vmx::GeoText(lat, lon, t, -12, ".");
        ASSERT_TRUE(lines);
        EXPECT_TRUE((*lines)[0].starts_with("Sun: Azimuth: ")) << (*lines)[0];
        EXPECT_TRUE((*lines)[1].ends_with("%")) << (*lines)[1];
      }
}

TEST_F(GeoText, DateThatDoesNotExistGivesNoLines) {
  EXPECT_FALSE(vmx::GeoText(525, 134, {2024, 2, 30, 12, 0}, 1, "."));
}

TEST(DecimalText, ZeroPointHash) {
  EXPECT_EQ(FormatUpToOneDecimal(12.34, "."), "12.3");
  EXPECT_EQ(FormatUpToOneDecimal(12.36, "."), "12.4");
  EXPECT_EQ(FormatUpToOneDecimal(95, "."), "95");
  EXPECT_EQ(FormatUpToOneDecimal(95.04, "."), "95");
  EXPECT_EQ(FormatUpToOneDecimal(-12.5, "."), "-12.5");
  EXPECT_EQ(FormatUpToOneDecimal(0.96, ","), "1");
  EXPECT_EQ(FormatUpToOneDecimal(1234.56, ","), "1234,6");
  EXPECT_EQ(FormatUpToOneDecimal(0.5, "\u066B"), "0\u066B5") << "multi-byte separator";
}

TEST(DecimalText, ValuesRoundingToZeroHaveNoSign) {
  EXPECT_EQ(FormatUpToOneDecimal(-0.04, "."), "0");
  EXPECT_EQ(FormatUpToOneDecimal(-0.0, "."), "0");
  EXPECT_EQ(FormatUpToOneDecimal(-0.06, "."), "-0.1");
}

TEST(DecimalText, UndefinedValues) {
  EXPECT_EQ(FormatUpToOneDecimal(std::nan(""), "."), "NAN");
  EXPECT_EQ(FormatUpToOneDecimal(-INFINITY, "."), "-INF");
}

}  // namespace
}  // namespace vmx
