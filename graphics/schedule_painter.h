// Renders the schedule view. Grid and axis texts change only with the size
// and the mode; the marker and the eleven curves behind the selected one only
// with the clock and their rows. Both are kept as pictures, so a frame during
// a drag copies them and draws the selected curve over them.
#pragma once

#include <QFont>
#include <QImage>
#include <optional>
#include <vector>

#include "graphics/schedule_geometry.h"

namespace vmx {

class SchedulePainter {
 public:
  // Renders `scene` into `frame`, which is made the view's size.
  void Paint(const ScheduleScene& scene, const QFont& font, QImage& frame);

 private:
  void PaintBase(const ScheduleScene& scene, const QFont& font);
  void PaintUnder(const ScheduleScene& scene);
  void PaintSelected(const ScheduleScene& scene, const QFont& font, QImage& frame) const;
  bool UnderCurrent(const ScheduleScene& scene) const;

  QImage base_;  // grid and axis texts
  bool baseGeo_ = false;
  QFont baseFont_;

  QImage under_;  // the base with the marker and the other curves over it
  bool underCurrent_ = false;
  std::optional<double> underMarker_;
  int underSelected_ = -1;
  std::array<uint32_t, kChannels> underTint_{};
  std::vector<CurvePoint> underPoints_;
};

}  // namespace vmx
