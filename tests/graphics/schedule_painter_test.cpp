// A frame drawn over the last one (only the columns that changed) must equal
// the same frame drawn from nothing, whichever row moves and however far.
#include <gtest/gtest.h>

#include <QApplication>
#include <random>

#include "graphics/schedule_painter.h"

namespace vmx {
namespace {

constexpr ScheduleView kView{1001, 578};

std::vector<ScheduleRow> Day(int rows) {
  std::vector<ScheduleRow> day(static_cast<size_t>(rows));
  for (int k = 0; k < rows; ++k) {
    day[k].Hour = static_cast<int8_t>(6 + k * 14 / rows);
    day[k].Minute = static_cast<int8_t>(k * 7 % 60);
    for (int c = 0; c < kChannels; ++c)
      day[k].Color16[c] = static_cast<int16_t>((k * 997 + c * 331) % 4097);
  }
  return day;
}

Config Colours() {
  Config config;
  config.Mode = 1;
  for (int c = 0; c < kChannels; ++c) config.ColorName[c] = static_cast<uint8_t>(c + 3);
  return config;
}

int MaxDifference(const QImage& a, const QImage& b) {
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

TEST(SchedulePainter, FramesDrawnOverTheLastEqualFramesDrawnAfresh) {
  std::vector<ScheduleRow> rows = Day(9);
  Info info;
  info.Hour = 9;
  const QFont font = QApplication::font();
  SchedulePainter kept;
  QImage frame;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> x(-20, 1020), y(-20, 600), row(0, 8);
  for (int step = 0; step < 40; ++step) {
    // Dragged rows: sometimes the first or the last, time moving every other step.
    const int k = step % 5 == 0 ? 8 : step % 7 == 0 ? 0 : row(random);
    DragRow(rows[static_cast<size_t>(k)], 4, kView, x(random), y(random), step % 2 == 0);
    const ScheduleScene scene = LayoutSchedule(kView, rows, info, Colours(), {4, k}, ".");
    kept.Paint(scene, font, frame);
    SchedulePainter fresh;
    QImage whole;
    fresh.Paint(scene, font, whole);
    ASSERT_LE(MaxDifference(frame, whole), 1) << "step " << step << ", row " << k;
  }
  // Released: the label goes.
  const ScheduleScene done = LayoutSchedule(kView, rows, info, Colours(), {4, -1}, ".");
  kept.Paint(done, font, frame);
  SchedulePainter fresh;
  QImage whole;
  fresh.Paint(done, font, whole);
  EXPECT_LE(MaxDifference(frame, whole), 1);
}

TEST(SchedulePainter, AFrameChangedElsewhereIsDrawnWhole) {
  const std::vector<ScheduleRow> rows = Day(5);
  const ScheduleScene scene = LayoutSchedule(kView, rows, Info{}, Colours(), {0, -1}, ".");
  SchedulePainter painter;
  QImage frame;
  painter.Paint(scene, QApplication::font(), frame);
  const QImage first = frame.copy();
  frame.fill(Qt::red);  // someone else drew into it
  painter.Paint(scene, QApplication::font(), frame);
  EXPECT_EQ(MaxDifference(frame, first), 0);
}

}  // namespace
}  // namespace vmx
