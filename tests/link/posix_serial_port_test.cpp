// The real termios port and the wire protocol against the simulated board on a
// real pseudo-terminal.
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <thread>

#include "link/posix_serial_port.h"
#include "link/wire_protocol.h"
#include "tests/support/board_on_pty.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;
using sim::Fault;

class SerialLinkTest : public ::testing::Test, protected testing::BoardOnPty {
 protected:
  SerialLinkTest() : proto(serial, [this](const std::string& s) { log.push_back(s); }, 300ms) {
    serial.Open(port);
  }

  PosixSerialPort serial;
  std::vector<std::string> log;
  WireProtocol proto;
};

TEST_F(SerialLinkTest, IdentifiesTheBoard) {
  ASSERT_TRUE(proto.Get("80", 2));
  EXPECT_EQ(proto.Buffer().payload[0], 5);
  EXPECT_EQ(proto.Buffer().payload[1], 4);
  EXPECT_THAT(board.Lines(), ::testing::ElementsAre("80"));
}

TEST_F(SerialLinkTest, ReadsTheLargestRecordAndWritesOne) {
  ASSERT_TRUE(proto.Get("87", 80));
  ASSERT_TRUE(proto.Get("81", 52));
  EXPECT_EQ(proto.Buffer().payload[0], 12) << "RowCount";

  Config c = board.With([](sim::BoardState& s) { return s.config; });
  c.FanLow = 123;
  ASSERT_TRUE(proto.Set("02", Encode(c)));
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.config.FanLow; }), 123);
}

TEST_F(SerialLinkTest, ShortReplyTimesOutSilently) {
  board.InjectFault(Fault::ShortReply);
  EXPECT_FALSE(proto.Get("80", 2));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(proto.Get("80", 2)) << "the next transaction purges the leftovers";
}

TEST_F(SerialLinkTest, SilenceLogsNoDataAndClosesThePort) {
  board.InjectFault(Fault::Silence);
  EXPECT_FALSE(proto.Get("80", 2));
  EXPECT_THAT(log, ::testing::ElementsAre("No data."));
  EXPECT_FALSE(serial.IsOpen());
}

TEST_F(SerialLinkTest, WrongEchoFailsSilently) {
  board.InjectFault(Fault::WrongEcho);
  EXPECT_FALSE(proto.Get("82", 31));
  EXPECT_TRUE(log.empty());
}

TEST_F(SerialLinkTest, InvalidHexIsLogged) {
  board.InjectFault(Fault::InvalidHex);
  EXPECT_FALSE(proto.Get("85", 57));
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(SerialLinkTest, LowerCaseHexAndCrLfAreAccepted) {
  board.InjectFault(Fault::LowerCase);
  ASSERT_TRUE(proto.Get("81", 52));
  EXPECT_EQ(proto.Buffer().payload[0], 12);
  board.InjectFault(Fault::CrLf);
  EXPECT_TRUE(proto.Get("80", 2));
  EXPECT_TRUE(proto.Get("80", 2)) << "the stray LF is purged";
}

TEST_F(SerialLinkTest, ZeroAcknowledgementSucceeds) {
  proto.SetDebug(true);
  board.InjectFault(Fault::ZeroAck);
  const uint8_t action[] = {2};
  EXPECT_TRUE(proto.Set("7F", action));
  EXPECT_EQ(log.back().substr(0, 7), "IN: \"\" ");
}

TEST_F(SerialLinkTest, DelayBeyondTheTimeoutFails) {
  board.InjectFault(Fault::Delay, 1, "", 500ms);
  EXPECT_FALSE(proto.Get("80", 2));
  board.InjectFault(Fault::Delay, 1, "", 50ms);
  std::this_thread::sleep_for(300ms);
  serial.Open(port);
  EXPECT_TRUE(proto.Get("80", 2)) << "a short delay is within the timeout";
}

TEST_F(SerialLinkTest, OtherIdentityIsReported) {
  board.SetIdentity(7, 1);
  ASSERT_TRUE(proto.Get("80", 2));
  EXPECT_EQ(proto.Buffer().payload[0], 7);
}

TEST_F(SerialLinkTest, HangUpClosesThePortAndTheDeviceComesBack) {
  testing::BoardOnPty linked({}, {.linkName = "board", .hangUpDowntime = 200ms});
  const std::string& link = linked.port;
  PosixSerialPort p;
  std::vector<std::string> lines;
  WireProtocol wp(p, [&](const std::string& s) { lines.push_back(s); }, 300ms);
  p.Open(link);
  linked.board.InjectFault(Fault::HangUp);
  EXPECT_FALSE(wp.Get("80", 2));
  EXPECT_FALSE(p.IsOpen()) << "a vanished device closes the port";
  ASSERT_FALSE(lines.empty());
  EXPECT_THAT(lines.back(), ::testing::HasSubstr("disconnected"));
  EXPECT_FALSE(wp.Get("80", 2)) << "no transaction on a closed port";

  bool reopened = false;
  for (int i = 0; i < 50 && !reopened; ++i) {
    std::this_thread::sleep_for(50ms);
    try {
      p.Open(link);
      reopened = true;
    } catch (const SerialError&) {
    }
  }
  ASSERT_TRUE(reopened);
  EXPECT_TRUE(wp.Get("80", 2));
}

TEST(PosixSerialPort, OpenFailuresAndSecondOpenerAreErrors) {
  PosixSerialPort p;
  EXPECT_THROW(p.Open("/dev/does-not-exist-vmx"), SerialError);
  EXPECT_FALSE(p.IsOpen());
  EXPECT_EQ(p.Name(), "/dev/does-not-exist-vmx");

  testing::BoardOnPty pty;
  PosixSerialPort first, second;
  first.Open(pty.port);
  EXPECT_THROW(second.Open(pty.port), SerialError) << "one program per board";
  first.Close();
  EXPECT_NO_THROW(second.Open(pty.port));
}

// What opening `path` throws for a user without rights to it. Root may open
// anything, so root tries as nobody, in a child process of its own.
enum class Opening { Fine, Denied, OtherError, NoChild };
Opening OpenAsOrdinaryUser(const std::string& path) {
  const pid_t child = ::fork();
  if (child < 0) return Opening::NoChild;
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(int(Opening::NoChild));
    try {
      PosixSerialPort port;
      port.Open(path);
      ::_exit(int(Opening::Fine));
    } catch (const SerialAccessDenied&) {
      ::_exit(int(Opening::Denied));
    } catch (const SerialError&) {
      ::_exit(int(Opening::OtherError));
    }
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return Opening::NoChild;
  return Opening(WEXITSTATUS(status));
}

TEST(PosixSerialPort, ADeniedOpeningIsToldApartFromMissingAndBusyPorts) {
  std::string path = ::testing::TempDir() + "vmx-denied-XXXXXX";
  const int fd = ::mkstemp(path.data());
  ASSERT_GE(fd, 0);
  ::fchmod(fd, 0);
  ::close(fd);
  EXPECT_EQ(OpenAsOrdinaryUser(path), Opening::Denied);
  ::unlink(path.c_str());
  EXPECT_EQ(OpenAsOrdinaryUser(path), Opening::OtherError) << "gone is not forbidden";

  testing::BoardOnPty pty;
  PosixSerialPort first, second;
  first.Open(pty.port);
  try {
    second.Open(pty.port);
    ADD_FAILURE() << "a second opener";
  } catch (const SerialAccessDenied&) {
    ADD_FAILURE() << "a busy port is no matter of permission";
  } catch (const SerialError&) {
  }
}

}  // namespace
}  // namespace vmx

namespace vmx {
namespace {

TEST(PosixSerialPort, InterruptCutsAWaitingReadShort) {
  testing::BoardOnPty pty;
  pty.board.InjectFault(sim::Fault::Silence, 0);
  PosixSerialPort p;
  p.Open(pty.port);
  std::thread cutter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    p.Interrupt();
  });
  std::array<uint8_t, 7> buf{};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(p.Read(buf, std::chrono::milliseconds(20000)), SerialError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  cutter.join();
  EXPECT_THROW(p.Purge(), SerialError) << "and stays interrupted";
}

}  // namespace
}  // namespace vmx
