// velmarinex-cli settings, dump and set as a user runs them: the program on a
// real pty against the simulated board, which records every line it gets.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/plain_files.h"
#include "tests/support/board_on_pty.h"
#include "tests/support/program.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using vmx::testing::ReadAll;
using vmx::testing::WriteText;

using Outcome = vmx::testing::Ran;

class SettingsCliTest : public ::testing::Test, protected vmx::testing::BoardOnPty {
 protected:
  SettingsCliTest() : BoardOnPty({.rows = 3}) {}

  std::string File(const std::string& name) const { return folder / name; }

  Outcome Cli(std::vector<std::string> args) {
    args.insert(args.begin(), VMX_CLI_PROGRAM);
    return vmx::testing::RunProgram(std::move(args));
  }
  // The Set lines the board got (SetInfo to SetExpertWeather).
  std::vector<std::string> Sets(const std::string& command = {}) {
    std::vector<std::string> sets;
    for (const std::string& line : board.Lines())
      if (line.size() > 2 && line[0] == '0' && line[1] >= '1' && line[1] <= '6' &&
          (command.empty() || line.starts_with(command)))
        sets.push_back(line);
    return sets;
  }

  vmx::testing::TempFolder folder{"vmx-cli"};
};

TEST_F(SettingsCliTest, ExportWritesTheBoardsSettingsAndSendsNothing) {
  const Outcome run = Cli({"settings", "export", port, File("board.ini")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, File("board.ini") + "\n");
  const std::string text = ReadAll(File("board.ini"));
  EXPECT_THAT(text, StartsWith("[Config]\r\nMode=1\r\nFlag=2\r\nFanLow=77\r\nFanHigh=200\r\n"
                               "FanOff=0\r\nFanMode=0\r\nTempWaterLow=250\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\n\r\n[Weather]\r\nCloudP=5\r\nCloudD=546\r\nStormP=3\r\n"
                              "StormD=583\r\nCloudStep=200\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\nBalance1=100\r\nMoonColor161=8\r\nWeatherDelay1=0\r\n"
                              "LightningMask1=0\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\n[2]\r\nHour=22\r\nMinute=0\r\n"));
  EXPECT_THAT(text, Not(HasSubstr("[3]")));
  EXPECT_THAT(Sets(), IsEmpty());
}

TEST_F(SettingsCliTest, ConfigurationImportSendsTheThreeRecords) {
  WriteText(File("in.ini"),
            "[Config]\r\nFanLow=300\r\nFlag=12abc\r\n[RC5]\r\nUp=$1234\r\n"
            "[Weather]\r\nBalance3=0x2a\r\n[0]\r\nHour=1\r\n");
  const Outcome run = Cli({"settings", "import", "config", port, File("in.ini")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("left out [Config] Flag=12abc"));
  EXPECT_THAT(Sets(), ElementsAre("02"
                                  "01022CC81EDC01"
                                  "070B0405080C02030D0F0600"
                                  "05002202030047020D028600",
                                  "05"
                                  "0000000511000000"
                                  "0A00050000"
                                  "FA0009010E011801EB00F50022015802"
                                  "0F00"
                                  "0A1F0300031F0200"
                                  "3C00"
                                  "3412"
                                  "0000000000000000000000000000",
                                  "06"
                                  "C80020032C01"
                                  "281464"
                                  "6464642A6464646464646464"
                                  "000804000000000000002800"
                                  "FF000000FF00000000000000"
                                  "000000000000000000000000"));
}

TEST_F(SettingsCliTest, ScheduleImportSendsEveryRowOfTheBoard) {
  WriteText(File("rows.ini"),
            "[0]\nHour=6\nMinute=15\nAlt=-100\nColor160=4096\nColor161=0\nColor162=0\n"
            "Color163=0\nColor164=0\nColor165=0\nColor166=0\nColor167=0\nColor168=0\n"
            "Color169=0\nColor1610=0\nColor1611=$800\nTimer=-1\nSwitch=0xE0\n"
            "[1]\nHour=07\n[5]\nHour=1\n[Config]\nFanLow=1\n");
  const Outcome run = Cli({"settings", "import", "schedule", port, File("rows.ini")});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::vector<std::string> sets = Sets();
  ASSERT_EQ(sets.size(), 3u);
  EXPECT_EQ(sets[0],
            "0300060F9CFF0010"
            "00000000000000000000000000000000000000000008FFFFE0");
  EXPECT_THAT(sets[1], StartsWith("030107"));
  EXPECT_THAT(sets[2], StartsWith("0302"));
  EXPECT_EQ(board.With([](vmx::sim::BoardState& s) { return s.config.FanLow; }), 77);
}

TEST_F(SettingsCliTest, BackupIsWhatAnExportWritesUnderThePortsName) {
  const Outcome run = Cli({"settings", "backup", port, "--dir", folder.str()});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string backup = File("Backup_" + port.substr(port.rfind('/') + 1) + ".ini");
  EXPECT_EQ(run.out, backup + "\n");
  ASSERT_EQ(Cli({"settings", "export", port, File("export.ini")}).code, 0);
  EXPECT_EQ(ReadAll(backup), ReadAll(File("export.ini")));
  EXPECT_THAT(Sets(), IsEmpty());
}

TEST_F(SettingsCliTest, DumpShowsEveryKey) {
  Outcome run = Cli({"dump", port});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("[Config]\nMode=1\nFlag=2\nFanLow=77\n"));
  EXPECT_THAT(run.out, HasSubstr("\n[RC5]\nUp=0\n"));
  run = Cli({"dump", port, "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("{\"Config\": {\"Mode\": 1, \"Flag\": 2, \"FanLow\": 77,"));
  EXPECT_THAT(run.out, HasSubstr("\"TimeZone\": {\"StandardMonth\": 10, \"StandardDay\": 31,"));
  EXPECT_THAT(run.out, HasSubstr("\"2\": {\"Hour\": 22, \"Minute\": 0,"));
}

TEST_F(SettingsCliTest, SetWritesSingleFieldsByTheirKeys) {
  const Outcome run = Cli({"set", port, "FanLow=300", "1.Hour=9", "weather.cloudp=0x10"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::vector<std::string> sets = Sets();
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0],
            "02"
            "01022CC81EDC01"
            "070B0405080C02030D0F0600"
            "10002202030047020D028600");
  EXPECT_THAT(sets[1], StartsWith("030109"));
  EXPECT_EQ(board.With([](vmx::sim::BoardState& s) { return s.schedule[1].Hour; }), 9);
}

TEST_F(SettingsCliTest, ARefusedFileOrArgumentSendsNothing) {
  WriteText(File("rows.ini"), "[0]\nHour=1\n");
  WriteText(File("config.ini"), "[Config]\nFanLow=1\n");
  Outcome run = Cli({"settings", "import", "config", port, File("rows.ini")});
  EXPECT_EQ(run.code, 1);
  EXPECT_THAT(run.err, HasSubstr("has no [Config], [Weather], [Names], [RC5] or [TimeZone]"));
  run = Cli({"settings", "import", "schedule", port, File("config.ini")});
  EXPECT_EQ(run.code, 1);
  run = Cli({"settings", "import", "config", port, File("none.ini")});
  EXPECT_EQ(run.code, 1);
  EXPECT_THAT(run.err, HasSubstr("none.ini could not be read: No such file or directory"));
  run = Cli({"set", port, "FanLow=12abc"});
  EXPECT_EQ(run.code, 2);
  run = Cli({"set", port, "NoSuchKey=1"});
  EXPECT_EQ(run.code, 2);
  EXPECT_THAT(board.Lines(), IsEmpty()) << "the port was not even opened";

  run = Cli({"set", port, "FanLow=1", "3.Hour=1"});
  EXPECT_EQ(run.code, 1);
  EXPECT_THAT(run.err, HasSubstr("the board has 3 schedule rows, no row 3"));
  EXPECT_THAT(Sets(), IsEmpty());
}

TEST_F(SettingsCliTest, AValueTheBoardDidNotKeepFails) {
  // The board answers the Set late; meanwhile it goes back to its own value.
  board.InjectFault(vmx::sim::Fault::Delay, 1, "02", std::chrono::milliseconds(500));
  std::thread board_changes_its_mind([this] {
    auto sent = [](const std::vector<std::string>& lines) {
      for (const auto& l : lines)
        if (l.starts_with("02")) return true;
      return false;
    };
    if (board.WaitFor(sent, std::chrono::seconds(10)))
      board.With([](vmx::sim::BoardState& s) { s.config.FanLow = 77; });
  });
  const Outcome run = Cli({"set", port, "FanLow=44"});
  board_changes_its_mind.join();
  EXPECT_EQ(run.code, 1);
  EXPECT_THAT(run.err, HasSubstr("[Config] FanLow sent 44, board holds 77"));
}

TEST_F(SettingsCliTest, AnotherFirmwareEndsTheCommandAtOnce) {
  board.SetIdentity(5, 3);
  const Outcome run = Cli({"dump", port});
  EXPECT_EQ(run.code, 1);
  EXPECT_THAT(run.err, HasSubstr("Velmarinex 2.x.3 on " + port + " detected"));
  EXPECT_EQ(run.out, "");
}

}  // namespace
