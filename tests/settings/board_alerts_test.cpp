// Alerts once per occurrence: raised when a condition begins, cleared when it
// ends, never repeated while it lasts.
#include <gtest/gtest.h>

#include "settings/board_alerts.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;

std::vector<AlertKind> Raised(const std::vector<AlertEvent>& events) {
  std::vector<AlertKind> kinds;
  for (const AlertEvent& e : events)
    if (e.raised) kinds.push_back(e.kind);
  return kinds;
}

class BoardAlertsTest : public ::testing::Test {
 protected:
  BoardAlertsTest() {
    info.TempWater = kNoTemperature;
    info.TempBoard = 300;
  }
  std::vector<AlertEvent> Read() { return alerts.OnInfo(info, 0, settings, "."); }

  BoardAlerts alerts;
  AlertSettings settings;
  Info info;
};

TEST_F(BoardAlertsTest, OneAlertPerEpisodeOfAnAlarm) {
  EXPECT_TRUE(Read().empty());
  info.ErrorFlags = 0x01;
  EXPECT_EQ(std::vector{AlertKind::Overtemperature}, Raised(Read()));
  EXPECT_TRUE(Read().empty()) << "nothing while it lasts";
  info.ErrorFlags = 0x03;
  EXPECT_EQ(std::vector{AlertKind::Undervoltage}, Raised(Read()));
  info.ErrorFlags = 0;
  const auto cleared = Read();
  EXPECT_EQ(2u, cleared.size());
  EXPECT_TRUE(Raised(cleared).empty());
  info.ErrorFlags = 0x01;
  EXPECT_EQ(std::vector{AlertKind::Overtemperature}, Raised(Read())) << "a new episode";
}

TEST_F(BoardAlertsTest, BoardErrorsNameTheirTextsButRamFullIsNoAlarm) {
  info.ErrorFlags = 0x10;
  EXPECT_TRUE(Read().empty());
  info.ErrorFlags = 0x60;
  const auto events = Read();
  ASSERT_EQ(1u, events.size());
  EXPECT_EQ(AlertKind::BoardError, events[0].kind);
  EXPECT_NE(std::string::npos, events[0].text.find("RTC error, TempBoard error"));
}

TEST_F(BoardAlertsTest, WaterOutsideTheChosenRange) {
  info.TempWater = 200;
  EXPECT_TRUE(Read().empty()) << "the range is off until the user turns it on";
  settings.waterRange = true;
  const auto cold = Read();
  EXPECT_EQ(std::vector{AlertKind::WaterTooCold}, Raised(cold));
  EXPECT_NE(std::string::npos, cold[0].text.find("20.0\u00B0C"));
  EXPECT_NE(std::string::npos, cold[0].text.find("24.0\u00B0C"));
  info.TempWater = 260;
  EXPECT_TRUE(Raised(Read()).empty());
  info.TempWater = 281;
  EXPECT_EQ(std::vector{AlertKind::WaterTooWarm}, Raised(Read()));
  info.TempWater = kNoTemperature;
  EXPECT_TRUE(Raised(Read()).empty()) << "a sensor that went away is no water reading";
}

TEST_F(BoardAlertsTest, TheRangesLimitsThemselvesAreWithinIt) {
  settings.waterRange = true;
  const std::pair<int16_t, std::vector<AlertKind>> cases[] = {
      {239, {AlertKind::WaterTooCold}},
      {240, {}},
      {241, {}},
      {279, {}},
      {280, {}},
      {281, {AlertKind::WaterTooWarm}},
  };
  for (const auto& [water, raised] : cases) {
    BoardAlerts fresh;
    info.TempWater = water;
    EXPECT_EQ(raised, Raised(fresh.OnInfo(info, 0, settings, "."))) << water;
  }
}

TEST_F(BoardAlertsTest, SwitchedOffNothingIsRaised) {
  settings.enabled = false;
  info.ErrorFlags = 0xFF;
  EXPECT_TRUE(Read().empty());
}

TEST_F(BoardAlertsTest, LinkLostForMoreThanHalfAMinute) {
  const auto t0 = BoardAlerts::Clock::time_point{} + 1h;
  EXPECT_TRUE(alerts.OnLinkState(false, t0).empty());
  EXPECT_FALSE(alerts.NextDeadline()) << "a board never connected cannot be lost";
  alerts.OnLinkState(true, t0);
  alerts.OnLinkState(false, t0 + 1s);
  alerts.OnLinkState(false, t0 + 5s);  // repeated reports keep the first moment
  EXPECT_EQ(t0 + 31s, alerts.NextDeadline());
  EXPECT_TRUE(alerts.OnTick(t0 + 30s, "/dev/rfcomm0").empty());
  const auto lost = alerts.OnTick(t0 + 31s, "/dev/rfcomm0");
  ASSERT_EQ(std::vector{AlertKind::LinkLost}, Raised(lost));
  EXPECT_NE(std::string::npos, lost[0].text.find("/dev/rfcomm0"));
  EXPECT_TRUE(alerts.OnTick(t0 + 60s, "/dev/rfcomm0").empty());
  EXPECT_FALSE(alerts.NextDeadline());
  EXPECT_EQ(1u, alerts.OnLinkState(true, t0 + 61s).size()) << "cleared on reconnecting";
  alerts.OnLinkState(false, t0 + 62s);
  EXPECT_EQ(std::vector{AlertKind::LinkLost}, Raised(alerts.OnTick(t0 + 92s, "x")));
}

}  // namespace
}  // namespace vmx
