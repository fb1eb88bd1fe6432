// The Schedule page driven as a user drives it: clicks, keys, drags and
// right clicks on the grid sgSchedule; what reaches the rows, the marks and
// the request word.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "editor/schedule_grid.h"
#include "editor/schedule_page.h"
#include "link/request_flags.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

class SchedulePageTest : public ::testing::Test {
 protected:
  SchedulePageTest() {
    SetRows(6);
    page = context.Add<SchedulePage>();
    grid = page->Grid();
    context.Show();
    context.ApplyRecord(RecordKind::Schedule);
  }

  void SetRows(int rows) {
    SharedStore& s = context.store;
    s.info.RowCount = static_cast<uint8_t>(rows);
    s.schedule.assign(static_cast<size_t>(rows), ScheduleRow{});
    s.ResizeRowTables(0);  // a fresh table: no marks left from before
    s.ResizeRowTables(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
      ScheduleRow& row = s.schedule[static_cast<size_t>(r)];
      row.Hour = static_cast<int8_t>(6 + r);
      row.Minute = 15;
      row.Alt = static_cast<int16_t>(1000 * r + 123);
      for (int c = 0; c < kChannels; ++c) row.Color16[c] = static_cast<int16_t>(100 * c + r);
      row.Switch = 0x20 | 0x0B;
      row.Timer = static_cast<int16_t>(r);
    }
  }
  QString Cell(int line, int column) const {
    const QTableWidgetItem* item = grid->item(line - 1, column);
    return item ? item->text() : QString();
  }
  QPoint At(int line, int column) const { return grid->CellRect(line, column).center(); }
  void Click(int line, int column) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, At(line, column));
  }
  void RightClick(int line, int column) {
    QWidget* target = line == 0 ? grid->horizontalHeader()->viewport() : grid->viewport();
    QTest::mouseClick(target, Qt::RightButton, {}, At(line, column));
  }
  // Drags the column-0 cell of line `from` onto line `to` with the mouse.
  void Drag(int from, int to) {
    QWidget* v = grid->viewport();
    QTest::mousePress(v, Qt::LeftButton, {}, At(from, 0));
    for (int line = from; line != to; line += to > from ? 1 : -1) QTest::mouseMove(v, At(line, 0));
    QTest::mouseMove(v, At(to, 0));
    QTest::mouseRelease(v, Qt::LeftButton, {}, At(to, 0));
  }
  QLineEdit* Editor() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }
  // Clicks a cell and types `text` over its content, key by key.
  void Type(int line, int column, const QString& text) {
    Click(line, column);
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr) << "the cell opens its editor";
    editor->selectAll();
    QTest::keyClicks(editor, text);
  }
  std::vector<int> SentRows() {
    std::vector<int> rows;
    std::array<uint8_t, 132> payload{};
    while (context.store.PrepareRow(payload)) rows.push_back(payload[0]);
    return rows;
  }
  QColor PixelAt(int line, int column) {
    const QImage image = grid->viewport()->grab().toImage();
    return image.pixelColor(grid->CellRect(line, column).topLeft() + QPoint(1, 1));
  }

  FakePageContext context;
  SchedulePage* page = nullptr;
  ScheduleGrid* grid = nullptr;
};

TEST_F(SchedulePageTest, FillingTheGridAsksForNothing) {
  EXPECT_EQ(grid->objectName(), "sgSchedule");
  EXPECT_EQ(grid->rowCount(), 6);
  EXPECT_EQ(grid->columnCount(), 18);
  EXPECT_EQ(Cell(3, 0), "2");
  EXPECT_EQ(Cell(3, 1), "08:15");
  EXPECT_EQ(Cell(3, 2), "0.05");
  EXPECT_EQ(Cell(1, 14), "ON");
  EXPECT_EQ(Cell(1, 15), "OFF");
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Time");
  EXPECT_EQ(grid->horizontalHeaderItem(16)->text(), "Thunderstorms");
  EXPECT_EQ(grid->horizontalHeaderItem(17)->text(), "JMP pin");
  EXPECT_EQ(grid->columnWidth(0), 30);
  EXPECT_EQ(grid->columnWidth(5), 49);
  EXPECT_EQ(grid->columnWidth(17), 50);
  context.ShowPage(nullptr);
  page->Activated();
  context.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(context.store.Requests(), 0u);
  EXPECT_EQ(SentRows(), std::vector<int>{});
}

TEST_F(SchedulePageTest, ABoardWithoutRowsShowsOneEmptyLineThatCommitsNothing) {
  SetRows(0);
  context.ApplyRecord(RecordKind::Schedule);
  ASSERT_EQ(grid->rowCount(), 1);
  EXPECT_EQ(Cell(1, 1), "");
  Type(1, 3, "50");
  Click(1, 14);
  EXPECT_EQ(context.store.Requests(), 0u);
}

TEST_F(SchedulePageTest, EachKeystrokeCommitsAndTheMarksCoalesce) {
  Type(2, 3, "12.5");
  EXPECT_EQ(Editor()->text(), "12.5") << "the cursor stayed where the user types";
  EXPECT_EQ(context.store.schedule[1].Color16[1], 512);
  EXPECT_EQ(context.store.Requests(), request::WriteSchedule);
  EXPECT_EQ(SentRows(), std::vector<int>{1}) << "one row write for four keys";

  // Every keystroke counts: typing "7" over a time keeps the hour.
  Type(3, 1, "7");
  EXPECT_EQ(context.store.schedule[2].Hour, 8);
  EXPECT_EQ(context.store.schedule[2].Minute, 7);
  // Emptying a cell commits nothing; the next character does.
  context.store.SetRequests(0);
  SentRows();
  Type(4, 17, "");
  QTest::keyClick(Editor(), Qt::Key_Backspace);
  EXPECT_EQ(context.store.Requests(), 0u);
  QTest::keyClicks(Editor(), "-3");
  EXPECT_EQ(context.store.schedule[3].Timer, -3);
}

TEST_F(SchedulePageTest, AReadCellTheUserTypesInKeepsTheUsersText) {
  Type(2, 3, "12.");
  // A download brings other values.
  context.store.schedule[1].Color16[1] = 4096;
  context.store.schedule[1].Color16[2] = 4096;
  context.ApplyRecord(RecordKind::Schedule);
  EXPECT_EQ(Editor()->text(), "12.");
  QTest::keyClicks(Editor(), "5");
  EXPECT_EQ(context.store.schedule[1].Color16[1], 512);
  EXPECT_EQ(Cell(2, 4), "100") << "the rest of the line is shown";
}

TEST_F(SchedulePageTest, SwitchCellsToggleByClickAndNeverOpenAnEditor) {
  Click(1, 14);
  EXPECT_EQ(Cell(1, 14), "OFF");
  EXPECT_FALSE(grid->Editing());
  EXPECT_EQ(context.store.schedule[0].Switch, 0x0B) << "the low five bits stay";
  Click(1, 16);
  EXPECT_EQ(Cell(1, 16), "ON");
  EXPECT_EQ(context.store.schedule[0].Switch, 0x8B);
  EXPECT_EQ(context.store.Requests(), request::WriteSchedule);
  EXPECT_EQ(SentRows(), std::vector<int>{0});
  // Keys do not reach them either: they cannot become the edited cell.
  EXPECT_FALSE(grid->item(0, 15)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(grid->item(0, 15)->flags() & Qt::ItemIsSelectable);
}

TEST_F(SchedulePageTest, DraggingLineTwoToFiveSendsTheRenumberedRowsInOrder) {
  Drag(2, 5);
  EXPECT_EQ(Cell(5, 1), "07:15") << "line 2 landed on line 5";
  EXPECT_EQ(Cell(2, 1), "08:15");
  for (int line = 1; line <= 6; ++line) EXPECT_EQ(Cell(line, 0), QString::number(line - 1));
  const SharedStore& s = context.store;
  EXPECT_EQ(s.schedule[4].Hour, 7);
  EXPECT_EQ(s.schedule[4].Color16[5], 501);
  EXPECT_EQ(s.schedule[4].Alt, 4123) << "in Auto mode the altitudes stay";
  EXPECT_EQ(s.schedule[1].Hour, 8);
  EXPECT_EQ(s.schedule[0].Hour, 6);
  EXPECT_EQ(SentRows(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(SchedulePageTest, InGeoModeAMovedLineTakesItsExactAltitudeAlong) {
  context.store.config.Mode = 2;
  page->FillScheduleGrid();
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Alt");
  Drag(5, 1);
  const SharedStore& s = context.store;
  EXPECT_EQ(s.schedule[0].Alt, 4123);
  EXPECT_EQ(s.schedule[1].Alt, 123);
  EXPECT_EQ(s.schedule[0].Hour, 6) << "in Geo mode the times stay";
  EXPECT_EQ(s.schedule[4].Hour, 10);
  EXPECT_EQ(SentRows(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(SchedulePageTest, AnAltitudeNotTypedIntoIsCommittedExactly) {
  context.store.config.Mode = 2;
  page->FillScheduleGrid();
  ASSERT_EQ(Cell(1, 1), "0.7");  // Alt 123
  Click(1, 15);
  EXPECT_EQ(context.store.schedule[0].Alt, 123);
  Type(1, 3, "9");
  EXPECT_EQ(context.store.schedule[0].Alt, 123);
  Type(1, 1, "30");
  EXPECT_EQ(context.store.schedule[0].Alt, 5000);
}

TEST_F(SchedulePageTest, AModeReadFromTheBoardRefillsTheFirstColumn) {
  context.store.schedule[0].Alt = 5000;
  context.store.config.Mode = 2;
  page->FillScheduleGrid();
  ASSERT_EQ(Cell(1, 1), "30");
  // The board is switched to Auto behind the PC's back.
  context.store.config.Mode = 1;
  context.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(Cell(1, 1), "06:15");
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Time");
  Click(1, 15);
  EXPECT_EQ(context.store.schedule[0].Minute, 15) << "no degrees read as minutes";
  EXPECT_EQ(context.store.Requests(), request::WriteSchedule);
}

TEST_F(SchedulePageTest, DuringADownloadTheGridKeepsTheMeaningItWasFilledFor) {
  context.store.schedule[0].Alt = 5000;
  context.store.config.Mode = 2;
  page->FillScheduleGrid();
  context.store.Raise(request::ReadSchedule);
  context.store.config.Mode = 1;
  context.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(Cell(1, 1), "30") << "a half-downloaded table is not shown";
  Click(1, 15);
  EXPECT_EQ(context.store.schedule[0].Minute, 15) << "degrees are not read as minutes";
  EXPECT_EQ(context.store.schedule[0].Alt, 5000);
}

TEST_F(SchedulePageTest, ANewMeaningOfTheFirstColumnEndsTheTypingThere) {
  Type(1, 1, "12");
  EXPECT_EQ(context.store.schedule[0].Minute, 12);
  context.store.config.Mode = 2;
  context.ApplyRecord(RecordKind::Config);
  EXPECT_FALSE(grid->Editing());
  EXPECT_EQ(Cell(1, 1), "0.7") << "no time text left under the altitude heading";
}

TEST_F(SchedulePageTest, ARightClickOnColumnZeroPreviewsTheLine) {
  RightClick(3, 0);
  EXPECT_EQ(context.store.info.Channel[0], 2);
  EXPECT_EQ(context.store.info.Channel[11], 1102);
  EXPECT_EQ(context.store.Requests(), request::WriteInfoChannels);
  EXPECT_EQ(page->ClickedColumn(), -2);
  EXPECT_EQ(SentRows(), std::vector<int>{});
}

TEST_F(SchedulePageTest, CopyThenPasteAndSwapFromTheHeadingMenu) {
  QMenu* menu = page->pumCol();
  QAction* paste = menu->findChild<QAction*>("mnuPasteCol");
  QAction* swap = menu->findChild<QAction*>("mnuSwapCol");
  context.store.config.ColorName = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  context.UpdateChannelColors();
  RightClick(0, 4);  // channel C
  ASSERT_TRUE(menu->isVisible());
  EXPECT_FALSE(paste->isEnabled()) << "nothing copied yet";
  EXPECT_FALSE(swap->isEnabled());
  menu->findChild<QAction*>("mnuCopyCol")->trigger();
  menu->hide();
  EXPECT_EQ(context.store.Requests(), 0u) << "copying sends nothing";

  const int colorUpdates = context.colorUpdates;
  RightClick(0, 7);  // channel F
  ASSERT_TRUE(paste->isEnabled());
  paste->trigger();
  menu->hide();
  SharedStore& s = context.store;
  EXPECT_EQ(s.config.ColorName[5], 2);
  EXPECT_EQ(s.schedule[3].Color16[5], 203);
  EXPECT_EQ(Cell(4, 7), Cell(4, 4));
  EXPECT_EQ(grid->horizontalHeaderItem(7)->text(), "F: Red");
  EXPECT_EQ(context.colorUpdates, colorUpdates + 1);
  EXPECT_EQ(s.Requests(), request::WriteConfig | request::WriteSchedule);
  EXPECT_EQ(SentRows(), (std::vector<int>{0, 1, 2, 3, 4, 5}));

  // Swap A with the copied C: cell tints follow at once, headings wait for the board.
  context.store.SetRequests(0);
  const QColor before = PixelAt(2, 2);
  RightClick(0, 2);
  swap->trigger();
  menu->hide();
  EXPECT_EQ(s.config.ColorName[0], 2);
  EXPECT_EQ(s.config.ColorName[2], 0);
  EXPECT_EQ(s.schedule[1].Color16[0], 201);
  EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "A: Unnamed");
  EXPECT_EQ(context.colorUpdates, colorUpdates + 1);
  EXPECT_NE(PixelAt(2, 2), before);
  EXPECT_EQ(PixelAt(2, 2), QColor(0xFF, 0x80, 0x80));
  EXPECT_EQ(s.Requests(), request::WriteConfig | request::WriteSchedule);
}

TEST_F(SchedulePageTest, TheActiveRowIsHighlightedWithoutARefill) {
  context.store.info.ActiveRow = 3;
  context.ApplyRecord(RecordKind::Info);
  grid->item(0, 5)->setText("typed");
  const QColor highlight = grid->palette().color(QPalette::Highlight);
  EXPECT_EQ(PixelAt(4, 0), highlight);
  context.store.info.ActiveRow = 4;
  context.ApplyRecord(RecordKind::Info);
  EXPECT_EQ(PixelAt(5, 0), highlight);
  EXPECT_NE(PixelAt(4, 0), highlight);
  EXPECT_EQ(Cell(1, 5), "typed");
  grid->scrollToItem(grid->item(0, 16));
  EXPECT_EQ(PixelAt(1, 15), grid->palette().color(QPalette::Button)) << "OFF";
  EXPECT_EQ(PixelAt(1, 14), grid->palette().color(QPalette::Base)) << "ON";
}

}  // namespace
}  // namespace vmx::testing
