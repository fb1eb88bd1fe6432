#include "graphics/schedule_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/sunmoon.h"
#include "graphics/round_even.h"
#include "lang/number_text.h"

namespace vmx {
namespace {

constexpr int kMargin = 20;

constexpr std::array<uint32_t, 16> kCurveColors{
    0xFFFFFFFF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFC000FF, 0xFFFFFFFF, 0xFFF0F0FF,
    0xFFFFFFE0, 0xFFFFFF00, 0xFFFF0080, 0xFF4000FF, 0xFF00FFFF, 0xFFC000FF, 0xFFFFC000, 0xFFC00000};

double ClampedRound(double v, double lo, double hi) {
  // Clamped before the conversion, so a far-off pointer never overflows an int.
  return std::clamp(std::nearbyint(v), lo, hi);
}

}  // namespace

uint32_t CurveColor(int colorIndex) {
  if (colorIndex < 0 || colorIndex >= static_cast<int>(kCurveColors.size())) colorIndex = 0;
  return kCurveColors[static_cast<size_t>(colorIndex)];
}

uint32_t CurveTint(int colorIndex) {
  return (CurveColor(colorIndex) & 0x00FFFFFFu) | 0x20000000u;
}

double ScheduleView::ValueToY(double value) const {
  return (1 - value / kFullIntensity) * (height - 41) + kMargin;
}

double ScheduleView::MinutesToX(double minutes) const {
  return minutes * (width - 40) / kMinutesPerDay + kMargin;
}

double ScheduleView::AngleToX(double degrees) const {
  return degrees * (width - 40) / 360 + kMargin;
}

int ScheduleView::GridX(int i) const {
  return RoundEven(i * (width - 40) / 24.0) + kMargin;
}

int ScheduleView::GridY(int j) const {
  return RoundEven(j * (height - 41) / 10.0 + kMargin);
}

int ScheduleView::MinutesAt(double x) const {
  return static_cast<int>(ClampedRound(
      (x * kMinutesPerDay - kMargin * kMinutesPerDay) / (width - 40), 0, kMinutesPerDay));
}

int ScheduleView::ValueAt(double y) const {
  return static_cast<int>(
      ClampedRound((1 - (y - kMargin) / (height - 41)) * kFullIntensity, 0, kFullIntensity));
}

std::optional<double> AltitudeDegrees(int alt) {
  // asin gives NaN beyond +-1: such a row keeps the horizon's place instead.
  if (alt < -10000 || alt > 10000) return std::nullopt;
  return std::asin(alt / 10000.0) * RAD;
}

std::vector<double> GeoAngles(std::span<const ScheduleRow> rows) {
  const int n = static_cast<int>(rows.size());
  std::vector<double> angles(rows.size(), 0.0);
  // Signed bounds: with fewer than two rows neither pass runs.
  for (int k = 0; k <= n - 2; ++k) {
    angles[k] = AltitudeDegrees(rows[k].Alt).value_or(0) + 90;
    if (rows[k + 1].Alt < rows[k].Alt) break;
  }
  for (int k = n - 1; k >= 1; --k) {
    angles[k] = 270 - AltitudeDegrees(rows[k].Alt).value_or(0);
    if (rows[k].Alt > rows[k - 1].Alt) break;
  }
  return angles;
}

std::vector<double> RowPositions(std::span<const ScheduleRow> rows, bool geo) {
  if (geo) return GeoAngles(rows);
  std::vector<double> minutes(rows.size());
  for (size_t k = 0; k < rows.size(); ++k) minutes[k] = rows[k].Hour * 60 + rows[k].Minute;
  return minutes;
}

std::optional<double> SunPathAngle(const Info& info, const Config& config) {
  LocalDateTime t;
  t.year = info.Year + 2000;
  t.month = info.Month;
  t.day = info.Day;
  t.hour = info.Hour;
  t.minute = info.Minute;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) ||
      t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59)
    return std::nullopt;
  const double lat = config.Lat * 0.1;
  const double lon = config.Lon * 0.1;
  const int zone = WholeHourZone(t);
  const double jd0 = JulianDay(t.day, t.month, t.year);
  const double jd = jd0 + (t.hour - zone + t.minute / 60.0) / 24;
  const double tdt = jd + 65.0 / 86400;
  const double gmst = SiderealTime(jd);
  const double lmst = LocalSiderealTime(gmst, lon * DEG);
  const TCoor sun = SunCoordinates(tdt, lat * DEG, lmst * 15 * DEG);
  return sun.EastOfMeridian ? sun.Alt * RAD + 90 : 270 - sun.Alt * RAD;
}

std::string VerticalLineLabel(int i, bool geo) {
  if (!geo) return std::to_string(i);
  return std::to_string(i <= 12 ? 15 * i - 90 : 270 - 15 * i) + "\u00B0";
}

std::string PercentLineLabel(int j) {
  return std::to_string(100 - 10 * j) + "%";
}

std::string PointLabel(const ScheduleRow& row, int channel, bool geo, std::string_view separator) {
  const double percent = row.Color16[static_cast<size_t>(channel)] / 40.96;
  if (geo) {
    const std::optional<double> altitude = AltitudeDegrees(row.Alt);
    const std::string angle = altitude ? FormatDecimal(*altitude, 0, 2, separator) : "0";
    return angle + "\u00B0 " + FormatDecimal(percent, 0, 0, separator) + "%";
  }
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d", row.Hour, row.Minute);
  return std::string(time) + " " + FormatDecimal(percent, 0, 2, separator) + "%";
}

PixelRect HandleRect(float x, float y) {
  return {RoundEven(x - 5.0), RoundEven(y - 5.0), RoundEven(x + 5.0), RoundEven(y + 5.0)};
}

std::array<int, kChannels> CurveOrder(int selected) {
  std::array<int, kChannels> order{};
  for (int i = 0; i < kChannels; ++i)
    order[static_cast<size_t>(i)] = (selected + 1 + i) % kChannels;
  return order;
}

ScheduleScene LayoutSchedule(ScheduleView view, std::span<const ScheduleRow> rows, const Info& info,
                             const Config& config, ScheduleState state,
                             std::string_view separator) {
  ScheduleScene scene;
  scene.view = view;
  scene.geo = ModeOf(config.Mode) == BoardMode::Geo;
  scene.selected = std::clamp(state.selectedChannel, 0, kChannels - 1);
  for (int c = 0; c < kChannels; ++c) {
    scene.opaque[static_cast<size_t>(c)] = CurveColor(config.ColorName[static_cast<size_t>(c)]);
    scene.tint[static_cast<size_t>(c)] = CurveTint(config.ColorName[static_cast<size_t>(c)]);
  }
  if (!view.Drawable()) return scene;

  // A board date that does not exist costs the marker only, never the curves.
  std::optional<double> marker;
  if (scene.geo) {
    if (const auto angle = SunPathAngle(info, config)) marker = view.AngleToX(*angle);
  } else {
    marker = view.MinutesToX(info.Hour * 60 + info.Minute);
  }
  if (marker && *marker >= 0 && *marker <= view.width) scene.markerX = marker;

  const std::vector<double> positions = RowPositions(rows, scene.geo);
  scene.points.resize(rows.size());
  for (size_t k = 0; k < rows.size(); ++k) {
    const ScheduleRow& row = rows[k];
    CurvePoint& p = scene.points[k];
    p.x =
        static_cast<float>(scene.geo ? view.AngleToX(positions[k]) : view.MinutesToX(positions[k]));
    for (size_t c = 0; c < kChannels; ++c)
      p.y[c] = static_cast<float>(view.ValueToY(row.Color16[c]));
  }
  if (state.selectedRow >= 0 && state.selectedRow < static_cast<int>(rows.size()))
    scene.label = PointLabel(rows[static_cast<size_t>(state.selectedRow)], scene.selected,
                             scene.geo, separator);
  return scene;
}

int HitRow(std::span<const PointPosition> points, int channel, double x, double y) {
  if (channel < 0 || channel >= kChannels) return -1;
  for (size_t k = 0; k < points.size(); ++k) {
    const PointPosition& p = points[k];
    const double py = p.y[static_cast<size_t>(channel)];
    if (p.x - kHitRadius <= x && x <= p.x + kHitRadius && py - kHitRadius <= y &&
        y <= py + kHitRadius)
      return static_cast<int>(k);
  }
  return -1;
}

bool DragRow(ScheduleRow& row, int channel, const ScheduleView& view, double x, double y,
             bool moveTime) {
  if (channel < 0 || channel >= kChannels || !view.Drawable()) return false;
  const ScheduleRow before = row;
  if (moveTime) {
    // 1440 stays 24:00, the end of the day.
    const int minutes = view.MinutesAt(x);
    row.Hour = static_cast<int8_t>(minutes / 60);
    row.Minute = static_cast<int8_t>(minutes % 60);
  }
  row.Color16[static_cast<size_t>(channel)] = static_cast<int16_t>(view.ValueAt(y));
  return !(row == before);
}

}  // namespace vmx
