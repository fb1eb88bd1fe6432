// velmarinex-cli firmware as a user runs it: the program against the simulated
// board's bootloader on a pty, judged by its exit code, what it says, the
// bytes on the wire and the board's flash afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/link/vxh_file.h"
#include "tests/support/board_on_pty.h"
#include "tests/support/program.h"

namespace vmx {
namespace {

using sim::Fault;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::Pattern;
using testing::TempFile;
using testing::VxhBytes;

constexpr const char* kUpdated = "Firmware successfully updated. Remove jumper (if set)!";
constexpr const char* kStopped = "Firmware update stopped. The board stays in its bootloader.";

class FirmwareCommandTest : public ::testing::Test, protected testing::BoardOnPty {
 protected:
  explicit FirmwareCommandTest(sim::BoardOptions options = {.rows = 2}) : BoardOnPty(options) {}

  // Runs the program to its end; its output lands in `out`.
  int Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv{VMX_CLI_PROGRAM, "firmware"};
    argv.insert(argv.end(), args.begin(), args.end());
    testing::Ran ran = testing::RunProgram(argv, {.env = {"VELMARINEX_LINE_TIMEOUT_MS=300"}});
    out = std::move(ran.out);
    return ran.code;
  }
  int Update(const TempFile& file) { return Run({port, file.path()}); }

  std::vector<int> BlockAddresses() const {
    std::vector<int> out;
    for (const auto& l : board.Lines())
      if (l.size() == 134 && l.starts_with("02"))
        out.push_back(std::stoi(l.substr(4, 2) + l.substr(2, 2), nullptr, 16));
    return out;
  }
  bool Sent(const std::string& line) const {
    const auto lines = board.Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  bool FlashHolds(int first, const std::vector<uint8_t>& data) const {
    const auto flash = board.Flash();
    return std::equal(data.begin(), data.end(), flash.begin() + first);
  }

  std::string out;
};

TEST_F(FirmwareCommandTest, BadArgumentsAreAUsageError) {
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({port}), 2);
  EXPECT_EQ(Run({port, "a.vxh", "b.vxh"}), 2);
  EXPECT_EQ(board.LineCount(), 0u);
}

TEST_F(FirmwareCommandTest, UpdatesTheApplicationAndEndsWhenItAnswersAgain) {
  const auto data = Pattern(0, 0x1FFF);
  TempFile file(VxhBytes(0, 0x1FFF, data));
  EXPECT_EQ(Run({port, file.path(), "-debug"}), 0) << out;
  EXPECT_TRUE(Sent("7F00"));
  EXPECT_EQ(BlockAddresses().size(), 128u);
  EXPECT_TRUE(FlashHolds(0, data));
  EXPECT_FALSE(board.InBootloader());
  EXPECT_THAT(out, HasSubstr("0x0000 (0 %)"));
  EXPECT_THAT(out, HasSubstr("OUT: \"81\""));
  EXPECT_THAT(out, HasSubstr("Checksum: "));
  EXPECT_THAT(out, HasSubstr(kUpdated));
  // Nothing but the update is asked of the board before it.
  const auto lines = board.Lines();
  for (auto l = lines.begin(); l != lines.end() && *l != "7F00"; ++l) EXPECT_EQ(*l, "80");
}

TEST_F(FirmwareCommandTest, ARefusedFileTouchesNothingOnTheBoard) {
  TempFile bad(VxhBytes(0, 0xFF, Pattern(0, 0xFF), 1));
  EXPECT_EQ(Update(bad), 1);
  EXPECT_THAT(out, HasSubstr("Checksum error in file ("));
  TempFile empty({});
  EXPECT_EQ(Update(empty), 1);
  EXPECT_THAT(out, HasSubstr("Error while parsing!"));
  EXPECT_EQ(Run({port, empty.dir() + "/none.vxh"}), 1);
  EXPECT_THAT(out, HasSubstr("No such file or directory"));
  TempFile single(VxhBytes(5, 5, {1}));
  EXPECT_EQ(Update(single), 1);
  EXPECT_THAT(out, HasSubstr("Error: File does not contain data!"));
  EXPECT_EQ(board.LineCount(), 0u) << "the port was never opened";
}

// One run against a board set up for it: the exit code, a line the program
// must say, and for an update the flash afterwards.
struct CommandCase {
  const char* name;
  sim::BoardOptions board;
  std::vector<std::tuple<Fault, int, std::string>> faults;
  int32_t first, last;
  int exit;
  const char* says;
};

// Tests are listed by the case's name.
void PrintTo(const CommandCase& c, std::ostream* os) {
  *os << c.name;
}

class FirmwareCommandCaseTest : public FirmwareCommandTest,
                                public ::testing::WithParamInterface<CommandCase> {
 protected:
  FirmwareCommandCaseTest() : FirmwareCommandTest(GetParam().board) {}
};

TEST_P(FirmwareCommandCaseTest, ExitCodeWordsAndFlash) {
  const CommandCase& c = GetParam();
  for (const auto& [fault, count, command] : c.faults) board.InjectFault(fault, count, command);
  const auto data = Pattern(c.first, c.last);
  TempFile file(VxhBytes(c.first, c.last, data));
  EXPECT_EQ(Update(file), c.exit) << out;
  EXPECT_THAT(out, HasSubstr(c.says));
  EXPECT_EQ(board.BlocksIntoBootloader(), 0);
  if (c.exit == 0) {
    EXPECT_TRUE(FlashHolds(c.first, data));
    EXPECT_FALSE(board.InBootloader());
  }
}

const sim::BoardOptions kBoard{.rows = 2};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, FirmwareCommandCaseTest, ::testing::Values(
    CommandCase{"EndingJustBelowTheBootloader", kBoard, {}, 0x7800, 0x7BFF, 0, kUpdated},
    CommandCase{"SmallPages", {.rows = 2, .pageSize = 32}, {}, 0x60, 0x9F, 0, kUpdated},
    // One fault a line: the lost block first, then the zeros.
    CommandCase{"ZeroAcknowledgementsAndALostBlock", kBoard,
                {{Fault::Silence, 1, "024000"}, {Fault::ZeroAck, 0, "02"}}, 0, 0x1FF, 0, kUpdated},
    CommandCase{"AlreadyInItsBootloader", {.rows = 2, .inBootloader = true}, {}, 0, 0x3FF, 0,
                kUpdated},
    CommandCase{"AnotherFirmwareVersion", {.rows = 2, .version = 3, .versionAfterUpdate = 4}, {},
                0, 0xFF, 0, "Connected to Velmarinex 2.x.4 on "},
    CommandCase{"TenFailuresOfOneBlock", kBoard, {{Fault::Silence, 10, "024000"}}, 0, 0x1FF, 1,
                "Transmission error!"},
    CommandCase{"AnUnansweredReset", kBoard, {{Fault::Silence, 1, "01"}}, 0, 0x7F, 1,
                "Firmware update failed!"},
    CommandCase{"BackInTheBootloaderByItsJumper", {.rows = 2, .jumper = true}, {}, 0, 0x7F, 1,
                "Firmware update failed!"},
    CommandCase{"NothingAnswers", kBoard, {{Fault::Silence, 0, ""}}, 0, 0xFF, 1,
                "Timeout while waiting for data."}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(FirmwareCommandTest, AnImageReachingTheBootloaderSendsTheBoardBack) {
  TempFile file(VxhBytes(0x7B00, 0x7C00, Pattern(0x7B00, 0x7C00)));
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Error: File is 1 bytes too big!"));
  EXPECT_TRUE(BlockAddresses().empty());
  EXPECT_TRUE(Sent("01000000000000"));
  EXPECT_FALSE(board.InBootloader());
}

TEST_F(FirmwareCommandTest, NeitherOtherHardwareNorAnIgnoredRestartIsPressed) {
  board.SetIdentity(9, 1);
  TempFile file(VxhBytes(0, 0xFF, Pattern(0, 0xFF)));
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Different hardware \"Pirolux 1.x\" detected."));
  for (const auto& l : board.Lines()) EXPECT_EQ(l, "80");

  board.SetIdentity(5, 4);
  board.ClearLines();
  board.InjectFault(Fault::Lost, 0, "7F00");
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Firmware update failed!"));
  const auto lines = board.Lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "7F00"), 1) << "asked once, not again and again";
}

TEST_F(FirmwareCommandTest, APortThatIsNotThereIsAFailure) {
  TempFile file(VxhBytes(0, 0xFF, Pattern(0, 0xFF)));
  EXPECT_EQ(Run({"/dev/vmx-no-such-port", file.path()}), 1);
  EXPECT_THAT(out, HasSubstr("Error while connecting to /dev/vmx-no-such-port"));
}

class FirmwareCommandStopTest : public FirmwareCommandTest,
                                public ::testing::WithParamInterface<int> {};

TEST_P(FirmwareCommandStopTest, ASignalAmidTheBlocksLeavesTheBoardInItsBootloader) {
  server.SetLineRate(115200);  // about 12 ms a block
  TempFile file(VxhBytes(0, 0x1FFF, Pattern(0, 0x1FFF)));
  testing::Program cli({VMX_CLI_PROGRAM, "firmware", port, file.path()});
  ASSERT_NE(cli.ReadUntil("0x0400 ("), "");
  EXPECT_EQ(cli.Stop(GetParam()), 1);
  EXPECT_THAT(cli.out, HasSubstr(kStopped));
  EXPECT_THAT(cli.out, Not(HasSubstr("Resetting...")));
  for (const auto& l : board.Lines()) EXPECT_FALSE(l.starts_with("01")) << l;
  EXPECT_TRUE(board.InBootloader());
  EXPECT_LT(BlockAddresses().size(), 128u);
}

INSTANTIATE_TEST_SUITE_P(Signals, FirmwareCommandStopTest, ::testing::Values(SIGINT, SIGTERM));

}  // namespace
}  // namespace vmx
