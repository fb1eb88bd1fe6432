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
  if (frame.isNull()) return;
  if (!view.Drawable()) {
    frame.fill(kBlack);
    return;
  }
  if (base_.size() != size || baseGeo_ != scene.geo || baseFont_ != font) PaintBase(scene, font);
  if (!UnderCurrent(scene)) PaintUnder(scene);
  std::memcpy(frame.bits(), under_.constBits(), static_cast<size_t>(frame.sizeInBytes()));
  if (!scene.points.empty()) PaintSelected(scene, font, frame);
}

void SchedulePainter::PaintBase(const ScheduleScene& scene, const QFont& font) {
  const ScheduleView& view = scene.view;
  base_ = QImage(view.width, view.height, QImage::Format_ARGB32_Premultiplied);
  base_.fill(kBlack);
  baseGeo_ = scene.geo;
  baseFont_ = font;
  underCurrent_ = false;

  QPainter p(&base_);
  p.setPen(Hairline(kGrid));
  for (int i = 0; i <= 24; ++i) {
    const int x = view.GridX(i);
    p.drawLine(QPointF(x, 20), QPointF(x, view.height - 21));
  }
  for (int j = 0; j <= 10; ++j) {
    const int y = view.GridY(j);
    p.drawLine(QPointF(20, y), QPointF(view.width - 20, y));
  }

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

void SchedulePainter::PaintUnder(const ScheduleScene& scene) {
  under_ = base_;
  under_.detach();
  underCurrent_ = true;
  underMarker_ = scene.markerX;
  underSelected_ = scene.selected;
  underTint_ = scene.tint;
  underPoints_ = scene.points;

  QPainter p(&under_);
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

void SchedulePainter::PaintSelected(const ScheduleScene& scene, const QFont& font,
                                    QImage& frame) const {
  const ScheduleView& view = scene.view;
  const size_t c = static_cast<size_t>(scene.selected);
  QPainter p(&frame);
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
  p.setPen(Qt::NoPen);
  p.setBrush(Argb(scene.tint[c]));
  p.drawPolygon(line.data(), static_cast<int>(line.size()), Qt::OddEvenFill);
}

}  // namespace vmx
