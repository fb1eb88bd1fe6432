// velmarinex-cli settings history, diff, restore and undo as a keeper runs
// them: the program on the pty of a simulated board served here, its history
// in a folder of this test, and the Sets the board received.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "tests/plain_files.h"
#include "tests/support/board_on_pty.h"
#include "tests/support/program.h"

namespace {

using ::testing::HasSubstr;
using vmx::testing::ReadAll;
using vmx::testing::WriteText;

class HistoryCliTest : public ::testing::Test, protected vmx::testing::BoardOnPty {
 protected:
  HistoryCliTest() : BoardOnPty({.rows = 6}) {}

  std::string File(const std::string& name) const { return folder / name; }

  // Runs the program to its end: exit code, standard output in `out`.
  // The program keeps the history under this test's folder, nowhere else.
  int Cli(std::vector<std::string> args) {
    args.insert(args.begin(), VMX_CLI_PROGRAM);
    vmx::testing::Ran ran =
        vmx::testing::RunProgram(std::move(args), {.env = {"XDG_DATA_HOME=" + folder.str()}});
    out = std::move(ran.out);
    return ran.code;
  }
  // The Set lines of one command ("02" SetConfig, "03" SetSchedule) so far.
  size_t Sets(const std::string& command) {
    size_t n = 0;
    for (const std::string& line : board.Lines())
      if (line.size() > 2 && line.starts_with(command)) ++n;
    return n;
  }
  std::string ExportWith(const std::string& name, const std::vector<std::pair<std::string, std::string>>& edits) {
    EXPECT_EQ(Cli({"settings", "export", port, File(name)}), 0);
    std::string text = ReadAll(File(name));
    for (const auto& [from, to] : edits) {
      const size_t at = text.find(from);
      EXPECT_NE(at, std::string::npos) << from;
      if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    WriteText(File(name), text);
    return File(name);
  }
  auto Held() {
    return board.With(
        [](vmx::sim::BoardState& s) { return std::tuple(s.config, s.expert, s.weather, s.schedule); });
  }

  vmx::testing::TempFolder folder{"vmx-history-cli"};
  std::string out;
};

TEST_F(HistoryCliTest, RestoreSendsOnlyWhatIsChosen) {
  const std::string file = ExportWith(
      "changed.ini", {{"FanLow=77", "FanLow=100"}, {"CloudStep=200", "CloudStep=300"},
                      {"[1]\r\nHour=", "[1]\r\nHour=1"}, {"[3]\r\nHour=", "[3]\r\nHour=1"},
                      {"[4]\r\nHour=", "[4]\r\nHour=1"}});
  const struct {
    const char* only;
    size_t setConfig, setSchedule, setWeather;
  } cases[] = {
      {"config", 1, 0, 0},
      {"lines=3-4", 0, 2, 0},
      {"Weather.CloudStep,1.Hour", 0, 1, 1},
  };
  for (const auto& c : cases) {
    const size_t config = Sets("02"), schedule = Sets("03"), weather = Sets("06");
    ASSERT_EQ(Cli({"settings", "restore", port, file, "--only", c.only}), 0) << c.only;
    EXPECT_EQ(Sets("02") - config, c.setConfig) << c.only;
    EXPECT_EQ(Sets("03") - schedule, c.setSchedule) << c.only;
    EXPECT_EQ(Sets("06") - weather, c.setWeather) << c.only;
  }
  EXPECT_EQ(board.With([](vmx::sim::BoardState& s) { return s.config.FanLow; }), 100);
  // Restored again: the board holds it all, nothing goes out.
  const size_t lines = board.Lines().size();
  ASSERT_EQ(Cli({"settings", "restore", port, file, "--only", "config,lines=3-4"}), 0);
  EXPECT_EQ(Sets("02") + Sets("03") + Sets("06"), 5u);
  EXPECT_GT(board.Lines().size(), lines);  // it did connect and read
  EXPECT_EQ(Cli({"settings", "restore", port, file, "--only", "clouds"}), 2);
  EXPECT_EQ(Cli({"settings", "restore", port, File("none.ini")}), 1);
}

TEST_F(HistoryCliTest, UndoBringsBackTheBoardByteForByte) {
  const auto before = Held();
  const std::string config = ExportWith(
      "config.ini", {{"FanLow=77", "FanLow=12"}, {"ColorName3=", "ColorName3=1"}, {"Up=0", "Up=4660"},
                     {"Bias=", "Bias=1"}, {"CloudP=5", "CloudP=900"}});
  ASSERT_EQ(Cli({"settings", "import", "config", port, config}), 0);
  ASSERT_NE(Held(), before);
  ASSERT_EQ(Cli({"settings", "undo", port}), 0);
  EXPECT_EQ(Held(), before);

  const std::string rows = ExportWith("rows.ini", {{"[0]\r\nHour=", "[0]\r\nHour=1"},
                                                   {"[5]\r\nHour=", "[5]\r\nHour=1"}});
  ASSERT_EQ(Cli({"settings", "import", "schedule", port, rows}), 0);
  ASSERT_NE(Held(), before);
  ASSERT_EQ(Cli({"settings", "undo", port}), 0);
  EXPECT_EQ(Held(), before);

  ASSERT_EQ(Cli({"settings", "history", port}), 0);
  EXPECT_THAT(out, HasSubstr("\texport\t"));
  EXPECT_THAT(out, HasSubstr("\tbefore-import\t"));
  EXPECT_THAT(out, HasSubstr("\tbefore-undo\t"));
}

TEST_F(HistoryCliTest, DiffExitsAsDiffDoes) {
  const std::string file = ExportWith("a.ini", {{"FanLow=77", "FanLow=100"}});
  ASSERT_EQ(Cli({"settings", "diff", port, file}), 1);
  EXPECT_EQ(out, "Config.FanLow: 30.2 % -> 39.2 %\n");
  ASSERT_EQ(Cli({"settings", "diff", file, port + "@latest", "--json"}), 1);
  EXPECT_EQ(out,
            "[{\"section\": \"Config\", \"key\": \"FanLow\", \"a\": \"39.2 %\", \"b\": \"30.2 %\", "
            "\"a_raw\": 100, \"b_raw\": 77, \"caption\": \"Slow level (%)\", \"beyond_rows\": "
            "false}]\n");
  EXPECT_EQ(Cli({"settings", "diff", port + "@1", port}), 0);
  EXPECT_EQ(Cli({"settings", "diff", port + "@9", port}), 2);
}

TEST_F(HistoryCliTest, ADamagedSnapshotIsListedAndNeverUsed) {
  EXPECT_EQ(Cli({"settings", "undo", port}), 1);  // nothing to undo yet
  ExportWith("a.ini", {});
  const std::string board = folder / "velmarinex/history/vmx5_" + port.substr(port.rfind('/') + 1);
  // A snapshot cut short after its header, with a time after the export's.
  std::string text;
  for (const auto& e : std::filesystem::directory_iterator(board))
    if (e.path().extension() == ".ini") text = ReadAll(e.path().string());
  ASSERT_THAT(text, ::testing::StartsWith("[Snapshot]"));
  const size_t taken = text.find("Taken=") + 6;
  text.replace(taken, 4, "2999");
  WriteText(board + "/29990101T000000Z-00000000.ini", text.substr(0, text.size() - 20));

  ASSERT_EQ(Cli({"settings", "history", port, "--json"}), 0);
  EXPECT_THAT(out, HasSubstr("\"reason\": \"export\", \"program\": \"velmarinex-cli\""));
  EXPECT_THAT(out, HasSubstr("\"index\": 2,"));
  EXPECT_THAT(out, HasSubstr("\"damaged\": true, \"problem\": \"it is cut short\""));
  EXPECT_EQ(Cli({"settings", "diff", port + "@2", port}), 2);
  EXPECT_EQ(Cli({"settings", "diff", port + "@latest", port}), 2);
  EXPECT_EQ(Cli({"settings", "restore", port, port + "@2"}), 1);
  EXPECT_EQ(Sets("02") + Sets("03"), 0u);
}

}  // namespace
