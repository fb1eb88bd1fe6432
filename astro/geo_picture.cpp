#include "astro/geo_picture.h"

#include <QPainter>
#include <QPolygonF>
#include <array>

#include "astro/moon_figure.h"

namespace vmx {
namespace {

// Premultiplied pixels blend and copy fastest; the map is opaque, so its
// colours are the same in either form.
constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

QColor Colour(QRgb argb) {
  return QColor::fromRgba(argb);
}

// What drawing a marker at `at` changes: its row, its column and its square.
std::array<QRect, 3> MarkerArea(MapPixel at, QSize map) {
  return {QRect(0, at.y, map.width(), 1), QRect(at.x, 0, 1, map.height()),
          QRect(at.x - 2, at.y - 2, 5, 5)};
}

}  // namespace

QImage LoadWorldMap() {
  QImage map(":/geo/world_map.png");
  if (map.size() != QSize(kMapWidth, kMapHeight)) {
    map = QImage(kMapWidth, kMapHeight, kFormat);
    map.fill(QColor(46, 94, 138));
  }
  return map.convertToFormat(kFormat);
}

GeoPicture::GeoPicture() : moon_(kMoonSize, kMoonSize, kFormat) {
  moon_.fill(Qt::transparent);
}

GeoPicture::GeoPicture(const QImage& map)
    : pristine_(map.convertToFormat(kFormat)),
      map_(pristine_.copy()),
      moon_(kMoonSize, kMoonSize, kFormat) {
  moon_.fill(Qt::transparent);
}

QRegion GeoPicture::DrawMap(MapPixel marker) {
  if (pristine_.isNull()) {
    pristine_ = LoadWorldMap();
    map_ = pristine_.copy();
    drawn_.reset();
  }
  QRegion changed = drawn_ ? QRegion() : QRegion(map_.rect());
  QPainter painter(&map_);
  painter.setClipRect(map_.rect());
  // Only the last marker and its lines differ from the clean map, so only they
  // are copied back: a whole 2 MB copy per refresh would cost most of it.
  if (drawn_) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : MarkerArea(*drawn_, map_.size())) {
      painter.drawImage(r, pristine_, r);
      changed += r;
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  const std::array<QRect, 3> area = MarkerArea(marker, map_.size());
  painter.fillRect(area[0], Colour(kCrossing));
  painter.fillRect(area[1], Colour(kCrossing));
  painter.fillRect(area[2], Colour(kMarker));
  drawn_ = marker;
  for (const QRect& r : area) changed += r;
  return changed & map_.rect();
}

void GeoPicture::DrawMoon(double illumination, double age) {
  moon_.fill(Qt::transparent);
  const std::vector<FigurePoint> figure = MoonPhaseFigure(
      illumination, MoonFigureRotation(age), kMoonRadius, kMoonSize / 2.0, kMoonSize / 2.0);
  if (figure.empty()) return;
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(figure.size()));
  for (const FigurePoint& p : figure) polygon.append(QPointF(p.x, p.y));
  QPainter painter(&moon_);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Colour(kMoonLight));
  painter.drawPolygon(polygon, Qt::OddEvenFill);
}

}  // namespace vmx
