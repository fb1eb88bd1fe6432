// Where the schedule view puts things: the curves of the twelve channels over
// the day (Auto) or over the sun's path (Geo), the grid, the present moment,
// and the way back from a dragged pixel to a row's time and value.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/records.h"

namespace vmx {

// Where the schedule view drew a row last: x, and y per channel, in pixels.
// The view keeps them for its hit test; they are nobody else's business.
struct PointPosition {
  float x = 0;
  std::array<float, kChannels> y{};
};

inline constexpr int kFullIntensity = 4096;
inline constexpr int kMinutesPerDay = 1440;
// How close (pixels, each way) a press must come to a point to pick it up.
inline constexpr int kHitRadius = 8;

// The curve colours of colour index 0..15; any other index the board may hold
// takes the colour of index 0.
uint32_t CurveColor(int colorIndex);  // opaque
uint32_t CurveTint(int colorIndex);   // the same with alpha 0x20

// The view's pixel mapping for a bitmap of `width` x `height`: a margin of 20
// around the plot, one pixel more at the bottom.
struct ScheduleView {
  int width = 0;
  int height = 0;

  // Below 41 x 42 the plot has no extent and the mapping would divide by zero.
  bool Drawable() const { return width > 40 && height > 41; }

  double ValueToY(double value) const;
  double MinutesToX(double minutes) const;
  double AngleToX(double degrees) const;  // the sun's path angle, 0..360
  int GridX(int i) const;                 // vertical line i = 0..24
  int GridY(int j) const;                 // horizontal line j = 0..10
  // A dragged point: minutes 0..1440 and intensity 0..4096, rounded to nearest (ties to even).
  int MinutesAt(double x) const;
  int ValueAt(double y) const;

  bool operator==(const ScheduleView&) const = default;
};

// Altitude in degrees of a row's `Alt` (10000 x sine); nothing outside +-10000.
std::optional<double> AltitudeDegrees(int alt);

// The path angle of each row in Geo mode: the rows climbing from the first one
// are on the rising side (90..180), the rows falling to the last one on the
// setting side (180..270); the highest row counts as setting. A row reached by
// neither stays at 0.
std::vector<double> GeoAngles(std::span<const ScheduleRow> rows);

// The sun's path angle at the board's clock and location, for the marker in
// Geo mode; nothing when the board's date or time does not exist.
std::optional<double> SunPathAngle(const Info& info, const Config& config);

// Axis texts: hour i (Auto) or the altitude of line i (Geo); percent of line j.
std::string VerticalLineLabel(int i, bool geo);
std::string PercentLineLabel(int j);

// The label of a dragged point: "07:30 50.5%" (Auto) or "30° 51%" (Geo).
std::string PointLabel(const ScheduleRow& row, int channel, bool geo, std::string_view separator);

// Where one row's point lies for each channel.
struct CurvePoint {
  float x = 0;
  std::array<float, kChannels> y{};
  bool operator==(const CurvePoint&) const = default;
};

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool operator==(const PixelRect&) const = default;
};
PixelRect HandleRect(float x, float y);

// Channels in drawing order: the one after the selected first, the selected last.
std::array<int, kChannels> CurveOrder(int selected);

// Everything one frame of the view shows.
struct ScheduleScene {
  ScheduleView view;
  bool geo = false;
  std::optional<double> markerX;
  std::vector<CurvePoint> points;  // one per row
  std::array<uint32_t, kChannels> opaque{};
  std::array<uint32_t, kChannels> tint{};
  int selected = 0;
  std::string label;  // of the dragged point; empty when none
  bool operator==(const ScheduleScene&) const = default;
};

struct ScheduleState {
  int selectedChannel = 0;
  int selectedRow = -1;
};

ScheduleScene LayoutSchedule(ScheduleView view, std::span<const ScheduleRow> rows, const Info& info,
                             const Config& config, ScheduleState state, std::string_view separator);

// The first row whose point of `channel`, as drawn last, lies within the hit
// radius of (x, y); -1 for none.
int HitRow(std::span<const PointPosition> points, int channel, double x, double y);

// A drag of `row`'s point of `channel` to (x, y): the value always, the time
// unless `moveTime` is false. Returns whether the row changed.
bool DragRow(ScheduleRow& row, int channel, const ScheduleView& view, double x, double y,
             bool moveTime);

}  // namespace vmx
