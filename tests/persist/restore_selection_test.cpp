// What a restore chooses and what it would send: only chosen keys the source
// holds and whose values differ, never lines the board does not have.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "persist/selective_restore.h"

namespace {

using ::testing::UnorderedElementsAreArray;

// Section.Key of every assignment a plan makes.
std::vector<std::string> Sent(const vmx::RestorePlan& plan) {
  std::vector<std::string> keys;
  for (const auto& a : plan.assignments)
    keys.push_back((a.row ? std::to_string(*a.row) : std::string("-")) + "." + a.key->Name());
  return keys;
}

TEST(RestoreSelection, ChoosesSectionsLinesAndKeys) {
  vmx::SettingsRecords board;
  board.config.FanLow = 77;
  board.schedule.resize(5);
  const vmx::IniDocument source = vmx::IniDocument::Parse(
      "[Config]\nFanLow=80\nFanHigh=0\nFanOff=9\n[Names]\nColorName2=5\n[RC5]\nUp=junk\n"
      "[TimeZone]\nBias=60\n[1]\nHour=6\n[3]\nHour=7\nMinute=0\n[4]\nTimer=5\n[7]\nHour=1\n");
  const struct {
    const char* only;
    std::vector<std::string> sent;
    std::vector<std::string> beyond;
  } cases[] = {
      {"config", {"-.FanLow", "-.FanOff"}, {}},  // FanHigh already 0
      {"names,timezone", {"-.ColorName2", "-.Bias"}, {}},
      {"rc5", {}, {}},  // an unreadable value is left alone
      {"schedule", {"1.Hour", "3.Hour", "4.Timer"}, {"[7]"}},
      {"lines=3-4", {"3.Hour", "4.Timer"}, {}},
      {"LINES=1,Config.FanOff,3.minute", {"1.Hour", "-.FanOff"}, {}},
      {"lines=6-9", {}, {"[7]"}},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto selection = vmx::ParseRestoreSelection(c.only, error);
    ASSERT_TRUE(selection) << c.only << ": " << error;
    const vmx::RestorePlan plan = vmx::PlanRestore(source, *selection, board);
    EXPECT_THAT(Sent(plan), UnorderedElementsAreArray(c.sent)) << c.only;
    EXPECT_EQ(plan.beyondRows, c.beyond) << c.only;
  }
  // Nothing chosen: everything the source holds.
  EXPECT_EQ(vmx::PlanRestore(source, {}, board).assignments.size(), 7u);
}

TEST(RestoreSelection, RefusesWhatItDoesNotKnow) {
  for (const char* only : {"", ",", "clouds", "lines=4-2", "lines=x", "Config.Hour", "3.FanLow",
                           "Weather", "Config."}) {
    std::string error;
    const bool weather = std::string(only) == "Weather";
    EXPECT_EQ(vmx::ParseRestoreSelection(only, error).has_value(), weather) << only;
    if (!weather) {
      EXPECT_FALSE(error.empty()) << only;
    }
  }
}

}  // namespace
