// Edits against the link worker and the simulated board on a real pty: what
// reaches the board, and in which order, when edits, saves and reads meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "settings/device_actions.h"
#include "tests/support/link_on_pty.h"

namespace vmx {
namespace {

using namespace std::chrono_literals;

class WriteOrderTest : public ::testing::Test, protected testing::LinkOnPty<> {
 protected:
  WriteOrderTest() : LinkOnPty({.rows = 4}) { Start(); }
  void SetUp() override {
    ASSERT_TRUE(Connected());
    ASSERT_TRUE(WaitIdle());
    board.ClearLines();
  }
  // The Set lines of the given commands, e.g. {"03", "7F"}, cut to `width` characters.
  std::vector<std::string> Sets(std::initializer_list<const char*> commands, size_t width = 4) {
    std::vector<std::string> out;
    for (const auto& line : board.Lines())
      for (const char* c : commands)
        if (line.starts_with(c) && line.size() > 2) out.push_back(line.substr(0, width));
    return out;
  }
};

TEST_F(WriteOrderTest, SaveWaitsUntilEveryMarkedRowIsOnTheBoard) {
  host.RunOnUi([&] {
    for (int i = 0; i < 4; ++i)
      store.schedule[static_cast<size_t>(i)].Hour = static_cast<int8_t>(10 + i);
    store.MarkRows(0, 4, request::WriteSchedule);
    SaveSettings(store);
  });
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Sets({"03", "7F"}), (std::vector<std::string>{"0300", "0301", "0302", "0303", "7F01"}));
}

TEST_F(WriteOrderTest, ReefDefaultsComeAfterThePendingWritesAndAreNotOverwritten) {
  // Only the first identification and the defaults' read-back read the
  // weather record, the last of that read-back, after Config and the schedule.
  const std::string weatherShown =
      "page: " + std::to_string(static_cast<int>(RecordKind::ExpertWeather));
  const size_t weatherReads = host.Count(weatherShown);
  host.RunOnUi([&] {
    store.config.FanHigh = 11;
    store.expert.PWMPrescaler = 99;
    store.schedule[1].Hour = 3;
    store.MarkRows(1, 1, request::WriteConfig | request::WriteExpert | request::WriteSchedule);
    LoadReefDefaults(store);
  });
  ASSERT_TRUE(
      board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "7F04"); }, 5s));
  ASSERT_TRUE(host.WaitForEvent(weatherShown, 5s, weatherReads + 1))
      << "the defaults are read back";
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Sets({"02", "05", "03", "7F"}, 2), (std::vector<std::string>{"02", "05", "03", "7F"}));
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.config.FanHigh; }), 200);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.expert.PWMPrescaler; }), 5);
  EXPECT_EQ(store.config.FanHigh, 200) << "the defaults are read back";
  EXPECT_NE(store.schedule[1].Hour, 3);
}

TEST_F(WriteOrderTest, ARowEditedDuringTheDownloadIsKeptAndSent) {
  // The edit lands once the download has begun, before row 3 arrives.
  std::function<void()> editOnceDownloading = [&] {
    const auto events = host.Events();
    if (events.empty() || events.back() != "status: Downloading schedule...") {
      host.AfterNextHandOff(editOnceDownloading);
      return;
    }
    store.schedule[3].Hour = 23;
    store.schedule[3].Minute = 5;
    store.MarkRows(3, 1, request::WriteSchedule);
  };
  host.AfterNextHandOff(editOnceDownloading);
  store.Raise(request::ReadSchedule);
  ASSERT_TRUE(host.WaitForEvent("status: Done.", 5s));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(store.schedule[3].Hour, 23);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.schedule[3].Hour; }), 23);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.schedule[3].Minute; }), 5);
}

TEST_F(WriteOrderTest, AScheduleDownloadCutShortIsReadAgain) {
  board.With([](sim::BoardState& s) {
    s.schedule[3].Hour = 17;
    return 0;
  });
  board.InjectFault(sim::Fault::InvalidHex, 1, "83");
  store.Raise(request::ReadSchedule);
  ASSERT_TRUE(
      board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "83") >= 5; }, 5s))
      << "one cut short, then all four rows";
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(store.schedule[3].Hour, 17);
}

TEST_F(WriteOrderTest, ARowTheBoardDidNotAcknowledgeGoesOutAgain) {
  board.InjectFault(sim::Fault::Silence, 1, "03");
  host.RunOnUi([&] {
    store.schedule[2].Hour = 21;
    store.MarkRows(2, 1, request::WriteSchedule);
  });
  ASSERT_TRUE(
      board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "80") >= 1; }, 5s));
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Sets({"03"}), (std::vector<std::string>{"0302", "0302"}));
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.schedule[2].Hour; }), 21);
}

TEST_F(WriteOrderTest, ARowTheBoardNeverTakesIsGivenUpAndReadBack) {
  const int8_t onBoard = OnBoard([](sim::BoardState& s) { return s.schedule[2].Hour; });
  board.InjectFault(sim::Fault::Lost, 5, "03");
  host.RunOnUi([&] {
    store.schedule[2].Hour = static_cast<int8_t>(onBoard == 21 ? 22 : 21);
    store.MarkRows(2, 1, request::WriteSchedule);
  });
  ASSERT_TRUE(
      board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "83") >= 4; }, 10s))
      << "the schedule is downloaded again";
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Sets({"03"}).size(), 5u) << "sent five times, then given up";
  EXPECT_EQ(store.schedule[2].Hour, onBoard) << "the PC shows what the board holds";
}

TEST_F(WriteOrderTest, AfterPairingTheNextExpertWriteKeepsTheLearnedCodes) {
  host.RunOnUi([&] { PairIrRemote(store); });
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.expert.Up; }), 0x1000) << "pairing starts";
  // The board learns the remote's codes and saves them itself.
  board.With([](sim::BoardState& s) {
    s.expert.Up = 0x0ABC;
    s.expert.Step = 0x0123;
    return 0;
  });
  board.ClearLines();
  host.RunOnUi([&] {
    store.expert.JMPMode = 5;
    store.Raise(request::WriteExpert);
  });
  ASSERT_TRUE(WaitIdle());
  // Periodic reads of other records may come in between.
  const auto lines = board.Lines();
  const auto set = std::find_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with("05"); });
  ASSERT_NE(set, lines.end());
  EXPECT_NE(std::find(lines.begin(), set, "85"), set) << "the codes are read before the write";
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.expert.Up; }), 0x0ABC);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.expert.Step; }), 0x0123);
  EXPECT_EQ(OnBoard([](sim::BoardState& s) { return s.expert.JMPMode; }), 5);
  EXPECT_EQ(store.expert.Up, 0x0ABC);

  // Once read, the codes are fresh: the next write reads nothing first.
  board.ClearLines();
  host.RunOnUi([&] { store.Raise(request::WriteExpert); });
  ASSERT_TRUE(WaitIdle());
  const auto again = board.Lines();
  const auto second = std::find_if(again.begin(), again.end(),
                                   [](const std::string& l) { return l.starts_with("05"); });
  ASSERT_NE(second, again.end());
  EXPECT_EQ(std::find(again.begin(), second, "85"), second) << "nothing read first";
}

// Edits still waiting when the board hangs up: the new identification drops
// them, the keeper is told which, and no mark of a dropped row holds a later
// save back.
TEST(DroppedEdits, AHangUpWithEditsPendingSaysWhatWasNotSent) {
  // Back within the worker's openings.
  testing::LinkOnPty<> link({.rows = 8}, {.linkName = "board", .hangUpDowntime = 120ms});
  sim::SimBoard& board = link.board;
  SharedStore& store = link.store;
  testing::UiThreadHost& host = link.host;
  LinkTiming t = testing::FastLinkTiming();
  t.refreshPasses = 1'000'000;  // no refresh pass between the edits and their write
  link.Start(false, t);
  const std::string connected = "status: Connected to Velmarinex 2.x.4 on " + link.port;
  ASSERT_TRUE(host.WaitForEvent(connected, 5s));
  ASSERT_TRUE(testing::WaitLinkIdle(store, board));

  board.InjectFault(sim::Fault::HangUp, 1, "02");
  host.RunOnUi([&] {
    store.config.FanLow = 11;
    for (size_t row : {1, 3, 4, 5}) store.schedule[row].Hour = 9;
    store.MarkRows(1, 1, 0);
    store.MarkRows(3, 3, 0);
    store.Raise(request::WriteConfig | request::WriteSchedule);
  });
  EXPECT_TRUE(host.WaitForEvent(
      "status: Changes not sent, dropped when the board was identified again: Config, "
      "schedule lines 1, 3-5",
      10s));
  ASSERT_TRUE(host.WaitForEvent(connected, 10s, 2));
  ASSERT_TRUE(testing::WaitLinkIdle(store, board));
  EXPECT_EQ(store.RowMarks(), std::vector<bool>(8, false));

  board.ClearLines();
  host.RunOnUi([&] { SaveSettings(store); });
  EXPECT_TRUE(board.WaitFor([](const auto& l) { return std::count(l.begin(), l.end(), "7F01"); },
                            5s));
  const auto lines = board.Lines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.starts_with("03"); }),
            0);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.schedule[3].Hour; }), store.schedule[3].Hour)
      << "the board's row was read back over the dropped edit";
}

}  // namespace
}  // namespace vmx
