// Clouds, storms and moonlight as the user types them and as the board keeps them.
#include "settings/weather_counts.h"

#include <gtest/gtest.h>

#include "lang/catalogue.h"

namespace vmx {
namespace {

TEST(WeatherCounts, CloudsADayAndSecondsACloudGoBothWays) {
  EXPECT_EQ(CloudPFromCount(100), 76);     // 75.85
  EXPECT_EQ(CloudDFromSeconds(60), 1092);  // 1092.27
  EXPECT_EQ(CloudCountOf(76), 100);
  EXPECT_EQ(CloudSecondsOf(1092), 60);
  // One second would be 65536, one past the field.
  EXPECT_EQ(CloudDFromSeconds(1), 65535);
  EXPECT_EQ(CloudSecondsOf(65535), 1);
  // The slider's far end.
  EXPECT_EQ(CloudPFromCount(3000), 2276);  // 2275.56
  EXPECT_EQ(CloudDFromSeconds(900), 73);   // 72.82
}

TEST(WeatherCounts, StormsAWeekAndMinutesAStormGoBothWays) {
  EXPECT_EQ(StormPFromCount(7), 12);       // 12.14
  EXPECT_EQ(StormDFromMinutes(30), 583);   // 582.54
  EXPECT_EQ(StormCountOf(12), 6);          // 6.92, truncated
  EXPECT_EQ(StormMinutesOf(583), 29);      // 17476 div 583
  EXPECT_EQ(StormPFromCount(1000), 1734);  // 1733.76
  EXPECT_EQ(StormDFromMinutes(1), 17476);  // 17476.27
  EXPECT_EQ(StormDFromMinutes(200), 87);   // 87.38
}

TEST(WeatherCounts, NoDurationWithoutAPositiveTimeOrField) {
  EXPECT_FALSE(CloudDFromSeconds(0));
  EXPECT_FALSE(StormDFromMinutes(-3));
  EXPECT_FALSE(CloudSecondsOf(0));
  EXPECT_FALSE(StormMinutesOf(0));
}

TEST(WeatherCounts, LargeStoredChancesDoNotWrap) {
  // 65535 x 86400 needs 33 bits; in 32 bits these would show 20862 and 935.
  EXPECT_EQ(CloudCountOf(65535), 86398);
  EXPECT_EQ(StormCountOf(65535), 37799);
  EXPECT_EQ(kCloudCountRange.Clamp(CloudCountOf(65535)), 3000);
  EXPECT_EQ(kStormMinutesRange.Clamp(StormMinutesOf(65535).value()), 1);
}

TEST(WeatherCounts, RatioLabels) {
  Config c;
  c.Mode = 1;
  c.CloudP = 76;
  c.CloudD = 1092;
  c.StormP = 12;
  c.StormD = 583;
  EXPECT_EQ(CloudRatioText(c, 0, "."), "Cloud ratio: 6.5%");
  EXPECT_EQ(StormRatioText(c, 0, ","), "Thunderstorm ratio: 2%");
  EXPECT_EQ(CloudRatioText(c, activity::Cloud, "."),
            "Cloud currently active \u2022 Cloud ratio: 6.5%");
  EXPECT_EQ(StormRatioText(c, activity::Cloud, "."), "Thunderstorm ratio: 2%");
  EXPECT_EQ(StormRatioText(c, activity::Storm, ","),
            "Thunderstorm currently active \u2022 Thunderstorm ratio: 2%");
  c.CloudP = 1;
  c.CloudD = 2;
  EXPECT_EQ(CloudRatioText(c, 0, ","), "Cloud ratio: 33,3%");
  c.Mode = 0;  // Manual: the board runs no weather, whatever the flags say
  EXPECT_EQ(CloudRatioText(c, activity::Cloud, "."), "Cloud ratio: 33.3%");
  c.CloudP = c.CloudD = 0;
  EXPECT_EQ(CloudRatioText(c, activity::Cloud, "."), "");
  c.Mode = 2;
  EXPECT_EQ(CloudRatioText(c, activity::Cloud, "."), "Cloud currently active \u2022 ");
}

TEST(WeatherCounts, MoonLevelsInPercent) {
  EXPECT_EQ(MoonLevelFromPercent("6.23", "."), 255);  // 255.18
  EXPECT_EQ(MoonLevelFromPercent("7", "."), 287);     // the field keeps 31 of it
  EXPECT_EQ(MoonLevelFromPercent("0,2", ","), 8);
  EXPECT_FALSE(MoonLevelFromPercent("0.2", ","));
  EXPECT_FALSE(MoonLevelFromPercent("abc", "."));
  EXPECT_EQ(MoonPercentText(255, "."), "6.23");
  EXPECT_EQ(MoonPercentText(8, ","), "0,2");
  EXPECT_EQ(MoonPercentText(0, "."), "0");
}

TEST(WeatherCounts, MoonLevelsHalfWayGoToTheEvenOne) {
  // Percents that lie exactly half way between two levels.
  EXPECT_EQ(MoonLevelFromPercent("0.01220703125", "."), 0);  // 0.5
  EXPECT_EQ(MoonLevelFromPercent("0.03662109375", "."), 2);  // 1.5
  EXPECT_EQ(MoonLevelFromPercent("0.06103515625", "."), 2);  // 2.5
  EXPECT_EQ(MoonLevelFromPercent("0.08544921875", "."), 4);  // 3.5
}

}  // namespace
}  // namespace vmx
