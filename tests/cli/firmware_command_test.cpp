// velmarinex-cli firmware as a user runs it: the program against the simulated
// board's bootloader on a pty, judged by its exit code, what it says, the
// bytes on the wire and the board's flash afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "sim/pty_server.h"
#include "sim/sim_board.h"
#include "tests/cli/child_process.h"
#include "tests/link/vxh_file.h"

namespace vmx {
namespace {

using sim::Fault;
using testing::Child;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::Pattern;
using testing::TempFile;
using testing::VxhBytes;

constexpr const char* kUpdated = "Firmware successfully updated. Remove jumper (if set)!";
constexpr const char* kStopped = "Firmware update stopped. The board stays in its bootloader.";

class FirmwareCommandTest : public ::testing::Test {
 protected:
  explicit FirmwareCommandTest(sim::BoardOptions options = {.rows = 2})
      : board(options), server(board) {
    server.Start();
    port = server.PortPath();
  }

  // Runs the program to its end; its output lands in `out`.
  int Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv{VMX_CLI_PROGRAM, "firmware"};
    argv.insert(argv.end(), args.begin(), args.end());
    Child cli(argv, {"VELMARINEX_LINE_TIMEOUT_MS=300"});
    const int code = cli.Finish();
    out = cli.all;
    return code;
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

  sim::SimBoard board;
  sim::PtyServer server;
  std::string port;
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

TEST_F(FirmwareCommandTest, AnImageReachingTheBootloaderSendsTheBoardBack) {
  TempFile file(VxhBytes(0x7B00, 0x7C00, Pattern(0x7B00, 0x7C00)));
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Error: File is 1 bytes too big!"));
  EXPECT_TRUE(BlockAddresses().empty());
  EXPECT_TRUE(Sent("01000000000000"));
  EXPECT_FALSE(board.InBootloader());
}

TEST_F(FirmwareCommandTest, AnImageEndingJustBelowTheBootloaderIsWritten) {
  const auto data = Pattern(0x7800, 0x7BFF);
  TempFile file(VxhBytes(0x7800, 0x7BFF, data));
  EXPECT_EQ(Update(file), 0) << out;
  EXPECT_EQ(BlockAddresses().back(), 0x7BC0);
  EXPECT_EQ(board.BlocksIntoBootloader(), 0);
  EXPECT_TRUE(FlashHolds(0x7800, data));
}

TEST_F(FirmwareCommandTest, ZeroAcknowledgementsAndALostBlockStillUpdate) {
  // One fault a line: the lost block first, then the zeros.
  board.InjectFault(Fault::Silence, 1, "024000");
  board.InjectFault(Fault::ZeroAck, 0, "02");
  const auto data = Pattern(0, 0x1FF);
  TempFile file(VxhBytes(0, 0x1FF, data));
  EXPECT_EQ(Update(file), 0) << out;
  const auto blocks = BlockAddresses();
  EXPECT_EQ(std::count(blocks.begin(), blocks.end(), 0x40), 2);
  EXPECT_TRUE(FlashHolds(0, data));
}

TEST_F(FirmwareCommandTest, ABlockThatFailsTenTimesFailsTheUpdate) {
  board.InjectFault(Fault::Silence, 10, "024000");
  TempFile file(VxhBytes(0, 0x1FF, Pattern(0, 0x1FF)));
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Transmission error!"));
  EXPECT_THAT(out, HasSubstr("Firmware update failed!"));
  EXPECT_EQ(BlockAddresses().back(), 0x1C0);
}

TEST_F(FirmwareCommandTest, AResetWithoutAnswerOrBackIntoTheBootloaderIsAFailure) {
  TempFile file(VxhBytes(0, 0x7F, Pattern(0, 0x7F)));
  board.InjectFault(Fault::Silence, 1, "01");
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Firmware update failed!"));

  board.SetJumper(true);
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Firmware update failed!"));
  EXPECT_TRUE(board.InBootloader());
}

class FirmwareCommandSmallPageTest : public FirmwareCommandTest {
 protected:
  FirmwareCommandSmallPageTest() : FirmwareCommandTest({.rows = 2, .pageSize = 32}) {}
};

TEST_F(FirmwareCommandSmallPageTest, SmallPagesAreSentAsWhole128ByteUnits) {
  const auto data = Pattern(0x60, 0x9F);
  TempFile file(VxhBytes(0x60, 0x9F, data));
  EXPECT_EQ(Update(file), 0) << out;
  EXPECT_EQ(BlockAddresses(), (std::vector<int>{0x00, 0x40, 0x80, 0xC0}));
  EXPECT_TRUE(FlashHolds(0x60, data));
}

class FirmwareCommandInBootloaderTest : public FirmwareCommandTest {
 protected:
  FirmwareCommandInBootloaderTest() : FirmwareCommandTest({.rows = 2, .inBootloader = true}) {}
};

TEST_F(FirmwareCommandInBootloaderTest, ABoardAlreadyInItsBootloaderIsUpdatedAsItIs) {
  const auto data = Pattern(0, 0x3FF);
  TempFile file(VxhBytes(0, 0x3FF, data));
  EXPECT_EQ(Update(file), 0) << out;
  EXPECT_FALSE(Sent("7F00"));
  EXPECT_TRUE(FlashHolds(0, data));
}

class FirmwareCommandWrongVersionTest : public FirmwareCommandTest {
 protected:
  FirmwareCommandWrongVersionTest()
      : FirmwareCommandTest({.rows = 2, .version = 3, .versionAfterUpdate = 4}) {}
};

TEST_F(FirmwareCommandWrongVersionTest, AnotherVersionIsUpdatedToThisOne) {
  const auto data = Pattern(0, 0xFF);
  TempFile file(VxhBytes(0, 0xFF, data));
  EXPECT_EQ(Update(file), 0) << out;
  EXPECT_THAT(out, HasSubstr("Connected to Velmarinex 2.x.4 on " + port));
  EXPECT_TRUE(FlashHolds(0, data));
}

class FirmwareCommandForeignTest : public FirmwareCommandTest {
 protected:
  FirmwareCommandForeignTest() : FirmwareCommandTest({.rows = 2, .type = 9, .version = 1}) {}
};

TEST_F(FirmwareCommandForeignTest, OtherHardwareIsLeftAlone) {
  TempFile file(VxhBytes(0, 0xFF, Pattern(0, 0xFF)));
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Different hardware \"Pirolux 1.x\" detected."));
  for (const auto& l : board.Lines()) EXPECT_EQ(l, "80");
}

TEST_F(FirmwareCommandTest, NoBoardIsAFailure) {
  TempFile file(VxhBytes(0, 0xFF, Pattern(0, 0xFF)));
  board.InjectFault(Fault::Silence, 0);
  EXPECT_EQ(Update(file), 1) << "a port where nothing answers";
  EXPECT_THAT(out, HasSubstr("Timeout while waiting for data."));
  EXPECT_EQ(Run({"/dev/vmx-no-such-port", file.path()}), 1) << "a port that is not there";
  EXPECT_THAT(out, HasSubstr("Error while connecting to /dev/vmx-no-such-port"));
}

TEST_F(FirmwareCommandTest, ABoardThatStaysInItsApplicationIsAFailure) {
  board.InjectFault(Fault::Lost, 0, "7F00");
  TempFile file(VxhBytes(0, 0xFF, Pattern(0, 0xFF)));
  EXPECT_EQ(Update(file), 1);
  EXPECT_THAT(out, HasSubstr("Firmware update failed!"));
  const auto lines = board.Lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "7F00"), 1) << "asked once, not again and again";
}

class FirmwareCommandStopTest : public FirmwareCommandTest,
                                public ::testing::WithParamInterface<int> {};

TEST_P(FirmwareCommandStopTest, ASignalAmidTheBlocksLeavesTheBoardInItsBootloader) {
  server.SetLineRate(115200);  // about 12 ms a block
  TempFile file(VxhBytes(0, 0x1FFF, Pattern(0, 0x1FFF)));
  Child cli({VMX_CLI_PROGRAM, "firmware", port, file.path()});
  ASSERT_NE(cli.ReadUntil("0x0400 ("), "");
  EXPECT_EQ(cli.Stop(GetParam()), 1);
  cli.ReadUntil("\x01never\x01");
  EXPECT_THAT(cli.all, HasSubstr(kStopped));
  EXPECT_THAT(cli.all, Not(HasSubstr("Resetting...")));
  for (const auto& l : board.Lines()) EXPECT_FALSE(l.starts_with("01")) << l;
  EXPECT_TRUE(board.InBootloader());
  EXPECT_LT(BlockAddresses().size(), 128u);
}

INSTANTIATE_TEST_SUITE_P(Signals, FirmwareCommandStopTest, ::testing::Values(SIGINT, SIGTERM));

}  // namespace
}  // namespace vmx
