// Each channel's level at any point of the day, as the Visualization page
// draws the schedule: a straight line from the start of the day, carrying the
// last row's levels over from the day before, through the rows in their
// order. Past the last row the last levels hold until the day ends.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "link/records.h"

namespace vmx {

using ChannelLevels = std::array<double, kChannels>;  // 0..4096, not rounded

class LightCurve {
 public:
  // `geo`: the rows are placed by their sun altitudes on the path angle
  // (0..360 degrees), else by their times in minutes of the day.
  LightCurve(std::span<const ScheduleRow> rows, bool geo);

  bool Empty() const { return knots_.empty(); }
  // The levels at `position` (minutes, or the sun's path angle).
  void LevelsAt(double position, ChannelLevels& out) const;

 private:
  struct Knot {
    double x = 0;
    ChannelLevels v{};
  };

  // Where rows are out of order the drawn line doubles back over itself; the
  // first stretch of it, in row order, that covers a position gives the level.
  // The distinct knot positions split the axis into spans with one such
  // stretch each (-1: none, the last levels hold).
  int SpanAt(double position) const;

  std::vector<Knot> knots_;
  std::vector<double> bounds_;  // sorted distinct knot positions
  std::vector<int> stretch_;    // per span [bounds_[i], bounds_[i + 1]]
  mutable int lastSpan_ = 0;    // the day's positions mostly move on by a little
};

}  // namespace vmx
