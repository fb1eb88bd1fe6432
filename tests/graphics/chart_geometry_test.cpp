// The sensor chart's axes: the self-scaling value range for ordinary, flat and
// freezing series, the time axis over midnight, gaps in the samples, units.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/chart_geometry.h"

namespace vmx {
namespace {

Chart Series(int from, int to) {
  Chart chart = EmptyChart();
  for (int n = 0; n < kChartSamples; ++n)
    chart.Sample[n] = static_cast<int16_t>(to - (to - from) * n / 39);
  return chart;
}

Chart Flat(int value) {
  Chart chart;
  chart.Sample.fill(static_cast<int16_t>(value));
  return chart;
}

Expert Source(int mode, int interval) {
  Expert e;
  e.ChartMode = static_cast<uint8_t>(mode);
  e.ChartInterval = static_cast<uint16_t>(interval);
  return e;
}

Info Clock(int hour, int minute, int second = 0, int centisecond = 0) {
  Info info;
  info.Hour = static_cast<int8_t>(hour);
  info.Minute = static_cast<int8_t>(minute);
  info.Second = static_cast<int8_t>(second);
  info.Centisecond = static_cast<uint8_t>(centisecond);
  return info;
}

constexpr LocalDateTime kFirstOfMarch{2024, 3, 1, 17, 45, 12, 500};

TEST(ChartRange, WaterTemperatureWidenedToWholeDegrees) {
  const Chart chart = Series(250, 262);
  EXPECT_EQ(ChartValueRange(chart), (ChartRange{230, 290}));
  EXPECT_EQ(ChartGridStep(60), 2);

  const ChartScene scene =
      LayoutChart(1001, 606, chart, Source(0, 15), Clock(12, 0), 0, kFirstOfMarch, ".");
  ASSERT_TRUE(scene.hasData);
  ASSERT_EQ(scene.grid.size(), 31u) << "every 0.2 degrees";
  EXPECT_EQ(scene.grid.front().text, "23.0\u00B0C");
  EXPECT_TRUE(scene.grid[1].text.empty());
  EXPECT_EQ(scene.grid[5].text, "24.0\u00B0C");
  EXPECT_DOUBLE_EQ(scene.grid.front().y, 606 - 21);
  EXPECT_DOUBLE_EQ(scene.grid.back().y, 20);
  EXPECT_FALSE(scene.shadeBottom) << "60 degrees lie far above the top";
  EXPECT_EQ(scene.presentText, "26.2\u00B0C");
  EXPECT_EQ(scene.color, 0xFF0000FFu);
}

TEST(ChartRange, VoltageAroundTwelveVolts) {
  EXPECT_EQ(ChartValueRange(Flat(12000)), (ChartRange{11390, 12610}));
  EXPECT_EQ(ChartGridStep(1220), 100);
  const ChartScene scene =
      LayoutChart(1001, 606, Flat(12000), Source(2, 15), Clock(12, 0), 0, kFirstOfMarch, ",");
  for (const ChartGridLine& line : scene.grid) EXPECT_FALSE(line.text.empty()) << line.value;
  EXPECT_EQ(scene.grid.front().text, "11,39 V");
  EXPECT_FALSE(scene.shadeBottom) << "no shading for a voltage";
  EXPECT_EQ(scene.color, 0xFF000000u);
}

TEST(ChartRange, FlatAndFreezingSeriesStayBracketedAndOpen) {
  for (int value : {0, -50, -100, -200, -300, -1000, 32000, -32768}) {
    const ChartRange r = ChartValueRange(Flat(value));
    EXPECT_LT(r.lo, r.hi) << value;
    EXPECT_LE(r.lo, value) << value;
    EXPECT_GE(r.hi, value) << value;
    EXPECT_EQ(r.lo % 10, 0);
    EXPECT_EQ(r.hi % 10, 0);
    const ChartScene scene =
        LayoutChart(1001, 606, Flat(value), Source(1, 15), Clock(1, 0), 0, kFirstOfMarch, ".");
    for (const ChartPoint& p : scene.curve) EXPECT_TRUE(std::isfinite(p.y)) << value;
    EXPECT_GE(scene.presentY, 20);
    EXPECT_LE(scene.presentY, 606 - 21);
  }
  EXPECT_EQ(ChartValueRange(Flat(-100)), (ChartRange{-110, -90}));
  // Below zero the 5 % rule alone would leave the samples outside the range.
  const ChartRange cold = ChartValueRange(Series(-400, -300));
  EXPECT_LE(cold.lo, -400);
  EXPECT_GE(cold.hi, -300);
}

TEST(ChartRange, GridStepsByRangeSpan) {
  EXPECT_EQ(ChartGridStep(40), 1);
  EXPECT_EQ(ChartGridStep(41), 2);
  EXPECT_EQ(ChartGridStep(101), 5);
  EXPECT_EQ(ChartGridStep(400), 10);
  EXPECT_EQ(ChartGridStep(1000), 20);
  EXPECT_EQ(ChartGridStep(4000), 200);
  EXPECT_EQ(ChartGridStep(40001), 4000);
}

TEST(ChartCurve, EmptySlotsAreSkippedAndTheirNeighboursJoined) {
  Chart chart = Series(250, 262);
  chart.Sample[5] = kEmptySample;
  chart.Sample[39] = kEmptySample;
  const ChartScene scene =
      LayoutChart(1001, 606, chart, Source(0, 15), Clock(12, 0), 0, kFirstOfMarch, ".");
  ASSERT_EQ(scene.curve.size(), 38u);
  EXPECT_DOUBLE_EQ(scene.curve.front().x, (1 - 38 / 39.0) * 921 + 40);
  EXPECT_DOUBLE_EQ(scene.curve.back().x, 961) << "sample 0 at the right edge";
  // Samples 6 and 4 follow each other: the gap is bridged by one segment.
  EXPECT_DOUBLE_EQ(scene.curve[32].x, (1 - 6 / 39.0) * 921 + 40);
  EXPECT_DOUBLE_EQ(scene.curve[33].x, (1 - 4 / 39.0) * 921 + 40);
}

TEST(ChartCurve, NoSensorNoIntervalNoDataJustTheNotice) {
  Chart chart = Series(250, 262);
  EXPECT_FALSE(
      LayoutChart(1001, 606, chart, Source(0, 0), Clock(1, 0), 0, kFirstOfMarch, ".").hasData);
  chart.Sample[0] = kEmptySample;
  EXPECT_FALSE(
      LayoutChart(1001, 606, chart, Source(0, 15), Clock(1, 0), 0, kFirstOfMarch, ".").hasData);
  EXPECT_FALSE(
      LayoutChart(1001, 606, EmptyChart(), Source(0, 15), Clock(1, 0), 0, kFirstOfMarch, ".")
          .hasData);
}

TEST(ChartCurve, HotSeriesShadesAboveSixtyDegrees) {
  const ChartScene scene =
      LayoutChart(1001, 606, Series(560, 640), Source(1, 15), Clock(1, 0), 0, kFirstOfMarch, ".");
  ASSERT_TRUE(scene.shadeBottom);
  const double y60 = (1 - (600.0 - scene.range.lo) / (scene.range.hi - scene.range.lo)) * 565 + 20;
  EXPECT_EQ(*scene.shadeBottom, static_cast<int>(std::nearbyint(y60))) << "half to even";
  EXPECT_EQ(scene.color, 0xFFFF0000u);
}

TEST(ChartUnits, FahrenheitAndUnknownSources) {
  EXPECT_EQ(ChartValueText(250, 0, config_flag::Fahrenheit, "."), "77.0\u00B0F");
  EXPECT_EQ(ChartValueText(250, 3, 0, ","), "25,0\u00B0C");
  EXPECT_EQ(ChartValueText(24100, 2, config_flag::Fahrenheit, "."), "24.10 V");
  EXPECT_EQ(ChartCurveColor(3), 0xFFFF8000u);
  EXPECT_EQ(ChartCurveColor(4), 0u) << "an unknown source draws invisibly";
}

TEST(ChartTime, AxisEndsAtTheBoardsClockRoundedToTheInterval) {
  const int64_t day = LocalMilliseconds({2024, 3, 1, 0, 0, 0, 0}) / 60000;
  EXPECT_EQ(ChartEndMinute(kFirstOfMarch, Clock(10, 44, 59, 99), 15), day + 10 * 60 + 30);
  EXPECT_EQ(ChartEndMinute(kFirstOfMarch, Clock(10, 45, 0, 0), 15), day + 10 * 60 + 45);
  // A clock that is no time of day gives way to the computer's (17:45:12).
  EXPECT_EQ(ChartEndMinute(kFirstOfMarch, Clock(25, 0), 15), day + 17 * 60 + 45);
  EXPECT_EQ(ChartEndMinute(kFirstOfMarch, Clock(10, 44, 59, 100), 15), day + 17 * 60 + 45);
  EXPECT_EQ(ChartEndMinute(kFirstOfMarch, Clock(10, 60), 15), day + 17 * 60 + 45);
  EXPECT_EQ(LocalMilliseconds({1899, 12, 30, 0, 0, 0, 0}), 0);
  EXPECT_EQ(LocalFromMinutes(day), (LocalDateTime{2024, 3, 1, 0, 0, 0, 0}));
  EXPECT_EQ(LocalFromMinutes(day - 1), (LocalDateTime{2024, 2, 29, 23, 59, 0, 0}));
}

TEST(ChartTime, HalfHourTicksCrossMidnightWithTheDate) {
  // Interval 5: 195 minutes; the axis ends at 00:20, ticks every half hour back to 21:30.
  const ChartScene scene =
      LayoutChart(1001, 606, Series(250, 262), Source(0, 5), Clock(0, 23), 0, kFirstOfMarch, ".");
  ASSERT_EQ(scene.ticks.size(), 6u);
  EXPECT_TRUE(scene.ticks[0].midnight);
  EXPECT_EQ(scene.ticks[0].at, (LocalDateTime{2024, 3, 1, 0, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(scene.ticks[0].x, (1 - 20 / 195.0) * 921 + 40);
  EXPECT_FALSE(scene.ticks[1].midnight);
  EXPECT_EQ(scene.ticks[1].at, (LocalDateTime{2024, 2, 29, 23, 30, 0, 0}));
  EXPECT_EQ(scene.ticks[5].at, (LocalDateTime{2024, 2, 29, 21, 30, 0, 0}));
  for (const ChartTick& t : scene.ticks) EXPECT_GE(t.x, 40);
}

TEST(ChartTime, HourlyIntervalTicksEveryMidnight) {
  // Interval 60: 39 hours; the axis ends at 10:00, midnights of today and yesterday.
  const ChartScene scene =
      LayoutChart(1001, 606, Series(250, 262), Source(0, 60), Clock(10, 30), 0, kFirstOfMarch, ".");
  ASSERT_EQ(scene.ticks.size(), 2u);
  EXPECT_TRUE(scene.ticks[0].midnight);
  EXPECT_TRUE(scene.ticks[1].midnight);
  EXPECT_EQ(scene.ticks[1].at.day, 29);
  EXPECT_DOUBLE_EQ(scene.ticks[0].x, (1 - 600 / 2340.0) * 921 + 40);

  // Every minute: ten ticks at most, 15 minutes apart.
  const ChartScene fine =
      LayoutChart(1001, 606, Series(250, 262), Source(0, 3), Clock(10, 59), 0, kFirstOfMarch, ".");
  EXPECT_LE(fine.ticks.size(), 10u);
  EXPECT_EQ(fine.ticks[0].at.minute, 45);
  EXPECT_EQ(fine.ticks[1].at.minute, 30);
}

}  // namespace
}  // namespace vmx
