// The Windows serial port against the simulated board on a COM port of Wine.
#include "link/windows_serial_port.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "link/port_name.h"
#include "platform/windows_text.h"
#include "tests/windows/board_on_com.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::BoardOnCom;

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Ask(SerialPort& port, const std::string& line, size_t length,
                std::chrono::milliseconds timeout = 3000ms) {
  port.Purge();
  port.Write(Bytes(line), timeout);
  std::string reply(length, '\0');
  reply.resize(port.Read({reinterpret_cast<uint8_t*>(reply.data()), length}, timeout));
  return reply;
}

// The port opened as any program would, bypassing the class under test.
HANDLE OpenPlainly(const std::string& port) {
  return ::CreateFileW(WideText("\\\\.\\" + port).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

// Opens the port once the board is there (it may still be coming back from a hang-up).
void OpenWhenBack(WindowsSerialPort& port, const std::string& name) {
  const auto until = Clock::now() + 10s;
  for (;;) {
    try {
      port.Open(name);
      return;
    } catch (const SerialError&) {
      if (Clock::now() > until) throw;
      std::this_thread::sleep_for(100ms);
    }
  }
}

using WindowsSerialPortTest = BoardOnCom;

TEST_F(WindowsSerialPortTest, OpensAt115200EightNoneOneWithoutFlowControl) {
  // Another program left the line at 9600 7E2 with hardware and software handshake.
  HANDLE h = OpenPlainly(Port());
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << WindowsErrorText(::GetLastError());
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  ASSERT_TRUE(::GetCommState(h, &dcb));
  dcb.BaudRate = CBR_9600;
  dcb.ByteSize = 7;
  dcb.Parity = EVENPARITY;
  dcb.StopBits = TWOSTOPBITS;
  dcb.fOutxCtsFlow = TRUE;
  dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  dcb.fOutX = dcb.fInX = TRUE;
  ASSERT_TRUE(::SetCommState(h, &dcb));
  ::CloseHandle(h);

  WindowsSerialPort port;
  OpenWhenBack(port, Port());
  port.Close();

  h = OpenPlainly(Port());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DCB now{};
  now.DCBlength = sizeof now;
  ASSERT_TRUE(::GetCommState(h, &now));
  ::CloseHandle(h);
  EXPECT_EQ(now.BaudRate, 115200u);
  EXPECT_EQ(now.ByteSize, 8);
  EXPECT_EQ(now.Parity, NOPARITY);
  EXPECT_EQ(now.StopBits, ONESTOPBIT);
  EXPECT_FALSE(now.fOutxCtsFlow);
  EXPECT_NE(now.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
  EXPECT_FALSE(now.fOutX);
  EXPECT_FALSE(now.fInX);
}

TEST_F(WindowsSerialPortTest, EveryFormOfThePortNameReachesTheBoard) {
  const std::string number = Port().substr(3);
  for (const std::string& given : {"COM" + number, "com" + number, "\\\\.\\COM" + number}) {
    SCOPED_TRACE(given);
    WindowsSerialPort port;
    OpenWhenBack(port, PortFromArgument(given));
    EXPECT_EQ(port.Name(), Port());
    EXPECT_EQ(Ask(port, "80\n", 7), "800504\r");
  }
}

TEST_F(WindowsSerialPortTest, RepliesOfEveryLengthArriveWhole) {
  struct Case {
    const char* line;
    size_t length;  // two hex digits a byte, the echo and the line end
  } const cases[] = {{"80\n", 7}, {"81\n", 2 * 52 + 3}, {"82\n", 2 * 31 + 3}, {"85\n", 2 * 57 + 3}};
  WindowsSerialPort port;
  OpenWhenBack(port, Port());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string reply = Ask(port, c.line, c.length);
    ASSERT_EQ(reply.size(), c.length);
    EXPECT_EQ(reply.substr(0, 2), std::string(c.line, 2));
    EXPECT_EQ(reply.back(), '\r');
  }
}

TEST_F(WindowsSerialPortTest, ASilentBoardEndsTheReadAtItsDeadlineWithNothing) {
  WindowsSerialPort port;
  OpenWhenBack(port, Port());
  Type("fault silence");
  const auto begun = Clock::now();
  EXPECT_EQ(Ask(port, "80\n", 7, 400ms), "");
  EXPECT_GE(Clock::now() - begun, 350ms) << "the read must wait out its time";
  EXPECT_TRUE(port.IsOpen()) << "silence is no reason to let go of the port";
  Type("clear");
  EXPECT_EQ(Ask(port, "80\n", 7), "800504\r");
}

TEST_F(WindowsSerialPortTest, PurgeDropsAReplyNobodyReadYet) {
  WindowsSerialPort port;
  OpenWhenBack(port, Port());
  port.Write(Bytes("80\n"), 1000ms);
  std::this_thread::sleep_for(300ms);
  port.Purge();
  uint8_t byte = 0;
  EXPECT_EQ(port.Read({&byte, 1}, 300ms), 0u);
}

TEST_F(WindowsSerialPortTest, InterruptCutsAWaitingReadShortAndEveryOneAfter) {
  WindowsSerialPort port;
  OpenWhenBack(port, Port());
  Type("fault silence");
  port.Write(Bytes("80\n"), 1000ms);
  std::thread closer([&] {
    std::this_thread::sleep_for(200ms);
    port.Interrupt();
  });
  uint8_t reply[7];
  const auto begun = Clock::now();
  EXPECT_THROW(port.Read(reply, 20000ms), SerialError);
  closer.join();
  EXPECT_LT(Clock::now() - begun, 10000ms);
  EXPECT_THROW(port.Write(Bytes("80\n"), 1000ms), SerialError);
}

TEST_F(WindowsSerialPortTest, ABoardThatGoesAwayClosesThePortUntilItIsBack) {
  WindowsSerialPort port;
  OpenWhenBack(port, Port());
  Type("hangup 1500");
  try {
    Ask(port, "80\n", 7);
    ADD_FAILURE() << "a vanished board must fail the exchange";
  } catch (const SerialError& e) {
    EXPECT_NE(std::string(e.what()).find("device disconnected"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(port.IsOpen());
  OpenWhenBack(port, Port());
  EXPECT_EQ(Ask(port, "80\n", 7), "800504\r");
}

TEST_F(WindowsSerialPortTest, OpeningFailuresSayWhy) {
  WindowsSerialPort first, second;
  OpenWhenBack(first, Port());
  try {
    second.Open(Port());
    ADD_FAILURE() << "a port is never shared";
  } catch (const SerialAccessDenied&) {
    ADD_FAILURE() << "a held port is no question of rights";
  } catch (const SerialError& e) {
    EXPECT_EQ(std::string(e.what()), Port() + ": port in use");
  }
  EXPECT_FALSE(second.IsOpen());
  try {
    second.Open("COM231");
    ADD_FAILURE() << "there is no COM231";
  } catch (const SerialError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("COM231: ")) << e.what();
  }
}

}  // namespace
}  // namespace vmx
