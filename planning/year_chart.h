// Where the year view puts things: the length of day and each lit channel's
// hours as curves over the days of the year, the months, the hours of the
// day and today.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "planning/year_explorer.h"

namespace vmx {

struct YearCurve {
  uint32_t color = 0;  // ARGB
  int width = 1;       // pixels
  std::vector<float> y;  // one point a day
  bool operator==(const YearCurve&) const = default;
};

struct YearMark {
  float at = 0;  // x of a month's first day, or y of an hour line
  int value = 0;  // the month 1..12, or the hour
  bool operator==(const YearMark&) const = default;
};

struct YearChartScene {
  int width = 0, height = 0;
  std::vector<float> x;  // of each day
  std::vector<YearCurve> curves;  // the channels in use, then the length of day on top
  std::vector<YearMark> months;
  std::vector<YearMark> hours;
  std::optional<float> today;
  std::vector<std::pair<uint32_t, std::string>> legend;  // colour and text
  bool operator==(const YearChartScene&) const = default;
};

inline constexpr uint32_t kDayLengthColor = 0xFFFFD000;

// `colors`: each channel's curve colour; `today`: the day's index when the
// year is this one.
YearChartScene LayoutYearChart(const YearReport& report, int width, int height,
                               const std::array<uint32_t, kChannels>& colors,
                               std::optional<int> today);

}  // namespace vmx
