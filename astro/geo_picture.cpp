#include "astro/geo_picture.h"

#include <QPainter>
#include <QPolygonF>
#include <cstring>

#include "astro/moon_figure.h"

namespace vmx {
namespace {

// Premultiplied pixels blend and copy fastest; the map is opaque, so its
// colours are the same in either form.
constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

QColor Colour(QRgb argb) {
  return QColor::fromRgba(argb);
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

GeoPicture::GeoPicture(const QImage& map)
    : pristine_(map.convertToFormat(kFormat)),
      map_(pristine_.copy()),
      moon_(kMoonSize, kMoonSize, kFormat) {
  moon_.fill(Qt::transparent);
}

void GeoPicture::DrawMap(MapPixel marker) {
  // Into the same buffer every time: a fresh 2 MB image per refresh would cost
  // more in page faults than the copy itself.
  std::memcpy(map_.bits(), pristine_.constBits(), static_cast<size_t>(pristine_.sizeInBytes()));
  QPainter painter(&map_);
  painter.setClipRect(map_.rect());
  painter.fillRect(QRect(0, marker.y, map_.width(), 1), Colour(kCrossing));
  painter.fillRect(QRect(marker.x, 0, 1, map_.height()), Colour(kCrossing));
  painter.fillRect(QRect(marker.x - 2, marker.y - 2, 5, 5), Colour(kMarker));
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
