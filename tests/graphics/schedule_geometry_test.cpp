// The schedule view's mapping at the window's design size, the sun-path angles
// of Geo rows, picking a point up and dragging it to the view's edges.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "astro/fixed_time_zone.h"
#include "graphics/schedule_geometry.h"
#include "tests/support/schedule_rows.h"

namespace vmx {
namespace {

constexpr ScheduleView kDesign{1001, 578};

using testing::Row;

std::vector<ScheduleRow> AltRows(std::initializer_list<int> alts) {
  std::vector<ScheduleRow> rows;
  for (int a : alts) rows.push_back(Row(0, 0, 0, a));
  return rows;
}

TEST(ScheduleView, MapsTimeAndValueAtTheDesignSize) {
  EXPECT_DOUBLE_EQ(kDesign.MinutesToX(0), 20);
  EXPECT_DOUBLE_EQ(kDesign.MinutesToX(12 * 60), 500.5);
  EXPECT_DOUBLE_EQ(kDesign.MinutesToX(24 * 60), 981);
  EXPECT_DOUBLE_EQ(kDesign.ValueToY(4096), 20);
  EXPECT_DOUBLE_EQ(kDesign.ValueToY(0), 557);
  EXPECT_DOUBLE_EQ(kDesign.ValueToY(2048), 288.5);
  EXPECT_DOUBLE_EQ(kDesign.AngleToX(180), 500.5);
  // Grid lines round half to even: 480.5 -> 480 and 288.5 -> 288.
  EXPECT_EQ(kDesign.GridX(0), 20);
  EXPECT_EQ(kDesign.GridX(12), 500);
  EXPECT_EQ(kDesign.GridX(24), 981);
  EXPECT_EQ(kDesign.GridY(0), 20);
  EXPECT_EQ(kDesign.GridY(5), 288);
  EXPECT_EQ(kDesign.GridY(10), 557);
}

TEST(ScheduleView, DraggedPixelsComeBackAsTimeAndValueWithinTheDay) {
  EXPECT_EQ(kDesign.MinutesAt(10), 0) << "left of the plot: midnight";
  EXPECT_EQ(kDesign.MinutesAt(20), 0);
  EXPECT_EQ(kDesign.MinutesAt(500), 719);
  EXPECT_EQ(kDesign.MinutesAt(981), 1440);
  EXPECT_EQ(kDesign.MinutesAt(1000), 1440) << "past the right edge: 24:00";
  EXPECT_EQ(kDesign.MinutesAt(-1e9), 0);
  EXPECT_EQ(kDesign.MinutesAt(1e9), 1440);
  EXPECT_EQ(kDesign.ValueAt(288), 2052);
  EXPECT_EQ(kDesign.ValueAt(600), 0);
  EXPECT_EQ(kDesign.ValueAt(0), 4096);
  EXPECT_EQ(kDesign.ValueAt(1e9), 0);
}

TEST(ScheduleView, TooSmallAViewHasNoPlot) {
  EXPECT_FALSE((ScheduleView{40, 578}.Drawable()));
  EXPECT_FALSE((ScheduleView{1001, 41}.Drawable()));
  EXPECT_FALSE((ScheduleView{0, 0}.Drawable()));
  EXPECT_TRUE((ScheduleView{41, 42}.Drawable()));

  const std::vector<ScheduleRow> rows{Row(8, 0, 100)};
  const ScheduleScene scene = LayoutSchedule({40, 578}, rows, Info{}, Config{}, {}, ".");
  EXPECT_TRUE(scene.points.empty());
  EXPECT_FALSE(scene.markerX);
  ScheduleRow row = rows[0];
  EXPECT_FALSE(DragRow(row, 0, {1001, 41}, 500, 300, true)) << "no division by zero";
  EXPECT_EQ(row, rows[0]);
}

TEST(GeoAngles, RisingRowsLeftOfNoonSettingRowsRightWithThePeakSetting) {
  const std::vector<double> a = GeoAngles(AltRows({0, 5000, 8660, 5000, 0}));
  ASSERT_EQ(a.size(), 5u);
  EXPECT_NEAR(a[0], 90, 1e-9);
  EXPECT_NEAR(a[1], 120, 1e-9);
  EXPECT_NEAR(a[2], 210, 0.01);
  EXPECT_NEAR(a[3], 240, 1e-9);
  EXPECT_NEAR(a[4], 270, 1e-9);
}

TEST(GeoAngles, ADipEndsTheRiseAndLeavesTheRowsBetweenUnplaced) {
  // The rise stops at the dip (row 2); the setting pass climbs back only to row 3.
  const std::vector<double> a = GeoAngles(AltRows({0, 5000, 3000, 8000, 5000, 0}));
  EXPECT_NEAR(a[0], 90, 1e-9);
  EXPECT_NEAR(a[1], 120, 1e-9);
  EXPECT_EQ(a[2], 0);
  EXPECT_NEAR(a[3], 270 - std::asin(0.8) * 180 / 3.141592653589793, 1e-9);
  EXPECT_NEAR(a[5], 270, 1e-9);
}

TEST(GeoAngles, EqualAltitudesInARowStayOnTheirSideOfNoon) {
  // A level stretch neither ends the rise nor the setting: no row of it falls
  // back to the chart's left edge.
  const struct {
    std::vector<int> alts;
    std::vector<double> angles;
  } cases[] = {
      {{0, 5000, 5000, 8660, 5000, 0}, {90, 120, 120, 210, 240, 270}},
      {{0, 5000, 8660, 5000, 5000, 0}, {90, 120, 210, 240, 240, 270}},
  };
  for (const auto& c : cases) {
    std::vector<ScheduleRow> rows;
    for (int alt : c.alts) rows.push_back(Row(0, 0, 0, alt));
    const std::vector<double> a = GeoAngles(rows);
    ASSERT_EQ(a.size(), c.angles.size());
    for (size_t k = 0; k < a.size(); ++k)
      EXPECT_NEAR(a[k], c.angles[k], 0.01) << "row " << k << " of case " << &c - cases;
  }
}

TEST(GeoAngles, FewerThanTwoRowsAndAltitudesBeyondTheSine) {
  EXPECT_TRUE(GeoAngles({}).empty());
  const std::vector<double> one = GeoAngles(AltRows({5000}));
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], 0) << "a single row is placed by neither pass";

  const std::vector<double> odd = GeoAngles(AltRows({-10001, 10001, -20000}));
  for (double angle : odd) EXPECT_FALSE(std::isnan(angle));
  EXPECT_EQ(odd[0], 90) << "out of range rising: the horizon";
  EXPECT_EQ(odd[1], 270) << "the peak sets";
  EXPECT_EQ(odd[2], 270);
  EXPECT_FALSE(AltitudeDegrees(10001));
  EXPECT_FALSE(AltitudeDegrees(-10001));
  EXPECT_NEAR(*AltitudeDegrees(10000), 90, 1e-9);
}

class SunMarker : public ::testing::Test {
 protected:
  SunMarker() {
    SetTimeZone(std::make_shared<FixedTimeZone>(FixedTimeZone::FromOffsetMinutes(120)));
    config.Mode = 2;
    config.Lat = 525;  // Berlin
    config.Lon = 134;
    info.Year = 24;
    info.Month = 6;
    info.Day = 21;
  }
  ~SunMarker() override { SetTimeZone(nullptr); }
  Info info;
  Config config;
};

TEST_F(SunMarker, RisingBeforeNoonSettingAfter) {
  // The sun culminates at about 13:08 in Berlin's summer time, some 61 degrees up.
  info.Hour = 13;
  const double morning = *SunPathAngle(info, config);
  EXPECT_GT(morning, 145);
  EXPECT_LT(morning, 152);
  info.Hour = 14;
  const double afternoon = *SunPathAngle(info, config);
  EXPECT_GT(afternoon, 208);
  EXPECT_LT(afternoon, 215);
}

TEST_F(SunMarker, ABoardDateThatDoesNotExistCostsTheMarkerNotTheCurves) {
  info.Month = 2;
  info.Day = 30;
  EXPECT_FALSE(SunPathAngle(info, config));
  const std::vector<ScheduleRow> rows = AltRows({0, 5000, 0});
  const ScheduleScene scene = LayoutSchedule(kDesign, rows, info, config, {}, ".");
  EXPECT_FALSE(scene.markerX);
  ASSERT_EQ(scene.points.size(), 3u);
  EXPECT_FLOAT_EQ(scene.points[0].x, static_cast<float>(kDesign.AngleToX(90)));
  info.Month = 13;
  EXPECT_FALSE(SunPathAngle(info, config));
  info.Month = 6;
  info.Hour = 24;
  EXPECT_FALSE(SunPathAngle(info, config));
}

TEST(ScheduleScene, AutoMarkerAndPointsFollowTheClockAndTheRows) {
  Info info;
  info.Hour = 12;
  Config config;
  config.Mode = 1;
  config.ColorName[3] = 2;   // red
  config.ColorName[4] = 99;  // no such colour: the first one's
  const std::vector<ScheduleRow> rows{Row(6, 0, 0, 0), Row(12, 0, 4096)};
  const ScheduleScene scene = LayoutSchedule(kDesign, rows, info, config, {3, 1}, ",");
  ASSERT_TRUE(scene.markerX);
  EXPECT_DOUBLE_EQ(*scene.markerX, 500.5);
  EXPECT_FLOAT_EQ(scene.points[0].x, static_cast<float>(kDesign.MinutesToX(360)));
  EXPECT_FLOAT_EQ(scene.points[1].y[3], 20);
  EXPECT_EQ(scene.opaque[3], 0xFFFF0000u);
  EXPECT_EQ(scene.tint[3], 0x20FF0000u);
  EXPECT_EQ(scene.opaque[4], 0xFFFFFFFFu);
  EXPECT_EQ(scene.label, "12:00 100%");

  info.Hour = 25;  // beyond the day: off the view, no marker
  EXPECT_FALSE(LayoutSchedule(kDesign, rows, info, config, {}, ".").markerX);
  EXPECT_TRUE(LayoutSchedule(kDesign, {}, Info{}, config, {}, ".").markerX)
      << "an empty schedule still has its marker";
}

TEST(ScheduleScene, LabelsOfAxesAndOfTheDraggedPoint) {
  EXPECT_EQ(VerticalLineLabel(7, false), "7");
  EXPECT_EQ(VerticalLineLabel(0, true), "-90\u00B0");
  EXPECT_EQ(VerticalLineLabel(12, true), "90\u00B0");
  EXPECT_EQ(VerticalLineLabel(13, true), "75\u00B0");
  EXPECT_EQ(VerticalLineLabel(24, true), "-90\u00B0");
  EXPECT_EQ(PercentLineLabel(1), "90%");
  EXPECT_EQ(PercentLineLabel(9), "10%");

  ScheduleRow row = Row(7, 5, 2049, 5000);
  EXPECT_EQ(PointLabel(row, 0, false, ","), "07:05 50,02%");
  EXPECT_EQ(PointLabel(row, 0, true, ","), "30\u00B0 50%");
  row.Alt = 7071;
  EXPECT_EQ(PointLabel(row, 0, true, "."), "45\u00B0 50%");
  row.Alt = 10001;
  EXPECT_EQ(PointLabel(row, 0, true, "."), "0\u00B0 50%");
  EXPECT_EQ(PointLabel(Row(24, 0, 0, 0), 0, false, "."), "24:00 0%");
}

TEST(ScheduleScene, SelectedCurveIsDrawnLast) {
  const std::array<int, kChannels> order = CurveOrder(4);
  EXPECT_EQ(order.front(), 5);
  EXPECT_EQ(order[6], 11);
  EXPECT_EQ(order[7], 0);
  EXPECT_EQ(order.back(), 4);
  EXPECT_EQ(CurveOrder(11).front(), 0);
}

TEST(HitRow, NearestByIndexWithinEightPixels) {
  std::vector<PointPosition> points(3);
  points[0].x = 100;
  points[0].y[2] = 200;
  points[1].x = 106;
  points[1].y[2] = 204;
  points[2].x = 300;
  points[2].y[2] = 100;
  EXPECT_EQ(HitRow(points, 2, 104, 203), 0) << "both within reach: the lower index";
  EXPECT_EQ(HitRow(points, 2, 114, 212), 1);
  EXPECT_EQ(HitRow(points, 2, 308, 92), 2) << "the reach includes the eighth pixel";
  EXPECT_EQ(HitRow(points, 2, 309, 100), -1);
  EXPECT_EQ(HitRow(points, 3, 100, 200), -1) << "another channel's points are elsewhere";
  EXPECT_EQ(HitRow(points, 12, 100, 200), -1);
  EXPECT_EQ(HitRow({}, 0, 0, 0), -1);
}

TEST(DragRow, TimeAndValueClampedToTheDayAndTheRange) {
  ScheduleRow row = Row(8, 30, 1000, 1234);
  EXPECT_TRUE(DragRow(row, 5, kDesign, 10, 0, true));
  EXPECT_EQ(row.Hour, 0);
  EXPECT_EQ(row.Minute, 0);
  EXPECT_EQ(row.Color16[5], 4096);
  EXPECT_EQ(row.Color16[4], 1000) << "other channels untouched";
  EXPECT_EQ(row.Alt, 1234);

  EXPECT_TRUE(DragRow(row, 5, kDesign, 2000, 900, true));
  EXPECT_EQ(row.Hour, 24);
  EXPECT_EQ(row.Minute, 0);
  EXPECT_EQ(row.Color16[5], 0);

  EXPECT_TRUE(DragRow(row, 5, kDesign, 500, 288, false));
  EXPECT_EQ(row.Hour, 24) << "time locked";
  EXPECT_EQ(row.Color16[5], 2052);
  EXPECT_FALSE(DragRow(row, 5, kDesign, 600, 288, false)) << "same value: nothing changed";
}

}  // namespace
}  // namespace vmx
