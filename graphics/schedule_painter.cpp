#include "graphics/schedule_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstring>

namespace vmx {
namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrid = 0xFF101010;
constexpr QRgb kAxisText = 0xFF808080;
constexpr QRgb kMarker = 0xFFC0C0C0;

QColor Argb(uint32_t argb) {
  return QColor::fromRgba(argb);
}

QPen Hairline(uint32_t argb) {
  QPen pen(Argb(argb), 1);
  pen.setCosmetic(true);
  return pen;
}

// Text placed by its top-left corner, as the view's layout gives positions.
void TextAt(QPainter& p, const QFontMetrics& fm, double x, double y, const QString& text) {
  p.drawText(QPointF(x, y + fm.ascent()), text);
}

// The curve of channel c: the previous day's last level at the left edge, then the rows.
std::vector<QPointF> Curve(const ScheduleScene& scene, int c) {
  std::vector<QPointF> line;
  line.reserve(scene.points.size() + 3);
  const auto y = [c](const CurvePoint& p) {
    return static_cast<double>(p.y[static_cast<size_t>(c)]);
  };
  line.emplace_back(20, y(scene.points.back()));
  for (const CurvePoint& p : scene.points) line.emplace_back(p.x, y(p));
  return line;
}

}  // namespace

void SchedulePainter::Paint(const ScheduleScene& scene, const QFont& font, QImage& frame) {
  const ScheduleView& view = scene.view;
  const QSize size(std::max(view.width, 0), std::max(view.height, 0));
  if (frame.size() != size) frame = QImage(size, QImage::Format_ARGB32_Premultiplied);
  changed_ = QRegion(frame.rect());
  if (frame.isNull()) return;
  if (!view.Drawable()) {
    frame.fill(kBlack);
    last_.reset();
    return;
  }
  bool full = false;
  if (base_.size() != size || baseGeo_ != scene.geo || baseFont_ != font) {
    PaintBase(scene, font);
    full = true;
  }
  if (!last_ || frame.cacheKey() != lastFrame_ || lastFont_ != font) full = true;
  bool others = true;
  const std::optional<QRegion> dirty = full ? std::nullopt : Changes(scene, font, others);
  if (!dirty) {
    if (!UnderCurrent(scene)) PaintUnder(scene, nullptr);
    std::memcpy(frame.bits(), under_.constBits(), static_cast<size_t>(frame.sizeInBytes()));
    if (!scene.points.empty()) PaintSelected(scene, font, frame, nullptr);
  } else if (!dirty->isEmpty()) {
    if (others) PaintUnder(scene, &*dirty);
    for (const QRect& r : *dirty) {
      const size_t bytes = static_cast<size_t>(r.width()) * 4;
      for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(frame.scanLine(y) + r.left() * 4, under_.constScanLine(y) + r.left() * 4,
                    bytes);
    }
    PaintSelected(scene, font, frame, &*dirty);
  }
  if (dirty) changed_ = *dirty;
  last_ = scene;
  lastFrame_ = frame.cacheKey();
  lastFont_ = font;
}

std::optional<QRegion> SchedulePainter::Changes(const ScheduleScene& scene, const QFont& font,
                                                bool& others) const {
  const ScheduleScene& old = *last_;
  if (old.view != scene.view || old.geo != scene.geo || old.markerX != scene.markerX ||
      old.selected != scene.selected || old.opaque != scene.opaque || old.tint != scene.tint ||
      old.points.size() != scene.points.size() || scene.points.empty())
    return std::nullopt;
  const ScheduleView& view = scene.view;
  const size_t n = scene.points.size();
  const size_t selected = static_cast<size_t>(scene.selected);
  double lo = view.width, hi = 0;
  const auto cover = [&](double x) {
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  };
  // A row's point reaches back to the previous point (the first one to the
  // day's start at the left edge) and on to the next (the last one, in the
  // fill, to the bottom right corner).
  const auto reach = [&](const ScheduleScene& s, size_t k) {
    cover(k > 0 ? s.points[k - 1].x : 20.0);
    cover(s.points[k].x);
    cover(k + 1 < n ? s.points[k + 1].x : view.width - 20.0);
  };
  others = false;
  for (size_t k = 0; k < n; ++k) {
    const CurvePoint& a = old.points[k];
    const CurvePoint& b = scene.points[k];
    if (a == b) continue;
    reach(old, k);
    reach(scene, k);
    // The last row's level is also where each curve starts, at the left edge.
    if (k + 1 == n) {
      cover(20);
      cover(old.points[0].x);
      cover(scene.points[0].x);
    }
    if (a.x != b.x) others = true;
    for (size_t c = 0; c < kChannels; ++c)
      if (c != selected && a.y[c] != b.y[c]) others = true;
  }
  QRegion dirty;
  // Room for the handles (five pixels each side) and the antialiased edges.
  constexpr int kSpare = 7;
  if (hi >= lo) {
    const int left = std::max(0, static_cast<int>(std::floor(lo)) - kSpare);
    const int right = std::min(view.width, static_cast<int>(std::ceil(hi)) + kSpare);
    if (right > left) dirty += QRect(left, 0, right - left, view.height);
  }
  if (old.label != scene.label) {
    const QFontMetrics fm(font);
    const int width = std::max(fm.horizontalAdvance(QString::fromStdString(old.label)),
                               fm.horizontalAdvance(QString::fromStdString(scene.label)));
    dirty += QRect(0, 0, std::min(width + 1, view.width), std::min(fm.height(), view.height));
  }
  return dirty;
}

void SchedulePainter::PaintBase(const ScheduleScene& scene, const QFont& font) {
  const ScheduleView& view = scene.view;
  base_ = QImage(view.width, view.height, QImage::Format_ARGB32_Premultiplied);
  base_.fill(kBlack);
  baseGeo_ = scene.geo;
  baseFont_ = font;
  underCurrent_ = false;

  // The grid's one-pixel lines lie on whole pixels: filled as rectangles.
  QPainter p(&base_);
  for (int i = 0; i <= 24; ++i)
    p.fillRect(QRect(view.GridX(i), 20, 1, view.height - 40), Argb(kGrid));
  for (int j = 0; j <= 10; ++j)
    p.fillRect(QRect(20, view.GridY(j), view.width - 39, 1), Argb(kGrid));

  QFont plain(font);
  plain.setStyleStrategy(QFont::NoAntialias);
  p.setFont(plain);
  p.setPen(Argb(kAxisText));
  const QFontMetrics fm(plain);
  for (int i = 0; i <= 24; ++i) {
    const QString text = QString::fromStdString(VerticalLineLabel(i, scene.geo));
    TextAt(p, fm, view.GridX(i) - 5, 1, text);
    TextAt(p, fm, view.GridX(i) - 5, view.height - fm.height(), text);
  }
  for (int j = 1; j <= 9; ++j) {
    const QString text = QString::fromStdString(PercentLineLabel(j));
    TextAt(p, fm, view.width - fm.horizontalAdvance(text), view.GridY(j) - 6, text);
    TextAt(p, fm, 0, view.GridY(j) - 6, text);
  }
}

bool SchedulePainter::UnderCurrent(const ScheduleScene& scene) const {
  if (!underCurrent_ || under_.size() != base_.size() || underMarker_ != scene.markerX ||
      underSelected_ != scene.selected || underTint_ != scene.tint ||
      underPoints_.size() != scene.points.size())
    return false;
  // The selected channel's values are not in this picture; the rows' places are.
  const size_t selected = static_cast<size_t>(scene.selected);
  for (size_t k = 0; k < scene.points.size(); ++k) {
    const CurvePoint& a = scene.points[k];
    const CurvePoint& b = underPoints_[k];
    if (a.x != b.x) return false;
    for (size_t c = 0; c < kChannels; ++c)
      if (c != selected && a.y[c] != b.y[c]) return false;
  }
  return true;
}

void SchedulePainter::PaintUnder(const ScheduleScene& scene, const QRegion* clip) {
  if (clip) {
    for (const QRect& r : *clip) {
      const size_t bytes = static_cast<size_t>(r.width()) * 4;
      for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(under_.scanLine(y) + r.left() * 4, base_.constScanLine(y) + r.left() * 4,
                    bytes);
    }
  } else {
    // Kept from frame to frame: a fresh 2 MB picture costs more in page faults than drawing.
    if (under_.size() != base_.size()) under_ = QImage(base_.size(), base_.format());
    std::memcpy(under_.bits(), base_.constBits(), static_cast<size_t>(under_.sizeInBytes()));
  }
  underCurrent_ = true;
  underMarker_ = scene.markerX;
  underSelected_ = scene.selected;
  underTint_ = scene.tint;
  underPoints_ = scene.points;

  QPainter p(&under_);
  if (clip) p.setClipRegion(*clip);
  if (scene.markerX) {
    p.setPen(Hairline(kMarker));
    p.drawLine(QPointF(*scene.markerX, 0), QPointF(*scene.markerX, scene.view.height));
  }
  if (scene.points.empty()) return;
  p.setRenderHint(QPainter::Antialiasing);
  for (int c : CurveOrder(scene.selected)) {
    if (c == scene.selected) continue;
    const std::vector<QPointF> line = Curve(scene, c);
    p.setPen(Hairline(scene.tint[static_cast<size_t>(c)]));
    p.drawPolyline(line.data(), static_cast<int>(line.size()));
  }
}

void SchedulePainter::PaintSelected(const ScheduleScene& scene, const QFont& font, QImage& frame,
                                    const QRegion* clip) const {
  const ScheduleView& view = scene.view;
  const size_t c = static_cast<size_t>(scene.selected);
  QPainter p(&frame);
  if (clip) p.setClipRegion(*clip);
  for (const CurvePoint& point : scene.points) {
    const PixelRect r = HandleRect(point.x, point.y[c]);
    p.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), Argb(scene.opaque[c]));
  }
  if (!scene.label.empty()) {
    p.setFont(font);
    const QFontMetrics fm(font);
    const QString label = QString::fromStdString(scene.label);
    p.fillRect(QRect(0, 0, fm.horizontalAdvance(label), fm.height()), Qt::white);
    p.setPen(Qt::black);
    TextAt(p, fm, 0, 0, label);
  }

  std::vector<QPointF> line = Curve(scene, scene.selected);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Hairline(scene.opaque[c]));
  p.drawPolyline(line.data(), static_cast<int>(line.size()));
  line.emplace_back(view.width - 20, view.height - 20);
  line.emplace_back(20, view.height - 20);
  // At an eighth of the colour the fill's edge needs no smoothing; the line covers it.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(Argb(scene.tint[c]));
  p.drawPolygon(line.data(), static_cast<int>(line.size()), Qt::OddEvenFill);
}

}  // namespace vmx
