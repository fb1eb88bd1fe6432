// Modes, actions and the schedule grid in the real window, with the real
// worker and the simulated board on a pty: keys and clicks in, bytes out.
#include <gmock/gmock.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>

#include "editor/schedule_grid.h"
#include "link/request_flags.h"
#include "settings/schedule_grid.h"
#include "tests/app/window_fixture.h"
#include "tests/ui/scripted_dialogs.h"

namespace vmx::testing {
namespace {

class OptionsWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    board.With([](sim::BoardState& s) {
      s.expert.Up = 0x0042;
      s.expert.Step = 0x0F00;
      return 0;
    });
    StartOptions o = Options({"-english", pty});
    o.dialogs = &dialogs;
    window = std::make_unique<TfrmLantix>(o);
    EXPECT_TRUE(WaitForPages(*window));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(WaitFullRead(pty));
    ASSERT_TRUE(Settled());
    board.ClearLines();
  }

  // Every request served and the board quiet for a moment (the periodic
  // reads go on; they are Gets).
  bool Settled() {
    return QTest::qWaitFor(
        [&] { return window->Store().Requests() == 0 && !window->Store().WritesPending(); }, 5000);
  }
  bool WaitLine(const std::string& prefix, size_t count = 1) {
    return QTest::qWaitFor([&] { return Lines(prefix).size() >= count; }, 5000);
  }
  // The lines the board received that start with `prefix`.
  std::vector<std::string> Lines(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& l : board.Lines())
      if (l.starts_with(prefix)) out.push_back(l);
    return out;
  }
  // Every Set the board received, by command: what the PC changed.
  std::vector<std::string> Sets() const {
    std::vector<std::string> out;
    for (const auto& l : board.Lines())
      if (l.size() > 2) out.push_back(l.substr(0, 2));
    return out;
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window.get(), static_cast<Qt::Key>(key), modifiers);
  }
  std::string BoardConfigHex() {
    const Config c = board.With([](sim::BoardState& s) { return s.config; });
    std::string hex;
    char buf[3];
    for (uint8_t b : Encode(c)) {
      std::snprintf(buf, sizeof buf, "%02X", b);
      hex += buf;
    }
    return hex;
  }
  ScheduleGrid* Grid() const { return window->findChild<ScheduleGrid*>("sgSchedule"); }

  ScriptedDialogs dialogs;
};

TEST_F(OptionsWindowTest, CtrlF1SendsOneSetConfigWithModeZeroAndNothingElse) {
  const std::string before = BoardConfigHex();
  ASSERT_EQ(before.substr(0, 2), "01") << "the board runs Auto";
  Key(Qt::Key_F1, Qt::ControlModifier);
  ASSERT_TRUE(WaitLine("02"));
  ASSERT_TRUE(Settled());
  QTest::qWait(100);
  EXPECT_EQ(Sets(), std::vector<std::string>{"02"});
  EXPECT_EQ(Lines("02")[0], "0200" + before.substr(2));
  EXPECT_EQ(CurrentPage(), "tsChannels");
  EXPECT_TRUE(window->findChild<QWidget*>("trb0")->isEnabled()) << "Manual enables the sliders";
}

TEST_F(OptionsWindowTest, CtrlSAfterAnImportSendsEveryRowBeforeTheSave) {
  // What a schedule import leaves behind: new rows, each one marked.
  SharedStore& store = window->Store();
  for (size_t i = 0; i < store.schedule.size(); ++i)
    store.schedule[i].Timer = static_cast<int16_t>(100 + i);
  store.MarkRows(0, store.schedule.size(), request::WriteSchedule);
  Key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(WaitLine("7F01"));
  std::vector<std::string> order;
  for (const auto& l : board.Lines())
    if (l.starts_with("03") || l.starts_with("7F")) order.push_back(l.substr(0, 4));
  EXPECT_EQ(order, (std::vector<std::string>{"0300", "0301", "0302", "0303", "7F01"}));
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.schedule[3].Timer; }), 103);
}

TEST_F(OptionsWindowTest, PairingNoYesYesRestoresTheCodesOnTheBoard) {
  dialogs.answers = {false, true, true};
  Key(Qt::Key_R, Qt::ControlModifier);
  QTest::qWait(150);
  EXPECT_TRUE(Lines("05").empty()) << "No sends nothing";
  Key(Qt::Key_R, Qt::ControlModifier);
  ASSERT_TRUE(WaitLine("05"));
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.expert.Up; }), 0x1042);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.expert.Step; }), 0x1F00);
  Key(Qt::Key_R, Qt::ControlModifier);
  ASSERT_TRUE(WaitLine("05", 2));
  ASSERT_TRUE(Settled());
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.expert.Up; }), 0x0042);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.expert.Step; }), 0x0F00);
  EXPECT_TRUE(Lines("85").empty()) << "a pairing write goes out as it is";
  EXPECT_EQ(dialogs.questions.size(), 3);
}

TEST_F(OptionsWindowTest, EachItemSendsItsCommands) {
  Key(Qt::Key_F5);  // Refresh: the read-all set, no chart
  ASSERT_TRUE(WaitLine("86"));
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Lines("83").size(), 4u);
  EXPECT_EQ(Lines("85").size(), 1u);
  EXPECT_TRUE(Lines("87").empty());

  board.ClearLines();
  Key(Qt::Key_F4);  // big step size, from the board's Flag 0x02
  ASSERT_TRUE(WaitLine("02"));
  EXPECT_EQ(Lines("02")[0].substr(2, 4), "0103");

  board.ClearLines();
  Key(Qt::Key_F3, Qt::ControlModifier);  // Geo
  ASSERT_TRUE(WaitLine("02"));
  EXPECT_EQ(Lines("02")[0].substr(2, 2), "02");
  EXPECT_EQ(CurrentPage(), "tsGeo");
  EXPECT_EQ(Grid()->horizontalHeaderItem(1)->text(), "Alt");

  board.ClearLines();
  Key(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);  // health
  ASSERT_TRUE(WaitLine("88"));
  EXPECT_EQ(CurrentPage(), "tsConfig");
  EXPECT_TRUE(window->ExpertPagesVisible());

  board.ClearLines();
  Key(Qt::Key_C, Qt::ControlModifier);  // the computer's clock, in real time
  ASSERT_TRUE(WaitLine("01"));
  ASSERT_TRUE(WaitLine("02"));
  const std::string setInfo = Lines("01")[0];
  EXPECT_EQ(setInfo.substr(2 + 2 * 17, 48), std::string(48, 'F')) << "channels untouched";
  EXPECT_EQ(Lines("02")[0].substr(2 + 2 * 6, 2), "01") << "TimeLapse 1";
  EXPECT_EQ(CurrentPage(), "tsGeo");

  board.ClearLines();
  Action("mnuLoadReef")->trigger();
  ASSERT_TRUE(WaitLine("7F04"));
  ASSERT_TRUE(WaitLine("86"));
  EXPECT_EQ(CurrentPage(), "tsSchedule");

  board.ClearLines();
  Key(Qt::Key_F4, Qt::ControlModifier);  // RGB demo
  ASSERT_TRUE(WaitLine("02"));
  EXPECT_EQ(Lines("02")[0].substr(2, 2), "03");
  EXPECT_EQ(CurrentPage(), "tsChannelsGL");
}

TEST_F(OptionsWindowTest, GridEditsReachTheBoard) {
  window->ShowPage(window->PageNamed("tsSchedule"));
  ScheduleGrid* grid = Grid();
  // Typing in channel B of line 2, key by key.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(2, 3).center());
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "50");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return board.With([](sim::BoardState& s) { return s.schedule[1].Color16[1]; }) == 2048;
      },
      5000));
  ASSERT_TRUE(Settled());

  // Line 1 dragged onto line 3: rows 0..2 go out, in order.
  board.ClearLines();
  const auto times = [&] {
    return board.With([](sim::BoardState& s) {
      std::vector<int> t;
      for (const auto& r : s.schedule) t.push_back(r.Hour * 60 + r.Minute);
      return t;
    });
  };
  const std::vector<int> before = times();
  QWidget* v = grid->viewport();
  QTest::mousePress(v, Qt::LeftButton, {}, grid->CellRect(1, 0).center());
  QTest::mouseMove(v, grid->CellRect(2, 0).center());
  QTest::mouseMove(v, grid->CellRect(3, 0).center());
  QTest::mouseRelease(v, Qt::LeftButton, {}, grid->CellRect(3, 0).center());
  ASSERT_TRUE(Settled());
  std::vector<std::string> rows;
  for (const auto& l : Lines("03")) rows.push_back(l.substr(0, 4));
  EXPECT_EQ(rows, (std::vector<std::string>{"0300", "0301", "0302"}));
  EXPECT_EQ(times(), (std::vector<int>{before[1], before[2], before[0], before[3]}));
}

TEST_F(OptionsWindowTest, AColourNameChangedOnTheBoardReachesTheGridWithTheNextRead) {
  const auto heading = [&] {
    return Grid()->horizontalHeaderItem(grid::kFirstChannel)->text().toStdString();
  };
  const std::string before = heading();
  const uint8_t other = board.With([](sim::BoardState& s) {
    s.config.ColorName[0] = static_cast<uint8_t>((s.config.ColorName[0] + 1) % 16);
    return s.config.ColorName[0];
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return heading() != before; }, 5000)) << heading();
  EXPECT_EQ(window->Store().config.ColorName[0], other);
}

}  // namespace
}  // namespace vmx::testing
