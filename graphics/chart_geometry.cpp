#include "graphics/chart_geometry.h"

#include <algorithm>
#include <cmath>

#include "lang/number_text.h"
#include "settings/temperature.h"

namespace vmx {
namespace {

constexpr int kLeft = 40;
constexpr int kTop = 20;
constexpr int kMaxTicks = 10;
constexpr int kShadeAbove = 600;  // 60.0 degC

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int FloorToTens(int v) {
  return static_cast<int>(FloorDiv(v, 10)) * 10;
}
int CeilToTens(int v) {
  return -FloorToTens(-v);
}

bool ValidClock(const Info& info) {
  return info.Hour >= 0 && info.Hour <= 23 && info.Minute >= 0 && info.Minute <= 59 &&
         info.Second >= 0 && info.Second <= 59 && info.Centisecond <= 99;
}

}  // namespace

ChartRange ChartValueRange(const Chart& chart) {
  int lo = chart.Sample[0];
  int hi = chart.Sample[0];
  for (size_t n = 1; n < chart.Sample.size(); ++n) {
    const int v = chart.Sample[n];
    if (v == kEmptySample) continue;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  ChartRange range{static_cast<int>(std::floor(lo * 0.095 - 0.5)) * 10,
                   static_cast<int>(std::ceil(hi * 0.105 + 0.5)) * 10};
  // The 5 % widening shrinks the range for values below zero: far enough below
  // it misses the samples, at -10.0 degC it collapses to a single line.
  range.lo = std::min(range.lo, FloorToTens(lo));
  range.hi = std::max(range.hi, CeilToTens(hi));
  if (range.lo == range.hi) {
    range.lo -= 10;
    range.hi += 10;
  }
  return range;
}

int ChartGridStep(int span) {
  struct Band {
    int above;
    int step;
  };
  static constexpr Band kBands[] = {{40000, 4000}, {20000, 2000}, {10000, 1000}, {4000, 400},
                                    {2000, 200},   {1000, 100},   {400, 20},     {200, 10},
                                    {100, 5},      {40, 2}};
  for (const Band& b : kBands)
    if (span > b.above) return b.step;
  return 1;
}

uint32_t ChartCurveColor(int chartMode) {
  switch (chartMode) {
    case 0:
      return 0xFF0000FF;
    case 1:
      return 0xFFFF0000;
    case 2:
      return 0xFF000000;
    case 3:
      return 0xFFFF8000;
    default:
      return 0x00000000;
  }
}

std::string ChartValueText(int value, int chartMode, uint8_t configFlag,
                           std::string_view separator) {
  if (chartMode == kChartVoltage) return FormatDecimal(value / 1000.0, 2, 2, separator) + " V";
  return FormatTemperature(value, configFlag, separator) + TemperatureUnitSymbol(configFlag);
}

int64_t LocalMilliseconds(const LocalDateTime& t) {
  const int64_t days = DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(1899, 12, 30);
  return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + t.second * 1000 + t.millisecond;
}

LocalDateTime LocalFromMinutes(int64_t minutes) {
  const int64_t dayCount = FloorDiv(minutes, 1440);
  const int64_t minuteOfDay = minutes - dayCount * 1440;
  // Civil date from days since 1970-01-01 (proleptic Gregorian).
  const int64_t z = dayCount + DaysFromCivil(1899, 12, 30) + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  LocalDateTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(minuteOfDay / 60);
  t.minute = static_cast<int>(minuteOfDay % 60);
  return t;
}

int64_t ChartEndMinute(const LocalDateTime& computerNow, const Info& info, int interval) {
  LocalDateTime t = computerNow;
  if (ValidClock(info)) {
    t.hour = info.Hour;
    t.minute = info.Minute;
    t.second = info.Second;
    t.millisecond = info.Centisecond * 10;
  }
  const int64_t step = std::max(1, interval);
  return FloorDiv(LocalMilliseconds(t), step * 60000) * step;
}

int ChartTickMinutes(int spanMinutes) {
  if (spanMinutes <= 120) return 15;
  if (spanMinutes <= 240) return 30;
  if (spanMinutes <= 480) return 60;
  if (spanMinutes <= 1440) return 240;
  return 1440;
}

ChartScene LayoutChart(int width, int height, const Chart& chart, const Expert& expert,
                       const Info& info, uint8_t configFlag, const LocalDateTime& now,
                       std::string_view separator) {
  ChartScene scene;
  scene.width = width;
  scene.height = height;
  const int interval = expert.ChartInterval;
  scene.hasData = chart.Sample[0] != kEmptySample && interval != 0;
  if (!scene.hasData) return scene;

  const int mode = expert.ChartMode;
  const ChartRange range = ChartValueRange(chart);
  scene.range = range;
  const double plot = width - 80.0;
  const double span = height - 41.0;
  const auto yOf = [&](double v) {
    return (1 - (v - range.lo) / (range.hi - range.lo)) * span + kTop;
  };

  if (mode != kChartVoltage) {
    const double y60 = yOf(kShadeAbove);
    if (y60 > 0) scene.shadeBottom = static_cast<int>(std::nearbyint(std::min(y60, 1e9)));
  }

  const int64_t end = ChartEndMinute(now, info, interval);
  const int length = 39 * interval;
  const int tick = ChartTickMinutes(length);
  int64_t at = FloorDiv(end, tick) * tick;
  for (int i = 0; i < kMaxTicks; ++i, at -= tick) {
    const double x = (1 - static_cast<double>(end - at) / length) * plot + kLeft;
    if (x < kLeft) break;
    scene.ticks.push_back({x, at % 1440 == 0, LocalFromMinutes(at)});
  }

  const int step = ChartGridStep(range.hi - range.lo);
  for (int v = range.lo; v <= range.hi; v += step) {
    ChartGridLine line{v, yOf(v), {}};
    if (v % 10 == 0) line.text = ChartValueText(v, mode, configFlag, separator);
    scene.grid.push_back(std::move(line));
  }

  scene.color = ChartCurveColor(mode);
  scene.presentY = yOf(chart.Sample[0]);
  scene.presentText = ChartValueText(chart.Sample[0], mode, configFlag, separator);
  for (int n = kChartSamples - 1; n >= 0; --n) {
    const int v = chart.Sample[static_cast<size_t>(n)];
    if (v == kEmptySample) continue;  // the neighbours are joined across a gap
    scene.curve.push_back({(1 - n / 39.0) * plot + kLeft, yOf(v)});
  }
  return scene;
}

}  // namespace vmx
