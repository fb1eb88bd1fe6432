// Light planning from the command line against a simulated board on a pty:
// acclimation steps counted on the wire (one SetSchedule per row and one
// SaveEEPROM), pauses, cancel, missed days and restarts, and the year
// explorer fed by a settings file or the board.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "persist/ini_document.h"
#include "planning/acclimation.h"
#include "planning/plan_file.h"
#include "settings/device_actions.h"
#include "tests/cli/cli_run.h"
#include "tests/planning/berlin_board.h"
#include "tests/planning/plan_helpers.h"
#include "tests/support/board_on_pty.h"
#include "tests/support/temp_folder.h"

namespace vmx {
namespace {

class PlanCommandsTest : public ::testing::Test, protected testing::BoardOnPty {
 protected:
  PlanCommandsTest() : BoardOnPty({.rows = 5}), data(folder.str()) {
    // The command line keeps plans in the user's data folder; this test's own.
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    target = Schedule();
  }

  std::vector<ScheduleRow> Schedule() {
    return board.With([](sim::BoardState& s) { return s.schedule; });
  }
  // What the PC changed on the board: SetSchedule rows and actions, in order.
  std::vector<std::string> Writes() const {
    std::vector<std::string> out;
    for (const auto& l : board.Lines())
      if (l.size() > 2) out.push_back(l.substr(0, 4));
    return out;
  }
  // One step on the wire: every row once, in order, then one EEPROM save.
  std::vector<std::string> OneStep() const {
    std::vector<std::string> step;
    for (int k = 0; k < 5; ++k) step.push_back("030" + std::to_string(k));
    step.push_back("7F01");
    return step;
  }
  AcclimationPlan Plan(int start, int days, long long first) const {
    return PlanOver(target, start, days, first);
  }
  std::string Status() { return Cli({"acclimate", port, "--status", "--json"}).out; }
  std::filesystem::path PlanFile() const {
    return std::filesystem::path(data) / "velmarinex/plans" /
           ("vmx5_" + std::filesystem::path(port).filename().string()) / "acclimation.ini";
  }

  testing::TempFolder folder{"vmx-plans"};
  std::string data;
  std::vector<ScheduleRow> target;
};

TEST_F(PlanCommandsTest, PlanStartedFiveDaysAgoWritesThreeQuartersAndSavesOnce) {
  const long long before = TodayOnComputer();
  const CliRun run =
      Cli({"acclimate", port, "--start", "50", "--days", "10", "--from", DateText(before - 5)});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Writes(), OneStep()) << "nothing but the rows and one save";
  const std::vector<ScheduleRow> held = Schedule();
  // Across midnight the program may have counted one day more.
  const bool sixth = held != StepRows(Plan(50, 10, before - 5), 5);
  EXPECT_EQ(held, StepRows(Plan(50, 10, before - 5), sixth ? 6 : 5));
  EXPECT_NE(held, target);
  EXPECT_NE(run.out.find("75%"), std::string::npos) << run.out;
  const std::string status = Status();
  EXPECT_NE(status.find("\"state\": \"running\""), std::string::npos) << status;
  EXPECT_NE(status.find("\"eeprom_saves\": 1"), std::string::npos) << status;

  board.ClearLines();
  const CliRun again = Cli({"acclimate", port});
  EXPECT_EQ(again.code, 0) << again.err;
  EXPECT_TRUE(Writes().empty()) << "today's step is on the board already";
}

TEST_F(PlanCommandsTest, CancelWritesTheTargetBackAndSaves) {
  ASSERT_EQ(Cli({"acclimate", port, "--start", "20", "--days", "30"}).code, 0);
  ASSERT_NE(Schedule(), target);
  board.ClearLines();
  const CliRun run = Cli({"acclimate", port, "--cancel"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Writes(), OneStep());
  EXPECT_EQ(Schedule(), target);
  EXPECT_NE(Status().find("\"state\": \"cancelled\""), std::string::npos);
  board.ClearLines();
  EXPECT_EQ(Cli({"acclimate", port}).code, 0);
  EXPECT_TRUE(Writes().empty()) << "an ended plan writes nothing more";
}

TEST_F(PlanCommandsTest, ScheduleChangedOnTheBoardPausesThePlanAndWritesNothing) {
  ASSERT_EQ(Cli({"acclimate", port, "--start", "50", "--days", "10"}).code, 0);
  // The board's keys change a level behind the plan's back.
  board.With([](sim::BoardState& s) { s.schedule[1].Color16[0] = 123; });
  const std::vector<ScheduleRow> changed = Schedule();
  board.ClearLines();
  const CliRun run = Cli({"acclimate", port});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("paused"), std::string::npos) << run.err;
  EXPECT_TRUE(Writes().empty());
  EXPECT_EQ(Schedule(), changed);
  EXPECT_NE(Status().find("\"state\": \"paused\""), std::string::npos);
  EXPECT_EQ(Cli({"acclimate", port}).code, 1) << "it stays paused";
  EXPECT_TRUE(Writes().empty());

  const CliRun resumed = Cli({"acclimate", port, "--resume"});
  EXPECT_EQ(resumed.code, 0) << resumed.err;
  EXPECT_EQ(Writes(), OneStep());
  EXPECT_EQ(Schedule()[1].Color16[0], target[1].Color16[0] / 2);
}

TEST_F(PlanCommandsTest, ScheduleEditedFromTheCommandLineBecomesTheTarget) {
  // Channel A of line 1 set to 20 % (819) while the plan gives half of the
  // schedule, by each way the command line writes lines: the target is 40 %.
  const std::string file = folder.str() + "/edited.ini";
  ASSERT_EQ(Cli({"settings", "export", port, file}).code, 0);
  {
    std::ifstream in(file);
    IniDocument doc = IniDocument::Parse(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    doc.Set("1", "Color160", "819");
    std::ofstream(file) << doc.Text();
  }
  const struct {
    const char* way;
    std::vector<std::string> edit;
  } ways[] = {
      {"set", {"set", port, "1.Color160=819"}},
      {"schedule --set", {"schedule", port, "--set", "1", "- 20"}},
      {"settings restore", {"settings", "restore", port, file, "--only", "1.Color160"}},
  };
  for (const auto& w : ways) {
    SCOPED_TRACE(w.way);
    ASSERT_EQ(Cli({"acclimate", port, "--start", "50", "--days", "10"}).code, 0);
    const CliRun edit = Cli(w.edit);
    ASSERT_EQ(edit.code, 0) << edit.err;
    board.ClearLines();
    const CliRun run = Cli({"acclimate", port});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Writes().empty()) << "the edit is today's step: neither paused nor overwritten";
    EXPECT_NE(Status().find("\"state\": \"running\""), std::string::npos);
    EXPECT_EQ(Cli({"acclimate", port, "--cancel"}).code, 0);
    EXPECT_EQ(Schedule()[1].Color16[0], 1638);
    EXPECT_EQ(Schedule()[2], target[2]);
    board.With([&](sim::BoardState& s) { s.schedule = target; });
  }
}

TEST_F(PlanCommandsTest, MissedDaysAreCaughtUpOnceAndThePlanOutlivesEachRun) {
  const long long before = TodayOnComputer();
  ASSERT_EQ(
      Cli({"acclimate", port, "--start", "40", "--days", "12", "--from", DateText(before - 2)})
          .code,
      0);
  // Three days pass without the board: the plan's day 0 lies three days further back.
  std::ifstream in(PlanFile(), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  in.close();
  const std::string first = "First=" + DateText(before - 2);
  ASSERT_NE(text.find(first), std::string::npos) << text.substr(0, 200);
  text.replace(text.find(first), first.size(), "First=" + DateText(before - 5));
  std::ofstream(PlanFile(), std::ios::binary) << text;

  board.ClearLines();
  const CliRun run = Cli({"acclimate", port});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Writes(), OneStep()) << "today's step once, not one per missed day";
  const std::vector<ScheduleRow> held = Schedule();
  EXPECT_TRUE(held == StepRows(Plan(40, 12, before - 5), 5) ||
              held == StepRows(Plan(40, 12, before - 5), 6));
  EXPECT_NE(Status().find("\"eeprom_saves\": 2"), std::string::npos);
  board.ClearLines();
  EXPECT_EQ(Cli({"acclimate", port}).code, 0);
  EXPECT_TRUE(Writes().empty()) << "caught up: nothing twice";
}

TEST_F(PlanCommandsTest, WordsThatMakeNoPlan) {
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"--start", "150", "--days", "10"},
        {"--start", "1e300", "--days", "10"},
        {"--start", "50", "--days", "2.5"},
        {"--start", "50"},
        {"--start", "50", "--days", "0"},
        {"--start", "50", "--days", "10", "--channels", "Q"},
        {"--start", "50", "--days", "10", "--from", "2024-13-01"},
        {"--cancel", "--resume"},
        {"--json"}}) {
    std::vector<std::string> args{"acclimate", port};
    args.insert(args.end(), words.begin(), words.end());
    EXPECT_EQ(Cli(args).code, 2) << words[0];
  }
  EXPECT_TRUE(Writes().empty());
  const CliRun none = Cli({"acclimate", port});
  EXPECT_EQ(none.code, 1);
  EXPECT_NE(none.err.find("no acclimation plan"), std::string::npos);
  ASSERT_EQ(Cli({"acclimate", port, "--start", "50", "--days", "10"}).code, 0);
  const CliRun twice = Cli({"acclimate", port, "--start", "60", "--days", "5"});
  EXPECT_EQ(twice.code, 1) << "a running plan's reduced schedule is no target";
}

TEST_F(PlanCommandsTest, YearFromASettingsFileAndFromTheBoard) {
  // The board in Geo mode at Berlin, keeping its clock in UTC+1 with summer time.
  board.With([](sim::BoardState& s) {
    s.config.Mode = 2;
    PlaceAtBerlin(s);
  });
  const CliRun fromBoard = Cli({"geo", "year", "--port", port, "--year", "2024", "--json"});
  ASSERT_EQ(fromBoard.code, 0) << fromBoard.err;
  EXPECT_TRUE(Writes().empty()) << "the year only reads";
  const auto days = SplitLines(fromBoard.out);
  ASSERT_EQ(days.size(), 368u) << "[, 366 days, ]";
  EXPECT_TRUE(days[173].starts_with("{\"date\": \"2024-06-21\", \"sunrise\": \"2024-06-21T04:5"))
      << days[173];
  EXPECT_NE(days[173].find("+02:00"), std::string::npos) << "the board's summer time";
  EXPECT_NE(days[1].find("+01:00"), std::string::npos);
  size_t channels = 0;
  for (size_t at = 0; (at = days[173].find("\"lit_minutes\"", at)) != std::string::npos; ++at)
    ++channels;
  EXPECT_EQ(channels, 12u);

  const std::string file = data + "/tank.ini";
  ASSERT_EQ(Cli({"settings", "export", port, file}).code, 0);
  const CliRun fromFile =
      Cli({"geo", "year", "--schedule", file, "--year", "2024", "--zone", "Europe/Berlin"});
  ASSERT_EQ(fromFile.code, 0) << fromFile.err;
  const auto lines = SplitLines(fromFile.out);
  ASSERT_EQ(lines.size(), 366u);
  EXPECT_TRUE(lines[172].starts_with("2024-06-21\t04:51\t21:26\t16:35\t")) << lines[172];
  EXPECT_EQ(std::count(lines[172].begin(), lines[172].end(), '\t'), 7 + 12);
  EXPECT_NE(fromFile.err.find("warning: "), std::string::npos) << "Berlin's days swing";

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"geo", "year", "--lat", "52"},
        {"geo", "year", "--lat", "52", "--lon", "13", "--zone", "Mars/Olympus"},
        {"geo", "year", "--lat", "52", "--lon", "13", "--year", "2100"},
        {"geo", "year", "--schedule", file, "--port", port}})
    EXPECT_EQ(Cli(bad).code, 2) << bad.back();
}

}  // namespace
}  // namespace vmx
