// Frames of the drawn views at the window's design size, rendered as the pages
// render them: the schedule view (from scratch, after the rows changed, during
// a drag), one drag tick with its hit test, the sensor chart, the health display.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <memory>

#include "graphics/chart_geometry.h"
#include "graphics/chart_painter.h"
#include "graphics/health_geometry.h"
#include "graphics/health_view.h"
#include "graphics/schedule_geometry.h"
#include "graphics/schedule_painter.h"

namespace vmx {
namespace {

constexpr ScheduleView kView{1001, 578};
constexpr int kRows = 48;

// A day of 48 rows, each channel its own bell of light.
std::vector<ScheduleRow> Day(int shift = 0) {
  std::vector<ScheduleRow> rows(kRows);
  for (int k = 0; k < kRows; ++k) {
    rows[k].Hour = static_cast<int8_t>(k / 2);
    rows[k].Minute = static_cast<int8_t>(k % 2 * 30);
    const double f = std::sin(3.14159 * k / (kRows - 1));
    for (int c = 0; c < kChannels; ++c)
      rows[k].Color16[c] = static_cast<int16_t>(4096 * f * (0.4 + 0.05 * c) + shift);
  }
  return rows;
}

Config Colours() {
  Config config;
  config.Mode = ModeField(BoardMode::Auto);
  for (int c = 0; c < kChannels; ++c) config.ColorName[c] = static_cast<uint8_t>(c + 2);
  return config;
}

Info Clock() {
  Info info;
  info.Hour = 14;
  info.Minute = 20;
  return info;
}

void BM_ScheduleFrameFromScratch(benchmark::State& state) {
  const std::vector<ScheduleRow> rows = Day();
  QImage frame;
  for (auto _ : state) {
    SchedulePainter painter;
    painter.Paint(LayoutSchedule(kView, rows, Clock(), Colours(), {3, -1}, "."),
                  QGuiApplication::font(), frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_ScheduleFrameFromScratch)->Unit(benchmark::kMillisecond)->UseRealTime();

// New rows from the board, or another channel chosen: every curve drawn again.
void BM_ScheduleFrameRowsChanged(benchmark::State& state) {
  const std::vector<ScheduleRow> a = Day(0), b = Day(7);
  SchedulePainter painter;
  QImage frame;
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    painter.Paint(LayoutSchedule(kView, flip ? a : b, Clock(), Colours(), {3, -1}, "."),
                  QGuiApplication::font(), frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_ScheduleFrameRowsChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// The timer's frame during a drag: the selected curve moved, the label shown.
void BM_ScheduleFrameDragging(benchmark::State& state) {
  std::vector<ScheduleRow> rows = Day();
  SchedulePainter painter;
  QImage frame;
  int step = 0;
  for (auto _ : state) {
    rows[20].Color16[3] = static_cast<int16_t>(1000 + step++ % 2000);
    painter.Paint(LayoutSchedule(kView, rows, Clock(), Colours(), {3, 20}, "."),
                  QGuiApplication::font(), frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_ScheduleFrameDragging)->Unit(benchmark::kMillisecond)->UseRealTime();

// A drag tick as the page runs it: the press's hit test, the move's new time and
// value (the row's time moves every curve), the layout and the frame.
void BM_DragTick(benchmark::State& state) {
  std::vector<ScheduleRow> rows = Day();
  SchedulePainter painter;
  QImage frame;
  std::vector<PointPosition> positions(rows.size());
  int step = 0;
  for (auto _ : state) {
    const int row = HitRow(positions, 3, 500, 100);
    benchmark::DoNotOptimize(row);
    const double x = 400 + step % 200, y = 100 + step % 300;
    ++step;
    DragRow(rows[20], 3, kView, x, y, state.range(0) != 0);
    const ScheduleScene scene = LayoutSchedule(kView, rows, Clock(), Colours(), {3, 20}, ".");
    for (size_t k = 0; k < positions.size(); ++k) {
      positions[k].x = scene.points[k].x;
      positions[k].y = scene.points[k].y;
    }
    painter.Paint(scene, QGuiApplication::font(), frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_DragTick)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("moveTime")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ChartFrame(benchmark::State& state) {
  Chart chart;
  for (int n = 0; n < kChartSamples; ++n)
    chart.Sample[n] = static_cast<int16_t>(251 + std::lround(6 * std::sin(n / 6.0)));
  Expert expert;
  expert.ChartInterval = 15;
  const LocalDateTime now{2024, 3, 1, 17, 45, 12, 500};
  QImage frame;
  for (auto _ : state) {
    PaintChart(LayoutChart(1001, 606, chart, expert, Clock(), 0, now, "."), "not connected",
               QGuiApplication::font(), frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_ChartFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HealthFrame(benchmark::State& state) {
  Health health;
  health.Counter = {0, 12, 310, 5400, 412000, 0, 3, 250000, 17};
  health.PowerCycles = 42;
  QImage frame(985, 153, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    PaintHealth(LayoutHealth(health, frame.width(), "."), Qt::lightGray, Qt::black,
                HealthFont(QGuiApplication::font()), frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}
BENCHMARK(BM_HealthFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vmx

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
