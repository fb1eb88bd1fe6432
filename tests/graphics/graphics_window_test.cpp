// The three drawings in the window against the simulated board on a real pty:
// a drag on the Visualization page reaches the board as one SetSchedule after
// the release, the chart and the health counters are drawn from what was read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "graphics/health_view.h"
#include "ui/picture_view.h"
#include "graphics/schedule_geometry.h"
#include "graphics/visualize_page.h"
#include "link/request_flags.h"
#include "tests/app/window_fixture.h"

namespace vmx::testing {
namespace {

int SetScheduleLines(const std::vector<std::string>& lines) {
  int count = 0;
  for (const std::string& line : lines) count += line.starts_with("03");
  return count;
}

class GraphicsWindowTest : public WindowTest {
 protected:
  void Connect() {
    Open({pty, "-english"});
    window->show();
    ASSERT_TRUE(WaitFullRead(pty));
  }
  void DragTo(QWidget* img, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, img->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(img, &move);
  }
};

TEST_F(GraphicsWindowTest, ADragReachesTheBoardAsOneRowWriteAfterTheRelease) {
  Connect();
  window->ShowPage(window->PageNamed("tsVisualize"));
  auto* img = window->findChild<PictureView*>("img");
  SharedStore& store = window->Store();
  const auto* page = qobject_cast<VisualizePage*>(window->PageNamed("tsVisualize"));
  ASSERT_NE(page, nullptr);
  const std::vector<PointPosition>& points = page->PointPositions();
  // The board's rows run 7:00, 12:00, 17:00, 22:00; the noon row is the one dragged.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return points.size() == 4 && points[1].x > 100; }, 5000));
  const PointPosition point = points[1];
  const QPoint from(static_cast<int>(point.x), static_cast<int>(point.y[0]));
  const QPoint to(from.x() - 40, img->height() / 2);
  const ScheduleRow before = board.With([](sim::BoardState& s) { return s.schedule[1]; });

  board.ClearLines();
  QTest::mousePress(img, Qt::LeftButton, {}, from);
  for (int step = 1; step <= 8; ++step) {
    DragTo(img, from + (to - from) * step / 8);
    QTest::qWait(40);  // many passes of the worker, and the timer's redraws
  }
  EXPECT_EQ(SetScheduleLines(board.Lines()), 0) << "nothing is sent during the drag";
  EXPECT_EQ(board.With([](sim::BoardState& s) { return s.schedule[1]; }), before);

  QTest::mouseRelease(img, Qt::LeftButton, {}, to);
  // The worker hands its reads to this thread: wait here with the events running.
  ASSERT_TRUE(QTest::qWaitFor([&] { return SetScheduleLines(board.Lines()) > 0; }, 3000));
  QTest::qWait(200);
  const std::vector<std::string> lines = board.Lines();
  ASSERT_EQ(SetScheduleLines(lines), 1);
  for (const std::string& line : lines) {
    if (line.starts_with("03")) {
      EXPECT_TRUE(line.starts_with("0301")) << line;
    }
  }

  const ScheduleRow sent = board.With([](sim::BoardState& s) { return s.schedule[1]; });
  const ScheduleView view{img->width(), img->height()};
  EXPECT_EQ(sent.Color16[0], view.ValueAt(to.y()));
  EXPECT_EQ(sent.Hour * 60 + sent.Minute, view.MinutesAt(to.x()));
  EXPECT_EQ(sent.Color16[1], before.Color16[1]);
  EXPECT_EQ(sent, store.schedule[1]);
}

TEST_F(GraphicsWindowTest, ChartAndHealthAreDrawnFromTheBoardsRecords) {
  Connect();
  window->ShowPage(window->PageNamed("tsTemp"));
  auto* chart = window->findChild<PictureView*>("imgTemp");
  // The board's water temperature lies around 25 degC: the curve is blue. It
  // climbs or falls in steps; a column where a step falls holds only the
  // lighter edge pixels of a slope, so the middle half is searched.
  const auto blue = [&] {
    const QImage& picture = chart->Picture();
    for (int x = picture.width() / 4; x < picture.width() * 3 / 4; ++x)
      for (int y = 0; y < picture.height(); ++y) {
        const QColor c = picture.pixelColor(x, y);
        if (c.blue() == 0xFF && c.red() < 0xC0 && c.red() == c.green()) return true;
      }
    return false;
  };
  EXPECT_TRUE(QTest::qWaitFor(blue, 5000));

  window->ShowPage(window->PageNamed("tsConfig"));
  auto* health = window->findChild<HealthView*>("imgHealth");
  window->Store().Raise(request::ReadHealth);
  // The board has worked 250020 intervals: the voltage bar is mostly yellow (V>26.0).
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return health->Picture().pixel(100, 100) == 0xFFFFFF00u; }, 5000));
}

}  // namespace
}  // namespace vmx::testing
