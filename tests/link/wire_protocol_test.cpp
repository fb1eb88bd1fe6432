#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <thread>

#include "link/wire_protocol.h"
#include "tests/link/fake_port.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// A port that answers each write with the next scripted reply. A read that
// cannot be filled waits out its timeout, as a real line would.
class ScriptedPort : public testing::FakePort {
 public:
  void Purge() override {
    Require();
    pending_.clear();
    ++purges;
  }
  void Write(std::span<const uint8_t> data, std::chrono::milliseconds) override {
    Require();
    written.emplace_back(data.begin(), data.end());
    if (!replies.empty()) {
      pending_ = replies.front();
      replies.pop_front();
    }
  }
  size_t Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override {
    Require();
    lastTimeout = timeout;
    const size_t n = std::min(buffer.size(), pending_.size());
    std::copy_n(pending_.begin(), n, buffer.begin());
    pending_.erase(0, n);
    if (n < buffer.size()) std::this_thread::sleep_for(timeout);
    return n;
  }

  std::deque<std::string> replies;
  std::vector<std::string> written;
  int purges = 0;
  std::chrono::milliseconds lastTimeout{0};

 private:
  void Require() const { RequireOpen(); }
  std::string pending_;
};

class WireProtocolTest : public ::testing::Test {
 protected:
  WireProtocolTest() : proto(port, [this](const std::string& s) { log.push_back(s); }, 40ms) {
    port.Open("/dev/ttyTEST");
  }
  ScriptedPort port;
  std::vector<std::string> log;
  WireProtocol proto;
};

TEST_F(WireProtocolTest, GetSendsThreeBytesAndDecodesTheReply) {
  port.replies.push_back("800504\r");
  ASSERT_TRUE(proto.Get("80", 2));
  EXPECT_THAT(port.written, ElementsAre("80\n"));
  EXPECT_EQ(port.purges, 1);
  EXPECT_EQ(proto.Buffer().echo, 0x80);
  EXPECT_EQ(proto.Buffer().payload[0], 5);
  EXPECT_EQ(proto.Buffer().payload[1], 4);
  EXPECT_TRUE(log.empty()) << "no trace without debug";
}

TEST_F(WireProtocolTest, LowerCaseHexAndLineFeedTerminatorDecode) {
  port.replies.push_back("8200ff7fab\n");
  ASSERT_TRUE(proto.Get("82", 4));
  EXPECT_EQ(proto.Buffer().payload[1], 0xFF);
  EXPECT_EQ(proto.Buffer().payload[2], 0x7F);
  EXPECT_EQ(proto.Buffer().payload[3], 0xAB);
}

TEST_F(WireProtocolTest, CrLfReplySatisfiesTheTerminatorWithItsCr) {
  port.replies.push_back("800504\r\n");
  EXPECT_TRUE(proto.Get("80", 2));
}

TEST_F(WireProtocolTest, OneByteShortWaitsTheWholeTimeoutAndFailsSilently) {
  port.replies.push_back("800504");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(proto.Get("80", 2));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 40ms);
  EXPECT_EQ(port.lastTimeout, 40ms);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(WireProtocolTest, WrongEchoOrMissingTerminatorFailSilently) {
  port.replies.push_back("810504\r");
  EXPECT_FALSE(proto.Get("80", 2));
  port.replies.push_back("8005040");
  EXPECT_FALSE(proto.Get("80", 2));
  EXPECT_TRUE(log.empty());
}

TEST_F(WireProtocolTest, NoDataLogsAndClosesThePort) {
  EXPECT_FALSE(proto.Get("81", 52));
  EXPECT_THAT(log, ElementsAre("No data."));
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(WireProtocolTest, InvalidHexLogsTheErrorAndKeepsWhatWasDecoded) {
  port.replies.push_back("8201G2\r");
  EXPECT_FALSE(proto.Get("82", 2));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("G2"), std::string::npos) << log[0];
  EXPECT_EQ(proto.Buffer().payload[0], 0x01);
}

TEST_F(WireProtocolTest, DebugTraceOfAGetQuotesTheCommandAndTheReply) {
  proto.SetDebug(true);
  port.replies.push_back("800504\r");
  ASSERT_TRUE(proto.Get("80", 2));
  ASSERT_EQ(log.size(), 2u);
  // The milliseconds between: digits only (a pattern would need POSIX regular
  // expressions, which the Windows build of GoogleTest lacks).
  const std::string_view out = log[0];
  ASSERT_TRUE(out.starts_with("OUT: \"80\" ") && out.ends_with(" ms")) << out;
  const std::string_view ms = out.substr(10, out.size() - 13);
  EXPECT_TRUE(!ms.empty() && ms.find_first_not_of("0123456789") == std::string_view::npos) << out;
  EXPECT_EQ(log[1].substr(0, 14), "IN: \"800504\r\" ");
  EXPECT_THAT(log[1], ::testing::EndsWith(" ms"));
}

TEST_F(WireProtocolTest, SetSendsUpperCaseHexAndLineFeed) {
  port.replies.push_back("K");
  const uint8_t payload[] = {0x00, 0xAB, 0x7F};
  ASSERT_TRUE(proto.Set("02", payload));
  EXPECT_THAT(port.written, ElementsAre("0200AB7F\n"));

  std::array<uint8_t, 52> info{};
  port.replies.push_back("K");
  ASSERT_TRUE(proto.Set("01", info));
  EXPECT_EQ(port.written.back().size(), 107u);
}

TEST_F(WireProtocolTest, SetTraceShowsTheLineFeedAndAZeroAckAsEmpty) {
  proto.SetDebug(true);
  port.replies.push_back(std::string(1, '\0'));
  const uint8_t payload[] = {0x01};
  EXPECT_TRUE(proto.Set("7F", payload)) << "the acknowledgement's value is not examined";
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].substr(0, 12), "OUT: \"7F01\n\"");
  EXPECT_EQ(log[1].substr(0, 7), "IN: \"\" ");
}

TEST_F(WireProtocolTest, SetWithoutAcknowledgementFailsSilently) {
  const uint8_t payload[] = {0x02};
  EXPECT_FALSE(proto.Set("7F", payload));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(port.IsOpen()) << "only a Get without any data closes the port";
}

TEST_F(WireProtocolTest, PortErrorsAreLoggedAndFail) {
  port.Close();
  const uint8_t payload[] = {0x02};
  EXPECT_FALSE(proto.Get("80", 2));
  EXPECT_FALSE(proto.Set("7F", payload));
  proto.StartBootloader();
  ASSERT_EQ(log.size(), 3u);
  for (const auto& line : log) EXPECT_THAT(line, ::testing::HasSubstr("not open"));
}

TEST_F(WireProtocolTest, StartBootloaderWritesFiveBytesAndReadsNothing) {
  port.replies.push_back("K");
  proto.StartBootloader();
  EXPECT_THAT(port.written, ElementsAre("7F00\n"));
  EXPECT_EQ(port.lastTimeout, 0ms) << "no read";
}

}  // namespace
}  // namespace vmx
