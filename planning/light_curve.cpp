#include "planning/light_curve.h"

#include <algorithm>

#include "graphics/schedule_geometry.h"

namespace vmx {

LightCurve::LightCurve(std::span<const ScheduleRow> rows, bool geo) {
  if (rows.empty()) return;
  const std::vector<double> positions = RowPositions(rows, geo);
  auto levels = [](const ScheduleRow& row) {
    ChannelLevels v{};
    for (size_t c = 0; c < kChannels; ++c)
      v[c] = std::clamp<double>(row.Color16[c], 0, kFullIntensity);
    return v;
  };
  knots_.push_back({0, levels(rows.back())});
  for (size_t k = 0; k < rows.size(); ++k) knots_.push_back({positions[k], levels(rows[k])});

  for (const Knot& k : knots_) bounds_.push_back(k.x);
  std::sort(bounds_.begin(), bounds_.end());
  bounds_.erase(std::unique(bounds_.begin(), bounds_.end()), bounds_.end());
  stretch_.assign(bounds_.size() > 1 ? bounds_.size() - 1 : 0, -1);
  for (size_t i = 0; i + 1 < bounds_.size(); ++i) {
    for (size_t s = 0; s + 1 < knots_.size(); ++s) {
      const double lo = std::min(knots_[s].x, knots_[s + 1].x);
      const double hi = std::max(knots_[s].x, knots_[s + 1].x);
      if (lo <= bounds_[i] && bounds_[i + 1] <= hi) {
        stretch_[i] = static_cast<int>(s);
        break;
      }
    }
  }
}

int LightCurve::SpanAt(double position) const {
  const int spans = static_cast<int>(stretch_.size());
  if (spans == 0 || position < bounds_.front() || position > bounds_.back()) return -1;
  auto inside = [&](int i) {
    return bounds_[static_cast<size_t>(i)] <= position &&
           position <= bounds_[static_cast<size_t>(i) + 1];
  };
  if (lastSpan_ < spans && inside(lastSpan_)) return lastSpan_;
  if (lastSpan_ + 1 < spans && inside(lastSpan_ + 1)) return ++lastSpan_;
  const auto after = std::upper_bound(bounds_.begin(), bounds_.end(), position);
  lastSpan_ = std::clamp(static_cast<int>(after - bounds_.begin()) - 1, 0, spans - 1);
  return lastSpan_;
}

void LightCurve::LevelsAt(double position, ChannelLevels& out) const {
  if (knots_.empty()) {
    out.fill(0);
    return;
  }
  const int span = SpanAt(position);
  const int s = span < 0 ? -1 : stretch_[static_cast<size_t>(span)];
  if (s < 0) {
    out = knots_.back().v;
    return;
  }
  const Knot& a = knots_[static_cast<size_t>(s)];
  const Knot& b = knots_[static_cast<size_t>(s) + 1];
  const double f = b.x == a.x ? 1.0 : (position - a.x) / (b.x - a.x);
  for (size_t c = 0; c < kChannels; ++c) out[c] = a.v[c] + (b.v[c] - a.v[c]) * f;
}

}  // namespace vmx
