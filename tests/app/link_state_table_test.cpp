#include "app/link_state_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace vmx {
namespace {

using ::testing::ElementsAre;

LinkFacts Connected(uint8_t mode = 0) {
  LinkFacts f;
  f.connected = true;
  f.mode = mode;
  return f;
}

LinkCondition ConditionOf(std::string_view name) {
  for (const LinkStateRow& row : LinkStateTable())
    for (std::string_view n : row.names)
      if (n == name) return row.condition;
  ADD_FAILURE() << name << " is not in the table";
  return LinkCondition::Connected;
}

TEST(LinkStateTable, NothingIsEnabledWithoutALink) {
  LinkFacts f;
  f.tempWater = 250;
  f.tempSlave = 240;
  for (const LinkStateRow& row : LinkStateTable())
    EXPECT_FALSE(ConditionHolds(row.condition, f)) << row.names.front();
}

TEST(LinkStateTable, ChannelControlsOnlyInManualMode) {
  EXPECT_EQ(ConditionOf("trb#"), LinkCondition::ManualMode);
  EXPECT_EQ(ConditionOf("btnOn#"), LinkCondition::ManualMode);
  EXPECT_EQ(ConditionOf("cmbName#"), LinkCondition::Connected);
  EXPECT_TRUE(ConditionHolds(LinkCondition::ManualMode, Connected(0)));
  for (uint8_t mode : {1, 2, 3, 4})
    EXPECT_FALSE(ConditionHolds(LinkCondition::ManualMode, Connected(mode)));
}

TEST(LinkStateTable, WeatherTriggersOnlyInAutoAndGeo) {
  EXPECT_EQ(ConditionOf("btnCloud"), LinkCondition::AutoOrGeoMode);
  EXPECT_EQ(ConditionOf("btnStorm"), LinkCondition::AutoOrGeoMode);
  EXPECT_FALSE(ConditionHolds(LinkCondition::AutoOrGeoMode, Connected(0)));
  EXPECT_TRUE(ConditionHolds(LinkCondition::AutoOrGeoMode, Connected(1)));
  EXPECT_TRUE(ConditionHolds(LinkCondition::AutoOrGeoMode, Connected(2)));
  EXPECT_FALSE(ConditionHolds(LinkCondition::AutoOrGeoMode, Connected(3)));
}

TEST(LinkStateTable, SensorRowsFollowTheBoardsReadings) {
  LinkFacts f = Connected();
  EXPECT_FALSE(ConditionHolds(LinkCondition::WaterSensor, f)) << "0x7FFF: no sensor";
  EXPECT_FALSE(ConditionHolds(LinkCondition::SlaveSensor, f));
  f.tempWater = -15;
  f.tempSlave = 0;
  EXPECT_TRUE(ConditionHolds(LinkCondition::WaterSensor, f));
  EXPECT_TRUE(ConditionHolds(LinkCondition::SlaveSensor, f));
  EXPECT_TRUE(ConditionHolds(LinkCondition::WaterLimits, f));
  f.fanModeLedSelected = true;
  EXPECT_FALSE(ConditionHolds(LinkCondition::WaterLimits, f));
  EXPECT_EQ(ConditionOf("edtTempWaterLow"), LinkCondition::WaterLimits);
  EXPECT_EQ(ConditionOf("rbtJMPHeater"), LinkCondition::WaterSensor);
  EXPECT_EQ(ConditionOf("rbtCHMTempSlave"), LinkCondition::SlaveSensor);
}

TEST(LinkStateTable, FanOffFollowsTheFanMode) {
  EXPECT_EQ(ConditionOf("trbFanOff"), LinkCondition::FanOffAllowed);
  LinkFacts f = Connected();
  f.fanMode = 1;
  EXPECT_FALSE(ConditionHolds(LinkCondition::FanOffAllowed, f));
  f.fanMode = 2;
  EXPECT_TRUE(ConditionHolds(LinkCondition::FanOffAllowed, f));
}

TEST(LinkStateTable, NamesAreUniqueAndExpandPerChannel) {
  std::set<std::string> seen;
  size_t count = 0;
  for (const LinkStateRow& row : LinkStateTable())
    for (std::string_view pattern : row.names)
      for (const std::string& name : ExpandControlName(pattern)) {
        EXPECT_TRUE(seen.insert(name).second) << name << " appears twice";
        ++count;
      }
  EXPECT_EQ(count, 278u);
  EXPECT_THAT(ExpandControlName("edtWeatherDelay#"),
              ElementsAre("edtWeatherDelay0", "edtWeatherDelay1", "edtWeatherDelay2",
                          "edtWeatherDelay3", "edtWeatherDelay4", "edtWeatherDelay5",
                          "edtWeatherDelay6", "edtWeatherDelay7", "edtWeatherDelay8",
                          "edtWeatherDelay9", "edtWeatherDelay10", "edtWeatherDelay11"));
  EXPECT_THAT(ExpandControlName("mnuRefresh"), ElementsAre("mnuRefresh"));
}

}  // namespace
}  // namespace vmx
