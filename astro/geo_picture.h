// The Geo page's two pictures: the world map with the board's location, and
// the moon's phase. Pure drawing, no widgets, so it is measured on its own.
#pragma once

#include <QImage>
#include <QRegion>
#include <optional>

#include "astro/geo_map.h"

namespace vmx {

// The map compiled into the program; a plain sea of the map's size should it
// ever be missing, so the page draws the same either way.
QImage LoadWorldMap();

class GeoPicture {
 public:
  // The world map, decoded when it is first drawn: most sessions start on
  // another page, and the window shows sooner without it.
  GeoPicture();
  explicit GeoPicture(const QImage& map);

  const QImage& Map() const { return map_; }
  const QImage& Moon() const { return moon_; }

  // The map afresh with the crossing lines through `marker` and the red 5 x 5
  // square on it. Clipped to the map: a marker at or past an edge (a latitude
  // typed beyond 90 degrees) draws what falls inside. Returns the pixels that
  // changed, for the screen to repaint only those.
  QRegion DrawMap(MapPixel marker);
  // The moon's lit part in yellow on black; `age` tells waxing from waning.
  void DrawMoon(double illumination, double age);

  static constexpr QRgb kCrossing = 0x40FFFFFF;  // white, a quarter opaque, blended
  static constexpr QRgb kMarker = 0xFFFF0000;
  static constexpr QRgb kMoonLight = 0xFFE0E000;
  static constexpr int kMoonSize = 60;
  static constexpr int kMoonRadius = 20;

 private:
  QImage pristine_;
  QImage map_;
  std::optional<MapPixel> drawn_;  // the marker on map_, if any
  QImage moon_;
};

}  // namespace vmx
