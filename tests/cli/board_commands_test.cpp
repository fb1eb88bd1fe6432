// velmarinex-cli's board commands as a script runs them: the program on the
// pty of a simulated board that this test serves, its exit code and output,
// and the bytes the board received.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/support/board_on_pty.h"
#include "tests/support/program.h"

namespace vmx {
namespace {

using testing::Ran;

class BoardCommandsTest : public ::testing::Test, protected testing::BoardOnPty {
 protected:
  BoardCommandsTest() : BoardOnPty({.rows = 4}) {}
};

TEST_F(BoardCommandsTest, SchedulePrintsTheRowsAsTheGridShowsThem) {
  const Ran run = Cli({"schedule", port});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto lines = SplitLines(run.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(lines[0].starts_with("Line\tTime\tA: ColdWhite\tB: RoyalBlue\t")) << lines[0];
  EXPECT_TRUE(lines[0].ends_with("\tDisplay\tClouds\tThunderstorms\tJMP pin"));
  EXPECT_EQ(lines[1], "0\t07:00\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\tON\tOFF\tOFF\t0");
  EXPECT_TRUE(lines[2].starts_with("1\t12:00\t69.29\t86.6\t")) << lines[2];
  EXPECT_TRUE(lines[2].ends_with("\tON\tON\tON\t0"));
  EXPECT_TRUE(Sets().empty()) << "printing changes nothing on the board";

  const Ran json = Cli({"schedule", port, "--json"});
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_NE(json.out.find("\"Mode\": 1"), std::string::npos);
  EXPECT_NE(json.out.find("\"Hour\": 12, \"Minute\": 0"), std::string::npos);
  EXPECT_NE(json.out.find("\"Switch\": 224"), std::string::npos);
}

TEST_F(BoardCommandsTest, SetWritesOneRowAndPrintsTheResult) {
  const Ran run =
      Cli({"schedule", port, "--set", "2", "06:30 50 - - - - - - - - - - 12.5 off - on -7"});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto sets = Sets();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].substr(0, 8), "0302061E") << "row 2 at 06:30";
  const ScheduleRow row = OnBoard([](sim::BoardState& s) { return s.schedule[2]; });
  EXPECT_EQ(row.Hour, 6);
  EXPECT_EQ(row.Minute, 30);
  EXPECT_EQ(row.Color16[0], 2048);
  EXPECT_EQ(row.Color16[11], 512);
  EXPECT_EQ(row.Switch, 0xC0);
  EXPECT_EQ(row.Timer, -7);
  EXPECT_NE(run.out.find("\n2\t06:30\t50\t"), std::string::npos) << run.out;
}

TEST_F(BoardCommandsTest, MovePasteAndSwapWriteTheRowsTheyChange) {
  const Ran move = Cli({"schedule", port, "--move", "3", "1"});
  ASSERT_EQ(move.code, 0) << move.err;
  std::vector<std::string> rows;
  for (const auto& s : Sets()) rows.push_back(s.substr(0, 4));
  EXPECT_EQ(rows, (std::vector<std::string>{"0301", "0302", "0303"}));
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.schedule[1].Hour; }), 22);

  board.ClearLines();
  const Ran paste = Cli({"schedule", port, "--paste", "b", "L"});
  ASSERT_EQ(paste.code, 0) << paste.err;
  EXPECT_EQ(Sets().size(), 5u) << "the Config and every row";
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.config.ColorName[11]; }), 11);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.schedule[2].Color16[11]; }),
            OnBoard([](sim::BoardState& s) { return s.schedule[2].Color16[1]; }));

  const Ran swap = Cli({"schedule", port, "--swap", "A", "C"});
  ASSERT_EQ(swap.code, 0) << swap.err;
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.config.ColorName[0]; }), 4);
  EXPECT_NE(swap.out.find("A: Blue\tB: RoyalBlue\tC: ColdWhite"), std::string::npos);
}

TEST_F(BoardCommandsTest, ModeSendsOneSetConfig) {
  const Ran run = Cli({"mode", port, "flash"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "Flash\n");
  const auto sets = Sets();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].substr(0, 4), "0204");
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.config.Mode; }), 4);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.config.FanHigh; }), 200)
      << "the rest of the Config as the board had it";
}

TEST_F(BoardCommandsTest, ActionsSendTheirCommands) {
  struct Case {
    const char* action;
    std::vector<std::string> sets;  // cut to four characters
  };
  const Case cases[] = {{"save", {"7F01"}}, {"cloud", {"7F02"}}, {"storm", {"7F03"}},
                        {"reef", {"7F04"}}, {"refresh", {}},     {"clock", {"0201", "01"}},
                        {"health", {}}};
  for (const Case& c : cases) {
    board.ClearLines();
    const Ran run = Cli({"action", port, c.action});
    ASSERT_EQ(run.code, 0) << c.action << ": " << run.err;
    std::vector<std::string> sets;
    for (const auto& s : Sets()) sets.push_back(s.substr(0, s.starts_with("01") ? 2 : 4));
    EXPECT_EQ(sets, c.sets) << c.action;
  }
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.info.ActivityFlags & 3; }), 3)
      << "a cloud and a storm running";
  const Ran health = Cli({"action", port, "health"});
  EXPECT_NE(health.out.find("Power cycles:\t42\n"), std::string::npos) << health.out;
  EXPECT_NE(health.out.find("V>26.0:\t250000\t1041.7h\t100.0%\n"), std::string::npos);
}

TEST_F(BoardCommandsTest, ASilentBoardFailsWithoutClaimingSuccess) {
  board.InjectFault(sim::Fault::Silence, 0);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"schedule", port, "--timeout", "1.5"},
        std::vector<std::string>{"mode", port, "auto", "--timeout", "1.5"},
        std::vector<std::string>{"action", port, "save", "--timeout", "1.5"}}) {
    const Ran run = Cli(args);
    EXPECT_EQ(run.code, 1) << args[0];
    EXPECT_EQ(run.out, "") << args[0];
    EXPECT_NE(run.err.find("answered on " + port), std::string::npos) << run.err;
  }
  EXPECT_TRUE(Sets().empty());
}

TEST(BoardCommands, ABareNameMeansThatDeviceUnderDevInEveryCommand) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"mode", "vmx-none", "auto", "--timeout", "1"},
        std::vector<std::string>{"dump", "vmx-none"}}) {
    const Ran run = Cli(args);
    EXPECT_NE(run.code, 0) << args[0];
    EXPECT_NE(run.err.find("/dev/vmx-none"), std::string::npos) << args[0] << ": " << run.err;
  }
}

TEST_F(BoardCommandsTest, AnUnacknowledgedSetIsSentAgainAndThenSucceeds) {
  // The worker sends an unacknowledged write again while the board answers;
  // the command reports what the board finally acknowledged.
  board.InjectFault(sim::Fault::Silence, 1, "02");
  const Ran run = Cli({"mode", port, "manual"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Sets().size(), 2u);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.config.Mode; }), 0);
}

TEST_F(BoardCommandsTest, AnEditDroppedByAHangUpFailsTheCommandAndIsNamed) {
  // The row goes out, the board hangs up instead of answering: the link
  // identifies it again and drops the row it was still to send.
  board.InjectFault(sim::Fault::HangUp, 1, "03");
  const Ran run = Cli({"schedule", port, "--verbose", "--timeout", "10", "--set", "2", "06:30"});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("Changes not sent, dropped when the board was identified again: "
                         "schedule lines 2\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("velmarinex-cli schedule: the link to the board on " + port + " was lost"),
            std::string::npos)
      << run.err;
}

TEST_F(BoardCommandsTest, ARowTheBoardMissedOnceIsSentAgain) {
  board.InjectFault(sim::Fault::Silence, 1, "03");
  const Ran run = Cli({"schedule", port, "--set", "0", "05:05"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Sets().size(), 2u);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.schedule[0].Minute; }), 5);
}

TEST_F(BoardCommandsTest, WordsThatDoNotFitAreRefusedBeforeAnythingIsSent) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"mode", port, "turbo"}, std::vector<std::string>{"mode"},
        std::vector<std::string>{"action", port, "reboot"},
        std::vector<std::string>{"schedule", port, "--set", "4", "07:00"},
        std::vector<std::string>{"schedule", port, "--set", "0",
                                 "07:00 - - - - - - - - - - - - yes"},
        std::vector<std::string>{"schedule", port, "--swap", "A", "M"},
        std::vector<std::string>{"schedule", port, "--json", "--move", "0", "1"},
        std::vector<std::string>{"schedule", port, "--timeout", "x"}}) {
    const Ran run = Cli(args);
    EXPECT_EQ(run.code, 2) << args.back();
    EXPECT_NE(run.err.find("usage: velmarinex-cli"), std::string::npos);
  }
  EXPECT_TRUE(Sets().empty());
}

}  // namespace
}  // namespace vmx
