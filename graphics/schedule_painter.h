// Renders the schedule view. Grid and axis texts change only with the size
// and the mode; the marker and the eleven curves behind the selected one only
// with the clock and their rows. Both are kept as pictures. A frame that
// follows the last one redraws only the columns around the rows that changed
// (and the label's corner): during a drag that is a narrow strip.
#pragma once

#include <QFont>
#include <QImage>
#include <QRegion>
#include <optional>
#include <vector>

#include "graphics/schedule_geometry.h"

namespace vmx {

class SchedulePainter {
 public:
  // Renders `scene` into `frame`, which is made the view's size.
  void Paint(const ScheduleScene& scene, const QFont& font, QImage& frame);
  // The part of the frame the last Paint changed.
  const QRegion& Changed() const { return changed_; }

 private:
  void PaintBase(const ScheduleScene& scene, const QFont& font);
  void PaintUnder(const ScheduleScene& scene, const QRegion* clip);
  void PaintSelected(const ScheduleScene& scene, const QFont& font, QImage& frame,
                     const QRegion* clip) const;
  bool UnderCurrent(const ScheduleScene& scene) const;
  // The part of the picture `scene` changes against the last frame; nothing
  // when all of it may change. `others` tells whether curves besides the
  // selected one moved.
  std::optional<QRegion> Changes(const ScheduleScene& scene, const QFont& font, bool& others) const;

  QImage base_;  // grid and axis texts
  bool baseGeo_ = false;
  QFont baseFont_;

  QImage under_;  // the base with the marker and the other curves over it
  bool underCurrent_ = false;
  std::optional<double> underMarker_;
  int underSelected_ = -1;
  std::array<uint32_t, kChannels> underTint_{};
  std::vector<CurvePoint> underPoints_;

  std::optional<ScheduleScene> last_;  // what the frame shows
  qint64 lastFrame_ = 0;               // the frame's key after that drawing
  QFont lastFont_;
  QRegion changed_;
};

}  // namespace vmx
