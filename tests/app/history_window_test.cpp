// The settings history in the window against the simulated board: the
// comparison dialog's ticked lines and sections go on the wire, and undo
// brings the board back.
#include <gmock/gmock.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdlib>

#include "app/compare_dialog.h"
#include "app/history_menu.h"
#include "tests/app/window_fixture.h"
#include "tests/ui/scripted_dialogs.h"

namespace vmx::testing {
namespace {

class HistoryWindowTest : public WindowTest {
 protected:
  HistoryWindowTest() : WindowTest({.rows = 3}) {
    // The board's history lives in this test's folder.
    setenv("XDG_DATA_HOME", folder.path().toLocal8Bit().constData(), 1);
  }
  void Open() {
    StartOptions o = Options({pty, "-english"});
    o.dialogs = &dialogs;
    o.appDir = folder.path();
    window = std::make_unique<TfrmLantix>(o);
  }
  size_t Sets(const std::string& prefix) {
    size_t n = 0;
    for (const auto& l : board.Lines()) n += l.starts_with(prefix);
    return n;
  }
  auto Held() {
    return board.With([](sim::BoardState& s) { return std::tuple(s.config, s.schedule); });
  }
  QTreeWidgetItem* Find(QTreeWidget* tree, const QString& text, int column) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive, column);
    return found.isEmpty() ? nullptr : found.front();
  }

  QTemporaryDir folder;
  ScriptedDialogs dialogs;
};

TEST_F(HistoryWindowTest, TickedLinesAreRestoredAndUndone) {
  Open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Action("mnuCompare")->isEnabled(); }, 5000));
  EXPECT_FALSE(Action("mnuUndoImport")->isEnabled());
  const auto before = Held();
  QFile file(QDir(folder.path()).filePath("other.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Config]\r\nFanLow=100\r\nFanHigh=201\r\n[Weather]\r\nCloudStep=300\r\n"
             "[1]\r\nHour=5\r\n[7]\r\nHour=1\r\n");
  file.close();

  Action("mnuCompare")->trigger();
  CompareDialog* dialog = window->findChild<CompareDialog*>("dlgCompare");
  ASSERT_NE(dialog, nullptr);
  dialogs.fileNames = {file.fileName()};
  dialog->findChild<QPushButton*>("btnCompareFile")->click();
  auto* tree = dialog->findChild<QTreeWidget*>("tvwDifferences");
  QTreeWidgetItem* fanLow = Find(tree, "Config.FanLow", 1);
  ASSERT_NE(fanLow, nullptr);
  EXPECT_EQ(fanLow->text(2), "30.2 %");
  EXPECT_EQ(fanLow->text(3), "39.2 %");
  EXPECT_EQ(Find(tree, "Config.Mode", 1)->text(3), "(missing)");
  EXPECT_NE(Find(tree, "7.Hour", 1), nullptr);  // shown apart, never sent
  auto* restore = dialog->findChild<QPushButton*>("btnRestoreSelected");
  EXPECT_FALSE(restore->isEnabled());

  // One line of [Config] and the whole of line 1, by its section box.
  fanLow->setCheckState(0, Qt::Checked);
  QTreeWidgetItem* line1 = Find(tree, "Line 1", 0);
  ASSERT_NE(line1, nullptr);
  line1->setCheckState(0, Qt::Checked);
  ASSERT_TRUE(restore->isEnabled());
  board.ClearLines();
  restore->click();
  ASSERT_TRUE(WaitForLog("The board has taken the restored settings.", 5000));
  EXPECT_EQ(Sets("02"), 1u);
  EXPECT_EQ(Sets("03"), 1u);
  EXPECT_EQ(Sets("06"), 0u);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.config.FanLow; }), 100);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.config.FanHigh; }), 200);
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.schedule[1].Hour; }), 5);
  EXPECT_EQ(Find(tree, "Config.FanLow", 1), nullptr);  // the comparison follows the board

  ASSERT_TRUE(QTest::qWaitFor([&] { return Action("mnuUndoImport")->isEnabled(); }, 3000));
  Action("mnuUndoImport")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Held() == before; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return LogLines(*window).filter("The board has taken").size() == 2; }, 5000));
}

}  // namespace
}  // namespace vmx::testing
