// The sensor chart's layout: a value axis that scales itself to the samples, a
// time axis that ends at the board's clock, and the curve of the 40 samples.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/time_zone.h"
#include "link/records.h"

namespace vmx {

inline constexpr int kChartSamples = 40;
inline constexpr int kChartVoltage = 2;  // ChartMode of the input voltage (millivolts)

// The value range drawn, in the samples' unit, whole tens at both ends.
struct ChartRange {
  int lo = 0;
  int hi = 0;
  bool operator==(const ChartRange&) const = default;
};

// Widened by about 5 % each side of the samples; it always brackets them and
// never collapses to a single value.
ChartRange ChartValueRange(const Chart& chart);
// Distance of the value grid's lines for a range of `span`.
int ChartGridStep(int span);
// ARGB of the curve for a chart source; invisible for an unknown one.
uint32_t ChartCurveColor(int chartMode);
// A value as labelled: volts "0.00 V", or the temperature in the chosen unit.
std::string ChartValueText(int value, int chartMode, uint8_t configFlag,
                           std::string_view separator);

// A moment of the local clock, in milliseconds since 30 December 1899 00:00.
int64_t LocalMilliseconds(const LocalDateTime& t);
LocalDateTime LocalFromMinutes(int64_t minutes);  // minutes since the same day

// The end of the time axis in minutes since 30 December 1899: today's date of
// the computer with the board's time of day (the computer's own time when the
// board's is no time), rounded down to a whole multiple of `interval` minutes.
int64_t ChartEndMinute(const LocalDateTime& computerNow, const Info& info, int interval);
// Distance of the time ticks for a chart spanning `spanMinutes`.
int ChartTickMinutes(int spanMinutes);

struct ChartTick {
  double x = 0;
  bool midnight = false;  // labelled with the date instead of the time
  LocalDateTime at;
};

struct ChartGridLine {
  int value = 0;
  double y = 0;
  std::string text;  // whole tens only; the lines between carry none
};

struct ChartPoint {
  double x = 0;
  double y = 0;
};

struct ChartScene {
  int width = 0;
  int height = 0;
  bool hasData = false;  // false: only the "not connected" text
  ChartRange range;
  std::optional<int> shadeBottom;  // above 60 degC, temperature sources only
  std::vector<ChartTick> ticks;
  std::vector<ChartGridLine> grid;
  std::vector<ChartPoint> curve;
  uint32_t color = 0;
  double presentY = 0;  // of sample 0
  std::string presentText;
};

// `now` is the computer's local date and time.
ChartScene LayoutChart(int width, int height, const Chart& chart, const Expert& expert,
                       const Info& info, uint8_t configFlag, const LocalDateTime& now,
                       std::string_view separator);

}  // namespace vmx
