// The Visualization page driven by the mouse and the wheel: what it draws at
// known pixels, what a drag writes into the schedule, and when it asks for the
// rows to be sent.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "graphics/chart_page.h"
#include "ui/picture_view.h"
#include "graphics/visualize_page.h"
#include "link/request_flags.h"
#include "tests/support/schedule_rows.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

class VisualizePageTest : public ::testing::Test {
 protected:
  VisualizePageTest() {
    page = context.Add<VisualizePage>();
    other = context.Add<ChartPage>();
    context.Show();
    context.window->resize(1100, 760);
    img = context.Find<PictureView>("img");
    img->setFixedSize(1001, 578);
    context.Reveal(img);
    context.active = page;
    context.store.config.Mode = 1;
    context.store.config.ColorName[0] = 2;  // red
    context.store.info.Hour = 3;            // the marker at x = 160.15, between two grid lines
    context.store.info.Minute = 30;
    // 6:00 dark, 12:00 full, 18:00 dark.
    SetRows({Row(6, 0, 0), Row(12, 0, 4096), Row(18, 0, 0)});
  }

  void SetRows(std::vector<ScheduleRow> rows) {
    SharedStore& s = context.store;
    s.info.RowCount = static_cast<uint8_t>(rows.size());
    s.ResizeRowTables(0);  // a fresh table: no marks left from before
    s.schedule = std::move(rows);
    s.ResizeRowTables(s.schedule.size());
    context.ApplyRecord(RecordKind::Schedule);
  }
  // Info from the board with another row count, taken as the link worker takes it.
  void AcceptRowCount(int rows) {
    Info info = context.store.info;
    info.RowCount = static_cast<uint8_t>(rows);
    const auto image = Encode(info);
    context.store.AcceptInfo(image);
    context.ApplyRecord(RecordKind::Info);
  }
  QRgb Pixel(int x, int y) const { return page->Picture().pixel(x, y); }
  uint32_t TakeRequests() {
    const uint32_t word = context.store.Requests();
    context.store.SetRequests(0);
    return word;
  }
  void Press(QPoint at) { QTest::mousePress(img, Qt::LeftButton, {}, at); }
  void Move(QPoint at) { QTest::mouseMove(img, at); }
  void Release(QPoint at) { QTest::mouseRelease(img, Qt::LeftButton, {}, at); }
  // A move with the button held, as a drag delivers it.
  void DragTo(QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, img->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(img, &move);
  }
  bool Wheel(QWidget* target, int delta) {
    QWheelEvent wheel(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    return wheel.isAccepted();
  }
  QTimer* Timer() const { return page->findChild<QTimer*>("tmrVisualize"); }

  FakePageContext context;
  VisualizePage* page = nullptr;
  ChartPage* other = nullptr;
  PictureView* img = nullptr;
};

TEST_F(VisualizePageTest, GridMarkerAndHandlesAtKnownPixels) {
  ASSERT_EQ(page->Picture().size(), QSize(1001, 578));
  EXPECT_EQ(Pixel(60, 100), 0xFF101010u) << "vertical grid line 1";
  EXPECT_EQ(Pixel(300, 74), 0xFF101010u) << "horizontal grid line 1";
  EXPECT_EQ(Pixel(61, 100), 0xFF000000u);
  EXPECT_EQ(Pixel(160, 300), 0xFFC0C0C0u) << "the marker at 3:30";
  EXPECT_EQ(Pixel(161, 300), 0xFF000000u);
  // The noon row's handle of channel A, red, centred on (500.5, 20).
  EXPECT_EQ(Pixel(497, 16), 0xFFFF0000u);
  EXPECT_EQ(Pixel(505, 24), 0xFFFF0000u);
  // The selected curve is filled below in its translucent tint: red over black.
  const QColor fill = QColor::fromRgba(Pixel(510, 300));
  EXPECT_GT(fill.red(), 0x10);
  EXPECT_LT(fill.red(), 0x30);
  EXPECT_EQ(fill.green(), 0);
  // The positions drawn are the hit test's table.
  ASSERT_EQ(page->PointPositions().size(), 3u);
  EXPECT_FLOAT_EQ(page->PointPositions()[1].x, 500.5f);
  EXPECT_FLOAT_EQ(page->PointPositions()[1].y[0], 20.f);
}

TEST_F(VisualizePageTest, AnEmptyScheduleShowsGridAndMarkerOnly) {
  SetRows({});
  EXPECT_EQ(Pixel(60, 100), 0xFF101010u);
  EXPECT_EQ(Pixel(160, 300), 0xFFC0C0C0u);
  EXPECT_EQ(Pixel(500, 20), 0xFF101010u) << "no handle on the top grid line";
  EXPECT_EQ(Pixel(510, 300), 0xFF000000u) << "no fill";
}

TEST_F(VisualizePageTest, ReleaseMarksTheDraggedRowAndAsksOnceForTheWrite) {
  Press({500, 21});
  EXPECT_EQ(page->SelectedRow(), 1);
  EXPECT_TRUE(Timer()->isActive());
  DragTo({260, 288});
  DragTo({261, 290});
  DragTo({260, 288});
  EXPECT_EQ(TakeRequests(), 0u) << "nothing is sent during the drag";
  EXPECT_EQ(context.store.RowMarks(), (std::vector<bool>{false, false, false}));
  const ScheduleRow& row = context.store.schedule[1];
  EXPECT_EQ(row.Hour, 6);
  EXPECT_EQ(row.Minute, 0);
  EXPECT_EQ(row.Color16[0], 2052);
  EXPECT_EQ(row.Color16[1], 4096) << "only the selected channel";

  // The dragged point is labelled in the corner while the drag runs.
  QTest::qWait(60);
  EXPECT_EQ(Pixel(1, 1), 0xFFFFFFFFu | (Pixel(1, 1) & 0xFF000000u));

  Release({260, 288});
  EXPECT_EQ(TakeRequests(), request::WriteSchedule);
  EXPECT_EQ(context.store.RowMarks(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(page->SelectedRow(), -1);
  EXPECT_FALSE(Timer()->isActive());
  Press({900, 300});
  DragTo({800, 100});
  Release({800, 100});
  EXPECT_EQ(TakeRequests(), 0u) << "a press beside the points changes nothing";
  EXPECT_EQ(Pixel(1, 1), 0xFF000000u) << "no label once released";
}

TEST_F(VisualizePageTest, ThePointIsTakenToTheEdgesOfTheDay) {
  Press({500, 21});
  DragTo({10, -40});
  EXPECT_EQ(context.store.schedule[1].Hour, 0);
  EXPECT_EQ(context.store.schedule[1].Minute, 0);
  EXPECT_EQ(context.store.schedule[1].Color16[0], 4096);
  DragTo({1200, 900});
  EXPECT_EQ(context.store.schedule[1].Hour, 24);
  EXPECT_EQ(context.store.schedule[1].Minute, 0);
  EXPECT_EQ(context.store.schedule[1].Color16[0], 0);
  Release({1200, 900});
}

TEST_F(VisualizePageTest, LockedTimesAndGeoModeMoveTheValueOnly) {
  auto* lock = context.Find<QCheckBox>("cbxTimeLock");
  EXPECT_FALSE(lock->isHidden());
  context.Click("cbxTimeLock");
  ASSERT_TRUE(lock->isChecked());
  context.Reveal(img);
  Press({500, 21});
  DragTo({260, 288});
  Release({260, 288});
  EXPECT_EQ(context.store.schedule[1].Hour, 12);
  EXPECT_EQ(context.store.schedule[1].Color16[0], 2052);

  lock->setChecked(false);
  context.store.config.Mode = 2;
  // Geo: altitudes 0, 90 and 0 degrees place the rows at 90, 180 and 270.
  SetRows({Row(6, 0, 0, 0), Row(12, 0, 4096, 10000), Row(18, 0, 0, 0)});
  EXPECT_TRUE(lock->isHidden());
  const int peak = static_cast<int>(page->PointPositions()[1].x);
  Press({peak, 21});
  ASSERT_EQ(page->SelectedRow(), 1);
  DragTo({100, 288});
  Release({100, 288});
  EXPECT_EQ(context.store.schedule[1].Hour, 12);
  EXPECT_EQ(context.store.schedule[1].Minute, 0);
  EXPECT_EQ(context.store.schedule[1].Alt, 10000);
  EXPECT_EQ(context.store.schedule[1].Color16[0], 2052);
  context.store.config.Mode = 1;
  context.ApplyRecord(RecordKind::Config);
  EXPECT_FALSE(lock->isHidden());
}

TEST_F(VisualizePageTest, APressWhileTheScheduleIsBeingReadIsIgnored) {
  context.store.Raise(request::ReadSchedule);
  Press({500, 21});
  EXPECT_EQ(page->SelectedRow(), -1);
  EXPECT_FALSE(Timer()->isActive());
  Release({500, 21});
  EXPECT_EQ(TakeRequests(), request::ReadSchedule);
}

TEST_F(VisualizePageTest, RowsGoneDuringADragEndItWithoutAWrite) {
  Press({740, 557});
  ASSERT_EQ(page->SelectedRow(), 2);
  AcceptRowCount(1);
  ASSERT_EQ(context.store.schedule.size(), 1u);
  EXPECT_LE(page->PointPositions().size(), 1u) << "no hit positions past the table's end";
  DragTo({600, 100});
  EXPECT_EQ(page->SelectedRow(), -1) << "the drag is over";
  Release({600, 100});
  EXPECT_EQ(TakeRequests(), 0u);
  EXPECT_EQ(context.store.RowMarks(), std::vector<bool>{false});
  EXPECT_EQ(context.store.schedule[0].Color16[0], 0);

  // Shrunk between press and release, with no move in between.
  AcceptRowCount(3);
  context.ApplyRecord(RecordKind::Schedule);
  context.store.schedule[2] = Row(18, 0, 0);
  context.ApplyRecord(RecordKind::Schedule);
  Press({740, 557});
  ASSERT_EQ(page->SelectedRow(), 2);
  AcceptRowCount(2);
  Release({740, 557});
  EXPECT_EQ(TakeRequests(), 0u);
  EXPECT_EQ(context.store.RowMarks(), (std::vector<bool>{false, false}));
}

TEST_F(VisualizePageTest, TheWheelChoosesTheChannelOnThisPageOnly) {
  auto* box = context.Find<QComboBox>("cmbVisualize");
  EXPECT_TRUE(Wheel(img, -120)) << "handled";
  EXPECT_EQ(page->SelectedChannel(), 1);
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_TRUE(Wheel(box, 120));
  EXPECT_EQ(page->SelectedChannel(), 0);
  Wheel(img, 120);
  EXPECT_EQ(page->SelectedChannel(), 0) << "clamped at A";
  for (int i = 0; i < 14; ++i) Wheel(img, -120);
  EXPECT_EQ(page->SelectedChannel(), 11) << "clamped at L";
  Wheel(img, 60);
  EXPECT_EQ(page->SelectedChannel(), 11) << "half a notch";
  Wheel(img, 60);
  EXPECT_EQ(page->SelectedChannel(), 10);

  // Another page in front: the wheel does what it does there.
  auto* slider = new QSlider(Qt::Horizontal, other);
  slider->setRange(0, 100);
  slider->setValue(50);
  slider->show();
  context.active = other;
  Wheel(slider, -120);
  EXPECT_NE(slider->value(), 50) << "not consumed";
  EXPECT_EQ(page->SelectedChannel(), 10);

  // During a drag the wheel is left alone too.
  context.active = page;
  Wheel(img, -120);
  ASSERT_EQ(page->SelectedChannel(), 11);
  context.store.schedule[1].Color16[11] = 4096;
  page->RefreshVisualization();
  Press({500, 21});
  ASSERT_EQ(page->SelectedRow(), 1);
  slider->setValue(50);
  Wheel(slider, -120);
  EXPECT_NE(slider->value(), 50);
  EXPECT_EQ(page->SelectedChannel(), 11);
  Release({500, 21});
}

TEST_F(VisualizePageTest, RefillingTheChannelListKeepsTheChosenChannel) {
  auto* box = context.Find<QComboBox>("cmbVisualize");
  ASSERT_EQ(box->count(), 12);
  box->setFocus();
  for (int i = 0; i < 5; ++i) QTest::keyClick(box, Qt::Key_Down);
  ASSERT_EQ(page->SelectedChannel(), 5);
  context.store.config.ColorName[5] = 2;
  context.ApplyRecord(RecordKind::Config);
  context.UpdateChannelColors();
  EXPECT_EQ(box->currentIndex(), 5);
  EXPECT_EQ(page->SelectedChannel(), 5);
  EXPECT_EQ(box->itemText(5), "F: Red");
  box->setCurrentIndex(2);  // not the user's choice
  EXPECT_EQ(page->SelectedChannel(), 5);
}

TEST_F(VisualizePageTest, AViewTooSmallToPlotDrawsNothingAndTakesNoPress) {
  img->setFixedSize(40, 578);
  QApplication::processEvents();
  Press({20, 20});
  EXPECT_FALSE(Timer()->isActive());
  EXPECT_EQ(page->SelectedRow(), -1);
  Release({20, 20});
  EXPECT_EQ(TakeRequests(), 0u);
  EXPECT_EQ(page->Picture().pixel(20, 100), 0xFF000000u);
  img->setFixedSize(1001, 41);
  QApplication::processEvents();
  Press({500, 20});
  EXPECT_EQ(page->SelectedRow(), -1);
}

TEST_F(VisualizePageTest, APressBesideThePointsKeepsTheTimerRunningUntilTheNextDrag) {
  Press({900, 300});
  Release({900, 300});
  EXPECT_EQ(page->SelectedRow(), -1);
  EXPECT_TRUE(Timer()->isActive());
  ASSERT_EQ(Pixel(120, 300), 0xFF000000u);
  context.store.info.Hour = 2;  // the clock moves; the timer's redraw shows it at x = 120.1
  EXPECT_TRUE(QTest::qWaitFor([&] { return Pixel(120, 300) == 0xFFC0C0C0u; }, 1000));
  Press({500, 21});
  Release({500, 21});
  EXPECT_FALSE(Timer()->isActive());
}

}  // namespace
}  // namespace vmx::testing
