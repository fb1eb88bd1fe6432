// The link worker against the simulated board over a real pty: the order of
// transactions on the wire and the reports handed to the UI.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <thread>

#include "tests/support/link_on_pty.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;
using sim::Fault;
using ::testing::HasSubstr;

std::vector<std::string> Commands(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(l.substr(0, 2));
  return out;
}

class WorkerTest : public ::testing::Test, protected testing::LinkOnPty<> {
 protected:
  explicit WorkerTest(sim::BoardOptions options = {.rows = 4}) : LinkOnPty(options) {}

  // Waits until the board has received `count` lines.
  bool WaitLines(size_t count) {
    return board.WaitFor([&](const auto& l) { return l.size() >= count; }, 5s);
  }
};

TEST_F(WorkerTest, FirstIdentificationReadsTheInitialSetInStepOrder) {
  Start();
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitLines(10));
  const auto cmds = Commands(board.Lines());
  const std::vector<std::string> expected{"80", "82", "81", "85", "83", "83",
                                          "83", "83", "87", "86"};
  EXPECT_EQ(std::vector<std::string>(cmds.begin(), cmds.begin() + 10), expected);

  // Then every 25 passes GetConfig and GetInfo.
  ASSERT_TRUE(WaitLines(14));
  const auto later = Commands(board.Lines());
  EXPECT_EQ(std::vector<std::string>(later.begin() + 10, later.begin() + 14),
            (std::vector<std::string>{"82", "81", "82", "81"}));

  const auto events = host.Events();
  EXPECT_EQ(events[0], "status: Connecting to " + port + "...");
  EXPECT_EQ(events[1], "status: Connected to " + port);
  EXPECT_EQ(events[2], "state: 1");
  EXPECT_EQ(events[3], "status: Connected to Velmarinex 2.x.4 on " + port);
  EXPECT_EQ(store.info.RowCount, 4);
  EXPECT_EQ(store.schedule.size(), 4u);
  EXPECT_EQ(store.config.FanLow, 77) << "records arrived";
  EXPECT_NE(store.chart.Sample[0], 0x7FFF);
}

TEST_F(WorkerTest, SamePortNameCausesNoReconnection) {
  Start();
  ASSERT_TRUE(Connected());
  worker->SetPort(port + " (pseudo-terminal)", false);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(host.Count("status: Connecting to " + port + "..."), 1u);
  EXPECT_EQ(host.Count("state: 0"), 0u);
}

TEST_F(WorkerTest, AnotherPortNameReconnects) {
  testing::BoardOnPty other({.rows = 2});
  Start();
  ASSERT_TRUE(Connected());
  worker->SetPort(other.port, false);
  ASSERT_TRUE(host.WaitForEvent("status: Connected to Velmarinex 2.x.4 on " + other.port, 5s));
  EXPECT_EQ(host.Count("state: 0"), 1u);
  ASSERT_TRUE(other.board.WaitFor([](const auto& l) { return !l.empty(); }, 1s));
  EXPECT_EQ(other.board.Lines()[0], "80");
}

TEST_F(WorkerTest, FiveFailedOpeningsEndTheWorker) {
  port = "/dev/vmx-no-such-port";
  Start();
  ASSERT_TRUE(worker->WaitClosed(10s));
  ASSERT_TRUE(host.WaitForEvent("state: 0", 5s));
  const auto events = host.Events();
  EXPECT_EQ(host.Count("status: Trying again..."), 4u);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[events.size() - 3], "status: Error while connecting to /dev/vmx-no-such-port");
  EXPECT_EQ(events[events.size() - 2], "status: Disconnected from /dev/vmx-no-such-port");
  EXPECT_EQ(events.back(), "state: 0");
  size_t errors = 0;
  for (const auto& e : events) errors += e.starts_with("log: /dev/vmx-no-such-port");
  EXPECT_EQ(errors, 5u) << "each failed opening logs its error";
  EXPECT_TRUE(worker->LinkClosed());
}

// A device of a group this user is not in.
class DeniedPort final : public SerialPort {
 public:
  void Open(const std::string& name) override {
    name_ = name;
    throw SerialAccessDenied(name + ": Permission denied");
  }
  void Close() override {}
  bool IsOpen() const override { return false; }
  const std::string& Name() const override { return name_; }
  void Purge() override { throw SerialError("not open"); }
  void Write(std::span<const uint8_t>, std::chrono::milliseconds) override {
    throw SerialError("not open");
  }
  size_t Read(std::span<uint8_t>, std::chrono::milliseconds) override {
    throw SerialError("not open");
  }
  void Interrupt() override {}

 private:
  std::string name_;
};

TEST_F(WorkerTest, DeniedOpeningNamesTheDialoutGroupOnceARun) {
  port = "/dev/vmx-no-such-port";
  Start();
  ASSERT_TRUE(worker->WaitClosed(10s));
  worker.reset();
  for (int run = 0; run < 2; ++run) {
    worker = TthdCom::Create("/dev/ttyUSB7", false, store, host, testing::FastLinkTiming(),
                             [] { return std::make_unique<DeniedPort>(); });
    ASSERT_TRUE(worker->WaitClosed(10s));
    worker.reset();
  }
  const auto events = host.Events();
  std::vector<size_t> denied, hints;
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i] == "log: /dev/ttyUSB7: Permission denied") denied.push_back(i);
    if (events[i].find("dialout") != std::string::npos) hints.push_back(i);
  }
  EXPECT_EQ(denied.size(), 10u) << "every attempt of both workers is logged";
  ASSERT_EQ(hints.size(), 1u) << "a missing port gets no hint, the denied ones one in all";
  ASSERT_FALSE(denied.empty());
  EXPECT_EQ(hints[0], denied[0] + 1) << "right after the first denial";
  EXPECT_THAT(events[hints[0]], HasSubstr("log: You may not use this serial port. Add your "
                                          "user to the group dialout (sudo adduser "));
  EXPECT_THAT(events[hints[0]], ::testing::EndsWith(" dialout), then log out and in again."));
}

TEST_F(WorkerTest, IdenticalReidentificationChangesNothing) {
  Start();
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  const size_t before = host.Events().size();
  board.InjectFault(Fault::ShortReply, 1, "81");
  board.ClearLines();
  store.Raise(request::ReadInfo | request::ReadExpert);
  ASSERT_TRUE(board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "85"); }, 5s));
  const auto cmds = Commands(board.Lines());
  const auto failed = std::find(cmds.begin(), cmds.end(), "81");
  ASSERT_LT(failed + 1, cmds.end());
  EXPECT_EQ(*(failed + 1), "80") << "a failed transaction is followed by GetDevice";
  EXPECT_NE(std::find(failed, cmds.end(), "85"), cmds.end())
      << "the same identity keeps the pending requests";
  const auto events = host.Events();
  for (size_t i = before; i < events.size(); ++i) EXPECT_THAT(events[i], ::testing::StartsWith("page"));
}

TEST_F(WorkerTest, ReadInfoWaitsForAPendingChannelWrite) {
  // A periodic refresh falling due in the same pass would read the config
  // between the two lines looked at.
  LinkTiming timing = testing::FastLinkTiming();
  timing.refreshPasses = 1'000'000;
  Start(false, timing);
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  board.ClearLines();
  host.RunOnUi([&] {
    store.info.Channel[2] = 2048;
    store.Raise(request::WriteInfoChannels | request::ReadInfo);
  });
  ASSERT_TRUE(WaitIdle());
  const auto lines = board.Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 2), "01");
  EXPECT_EQ(lines[0].substr(2 + 14, 2), "FF") << "Minute masked";
  EXPECT_EQ(lines[1], "81");
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.info.Channel[2]; }), 2048);
}

TEST_F(WorkerTest, MarkedRowsGoOnePerPassAndTheBitClearsAfterwards) {
  Start();
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  board.ClearLines();
  host.RunOnUi([&] {
    for (int i : {3, 0, 2}) {
      store.schedule[i].Hour = static_cast<int8_t>(10 + i);
      store.MarkRows(static_cast<size_t>(i), 1, 0);
    }
    store.Raise(request::WriteSchedule);
  });
  ASSERT_TRUE(WaitIdle());
  std::vector<std::string> rows;
  for (const auto& l : board.Lines())
    if (l.starts_with("03")) rows.push_back(l.substr(2, 4));
  EXPECT_EQ(rows, (std::vector<std::string>{"000A", "020C", "030D"}));
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.schedule[3].Hour; }), 13);
}

TEST_F(WorkerTest, EachKindOfFailedTransactionIsFollowedByGetDevice) {
  // A periodic refresh falling due in the pass looked at would put its reads
  // before the failed one.
  LinkTiming timing = testing::FastLinkTiming();
  timing.refreshPasses = 1'000'000;
  Start(false, timing);
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  for (Fault f : {Fault::ShortReply, Fault::WrongEcho, Fault::InvalidHex}) {
    board.InjectFault(f, 1, "85");
    board.ClearLines();
    store.Raise(request::ReadExpert);
    ASSERT_TRUE(board.WaitFor([](const auto& l) { return l.size() >= 2; }, 5s));
    EXPECT_EQ(Commands(board.Lines())[1], "80") << sim::FaultName(f);
    ASSERT_TRUE(WaitIdle());
  }
  // A Set without acknowledgement.
  board.InjectFault(Fault::Silence, 1, "05");
  board.ClearLines();
  store.Raise(request::WriteExpert);
  ASSERT_TRUE(board.WaitFor([](const auto& l) { return l.size() >= 2; }, 5s));
  EXPECT_EQ(Commands(board.Lines())[1], "80");
  EXPECT_EQ(host.Count("state: 0"), 0u) << "the board answered again: still connected";
}

TEST_F(WorkerTest, AWriteLostOnItsWayIsSentAgainUntilItArrivesOrFailsFiveTimes) {
  Start();
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  // A SetSchedule and, twice in a row, a SetExpert never reach the board;
  // nothing acknowledges them, the board answers GetDevice as before.
  board.InjectFault(Fault::Lost, 1, "03");
  board.InjectFault(Fault::Lost, 2, "05");
  host.RunOnUi([&] {
    store.schedule[2].Minute = 42;
    store.MarkRows(2, 1, 0);
    store.expert.RandomInit = 9;
    store.Raise(request::WriteSchedule | request::WriteExpert);
  });
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.schedule[2].Minute; }), 42);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.expert.RandomInit; }), 9);
  EXPECT_EQ(host.Count("state: 0"), 0u) << "the same board all along";

  // A board that never takes the write: the fifth loss in a row gives it up.
  board.InjectFault(Fault::Lost, 5, "05");
  host.RunOnUi([&] {
    store.expert.RandomInit = 10;
    store.Raise(request::WriteExpert);
  });
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.expert.RandomInit; }), 9);
}

TEST_F(WorkerTest, AnExplicitPathWithABlankIsOpenedWhole) {
  testing::BoardOnPty other({.rows = 1}, {.linkName = "my board"});
  port = other.port;
  Start();
  EXPECT_TRUE(Connected());
  EXPECT_EQ(worker->PortName(), port);
  host.ShutDown();
  worker.reset();
}

TEST_F(WorkerTest, NoDataClosesThePortAndStartsAConnectionCycle) {
  Start();
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  board.InjectFault(Fault::Silence, 1, "82");
  store.Raise(request::ReadConfig);
  ASSERT_TRUE(host.WaitForEvent("status: Connecting to " + port + "...", 5s, 2));
  EXPECT_TRUE(Connected(2)) << "the board answers again";
  const auto events = host.Events();
  const auto at = [&](const std::string& e) {
    return std::find(events.begin(), events.end(), e) - events.begin();
  };
  EXPECT_LT(at("log: No data."), at("log: Timeout while waiting for data."));
  EXPECT_LT(at("log: Timeout while waiting for data."), at("status: Connection error or wrong serial port"));
  EXPECT_EQ(host.Count("log: Timeout while waiting for data."), 1u)
      << "a closed port stops identification after its first attempt";
}

TEST_F(WorkerTest, ASilentBoardLeadsToConnectionErrorAndANewCycle) {
  Start();
  ASSERT_TRUE(Connected());
  board.InjectFault(Fault::Silence, 0);
  ASSERT_TRUE(host.WaitForEvent("status: Connection error or wrong serial port", 10s));
  ASSERT_TRUE(host.WaitForEvent("status: Connecting to " + port + "...", 5s, 2));
  EXPECT_GE(host.Count("state: 0"), 1u);
  board.ClearFaults();
  EXPECT_TRUE(Connected(2));
}

TEST_F(WorkerTest, TerminatingDuringAScheduleReadEndsAfterTheRow) {
  board.With([](sim::BoardState& s) {
    s.info.RowCount = 40;
    s.schedule.resize(40);
    return 0;
  });
  board.InjectFault(Fault::Delay, 0, "83", 20ms);
  Start();
  ASSERT_TRUE(board.WaitFor([](const auto& l) {
    return std::count(l.begin(), l.end(), "83") >= 3;
  }, 5s));
  worker->Terminate();
  ASSERT_TRUE(worker->WaitClosed(5s));
  ASSERT_TRUE(host.WaitForEvent("state: 0", 5s));
  const auto lines = board.Lines();
  EXPECT_LT(std::count(lines.begin(), lines.end(), "83"), 40);
  EXPECT_FALSE(store.Pending(request::ReadSchedule));
  EXPECT_EQ(host.Events().back(), "state: 0");
}

TEST_F(WorkerTest, HangUpIsSurvivedAndTheWorkerReconnects) {
  // Back within the worker's five openings (50 ms apart with the test's timing).
  testing::BoardOnPty linked({}, {.linkName = "board", .hangUpDowntime = 120ms});
  port = linked.port;
  Start();
  ASSERT_TRUE(Connected());
  linked.board.InjectFault(Fault::HangUp, 1, "81");
  store.Raise(request::ReadInfo);
  ASSERT_TRUE(Connected(2));
  EXPECT_GE(host.Count("status: Connecting to " + port + "..."), 2u);
  bool logged = false;
  for (const auto& e : host.Events()) logged |= e.find("disconnected") != std::string::npos;
  EXPECT_TRUE(logged);
}

TEST_F(WorkerTest, DebugTraceNamesEveryCommand) {
  Start(true);
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  const auto events = host.Events();
  const auto first = std::find(events.begin(), events.end(), "log: GetDevice");
  ASSERT_NE(first, events.end());
  EXPECT_THAT(*(first + 1), ::testing::MatchesRegex("log: OUT: \"80\" [0-9]+ ms"));
  EXPECT_THAT(*(first + 2), ::testing::StartsWith("log: IN: \"800504\r\" "));
  EXPECT_NE(std::find(events.begin(), events.end(), "log: GetSchedule"), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), "log: GetExpertWeather"), events.end());
}

TEST_F(WorkerTest, ActionsAndLoadReefGoOutInTheirOrder) {
  Start();
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  board.ClearLines();
  // Raised while the worker is handing over a read, i.e. past LoadReef's step
  // but before the actions': the actions go out in this pass in their order,
  // LoadReef at the head of the next one.
  host.AfterNextHandOff([&] {
    store.Raise(request::ToggleStorm | request::SaveEEPROM | request::ToggleCloud |
                request::LoadReef);
  });
  store.Raise(request::ReadConfig);
  ASSERT_TRUE(board.WaitFor(
      [](const auto& l) { return std::count(l.begin(), l.end(), "7F04") == 1; }, 5s));
  ASSERT_TRUE(WaitIdle());
  const auto lines = board.Lines();
  std::vector<std::string> actions;
  for (const auto& l : lines)
    if (l.starts_with("7F")) actions.push_back(l);
  EXPECT_EQ(actions, (std::vector<std::string>{"7F01", "7F02", "7F03", "7F04"}));
  const auto reef = std::find(lines.begin(), lines.end(), "7F04");
  ASSERT_LT(reef + 1, lines.end());
  EXPECT_EQ(reef[1], "82") << "LoadReef reads everything back";
}

TEST_F(WorkerTest, BootloaderRequestRestartsTheBoardAndResetsItWithoutAFile) {
  Start();
  ASSERT_TRUE(Connected());
  ASSERT_TRUE(WaitIdle());
  // The periodic refresh reads Info ("81", as the bootloader's BootInfo) and
  // may fall due in any pass. The request is raised in the hand-off of such a
  // read, where the worker is past its refresh step: the lines from there on
  // belong to the request.
  std::function<void()> raiseAfterInfo = [&] {
    host.AfterNextHandOff([&] {
      const auto events = host.Events();
      if (events.empty() || events.back() != "page: 0") return raiseAfterInfo();
      board.ClearLines();
      store.Raise(request::Bootloader);
    });
  };
  raiseAfterInfo();
  ASSERT_TRUE(host.WaitForEvent("status: Connected to Velmarinex bootloader on " + port, 5s));
  // Within 25 passes the bootloader step asks for BootInfo, finds no file and resets.
  ASSERT_TRUE(Connected(2));
  const auto lines = board.Lines();
  std::vector<std::string> boot;
  for (const auto& l : lines)
    if (l == "7F00" || l == "81" || l == "01000000000000") boot.push_back(l);
  ASSERT_GE(boot.size(), 3u);
  EXPECT_EQ(boot[0], "7F00");
  EXPECT_NE(std::find(boot.begin(), boot.end(), "01000000000000"), boot.end());
  EXPECT_GE(host.Count("log: Resetting..."), 1u);
}

class ForeignBoardTest : public WorkerTest, public ::testing::WithParamInterface<std::pair<int, std::string>> {
 protected:
  ForeignBoardTest() : WorkerTest({.rows = 2, .type = static_cast<uint8_t>(GetParam().first), .version = 1}) {}
};

TEST_P(ForeignBoardTest, OtherHardwareEndsTheWorker) {
  Start();
  ASSERT_TRUE(worker->WaitClosed(5s));
  EXPECT_EQ(host.Count("status: Different hardware \"" + GetParam().second +
                       "\" detected. Please use the correct software!"),
            1u);
  EXPECT_EQ(host.Count("state: 1"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Types, ForeignBoardTest,
                         ::testing::Values(std::pair<int, std::string>{7, "Ostrana 2.x"},
                                           std::pair<int, std::string>{12, "12"},
                                           std::pair<int, std::string>{0, "Velmarinex 1.x"}));

TEST_F(WorkerTest, WrongFirmwareVersionNeverEnables) {
  board.SetIdentity(5, 3);
  Start();
  ASSERT_TRUE(host.WaitForEvent(
      "status: Velmarinex 2.x.3 on " + port +
          " detected (different firmware version). Please use the correct software version or "
          "update the firmware (see menu \"File\")!",
      5s));
  // The periodic identification goes on; the UI stays disabled.
  ASSERT_TRUE(board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "80") >= 3; }, 5s));
  EXPECT_EQ(host.Count("state: 1"), 0u);
  EXPECT_EQ(store.Requests(), 0u);
  EXPECT_FALSE(worker->LinkClosed());
}

TEST_F(WorkerTest, AbortCutsATransactionShort) {
  Start(false, [] {
    LinkTiming t = testing::FastLinkTiming();
    t.serialTimeout = 5000ms;
    return t;
  }());
  ASSERT_TRUE(Connected());
  board.InjectFault(Fault::Silence, 0, "88");
  store.Raise(request::ReadHealth);
  ASSERT_TRUE(board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "88") >= 1; }, 5s));
  host.ShutDown();
  const auto start = std::chrono::steady_clock::now();
  worker.reset();  // aborts and joins
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "the 5 s read was not waited for";
}

// The UI side raises random requests and edits records on its own thread while
// the worker serves them. Run under the thread sanitizer in CI.
TEST_F(WorkerTest, StressRandomRequestsAndEdits) {
  Start();
  ASSERT_TRUE(Connected());
  std::mt19937 rng(12345);
  // A fixed number of edits, not a fixed time: a loaded machine must not
  // change what is tested.
  for (int edits = 0; edits < 300; ++edits) {
    const uint32_t bits = rng() & 0x3FFFF & ~request::Bootloader & ~request::LoadReef;
    host.RunOnUi([&] {
      store.config.FanLow = static_cast<uint8_t>(rng());
      store.info.Channel[rng() % 12] = static_cast<int16_t>(rng() % 4097);
      store.weather.Balance[rng() % 12] = static_cast<uint8_t>(rng() % 101);
      if (!store.schedule.empty()) {
        const size_t i = rng() % store.schedule.size();
        store.schedule[i].Minute = static_cast<int8_t>(rng() % 60);
        store.MarkRows(i, 1, 0);  // under the lock, as the editors mark rows
      }
      store.Raise(bits);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 8));
  }
  host.RunOnUi([&] {
    store.config.FanHigh = 211;
    store.Raise(request::WriteConfig);
  });
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.config.FanHigh; }), 211);
  EXPECT_EQ(host.Count("state: 0"), 0u) << "the link never dropped";
}

}  // namespace
}  // namespace vmx
