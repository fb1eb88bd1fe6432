// The Geo page's pictures by their pixels: the marker and crossing lines on a
// plain map, and the lit part of the moon.
#include <gtest/gtest.h>

#include <QImage>

#include "astro/geo_picture.h"
#include "astro/sunmoon.h"

namespace vmx {
namespace {

constexpr QRgb kSea = 0xFF204060;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kYellow = 0xFFE0E000;

QImage PlainMap() {
  QImage map(1000, 500, QImage::Format_RGB32);
  map.fill(kSea);
  return map;
}

std::vector<QPoint> RedPixels(const QImage& image) {
  std::vector<QPoint> red;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == kRed) red.emplace_back(x, y);
  return red;
}

int LitPixels(const QImage& moon) {
  int lit = 0;
  for (int y = 0; y < moon.height(); ++y)
    for (int x = 0; x < moon.width(); ++x) lit += moon.pixel(x, y) == kYellow;
  return lit;
}

TEST(GeoPicture, MarkerIsARedSquareOnTwoFaintWhiteLines) {
  GeoPicture picture(PlainMap());
  picture.DrawMap({537, 105});
  const QImage& map = picture.Map();
  const std::vector<QPoint> red = RedPixels(map);
  ASSERT_EQ(red.size(), 25u);
  EXPECT_EQ(red.front(), QPoint(535, 103));
  EXPECT_EQ(red.back(), QPoint(539, 107));

  // White at a quarter opacity over the sea, on the whole row and column.
  const QRgb line = map.pixel(10, 105);
  EXPECT_GT(qRed(line), qRed(kSea) + 40);
  EXPECT_LT(qRed(line), 0x90);
  EXPECT_EQ(map.pixel(999, 105), line);
  EXPECT_EQ(map.pixel(537, 0), line);
  EXPECT_EQ(map.pixel(537, 499), line);
  EXPECT_EQ(map.pixel(536, 300), kSea);
  EXPECT_EQ(map.pixel(300, 104), kSea);
  EXPECT_EQ(qAlpha(map.pixel(10, 105)), 255) << "the map stays opaque";
}

TEST(GeoPicture, EachDrawingStartsFromTheCleanMap) {
  GeoPicture picture(PlainMap());
  picture.DrawMap({537, 105});
  picture.DrawMap({100, 400});
  const QImage& map = picture.Map();
  EXPECT_EQ(map.pixel(537, 105), kSea) << "the old square is gone";
  EXPECT_EQ(map.pixel(10, 105), kSea) << "and so are the old lines";
  EXPECT_EQ(map.pixel(537, 300), kSea);
  EXPECT_EQ(RedPixels(map).size(), 25u);
  EXPECT_EQ(map.pixel(100, 400), kRed);
}

TEST(GeoPicture, MarkersAtAndPastTheEdgesAreClipped) {
  GeoPicture picture(PlainMap());
  picture.DrawMap({0, 0});
  EXPECT_EQ(RedPixels(picture.Map()).size(), 9u);
  EXPECT_EQ(picture.Map().pixel(0, 0), kRed);

  picture.DrawMap({1000, 500});
  const std::vector<QPoint> corner = RedPixels(picture.Map());
  ASSERT_EQ(corner.size(), 4u);
  EXPECT_EQ(corner.front(), QPoint(998, 498));
  EXPECT_EQ(picture.Map().pixel(500, 499), kSea) << "both lines lie just off the map";
  EXPECT_EQ(picture.Map().pixel(999, 250), kSea);

  picture.DrawMap({500, -14});  // a latitude typed as 95 degrees
  EXPECT_TRUE(RedPixels(picture.Map()).empty());
  EXPECT_NE(picture.Map().pixel(500, 300), kSea) << "its column is on the map";
  for (MapPixel far : {MapPixel{9602, -8852}, MapPixel{-8602, 9352}}) {
    picture.DrawMap(far);
    EXPECT_TRUE(RedPixels(picture.Map()).empty()) << far.x << "," << far.y;
    EXPECT_EQ(picture.Map().pixel(500, 300), kSea);
  }
}

TEST(GeoPicture, TheCompiledInMapIsTheWorld) {
  const QImage map = LoadWorldMap();
  ASSERT_EQ(map.size(), QSize(1000, 500));
  const QRgb sea = map.pixel(500, 250);     // 0 N 0 E, Gulf of Guinea
  const QRgb land = map.pixel(528, 108);    // 51 N 10 E, Germany
  const QRgb sahara = map.pixel(528, 181);  // 25 N 10 E
  EXPECT_NE(sea, land);
  EXPECT_EQ(land, sahara);
  EXPECT_EQ(map.pixel(700, 480), land) << "Antarctica reaches the bottom row";
  EXPECT_EQ(map.pixel(500, 2), sea) << "no band across the top";
  EXPECT_EQ(map.pixel(2, 250), sea) << "nor along the antimeridian";
  for (int y = 0; y < 500; y += 5)
    for (int x = 0; x < 1000; x += 5) {
      const QRgb c = map.pixel(x, y);
      ASSERT_EQ(qAlpha(c), 255);
      ASSERT_FALSE(qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80) << "red is the marker's";
    }
}

TEST(GeoPicture, NewMoonIsDarkAndFullMoonAWholeDisc) {
  GeoPicture picture(PlainMap());
  picture.DrawMoon(1, kPi);
  const QImage full = picture.Moon();
  const int disc = LitPixels(full);
  EXPECT_NEAR(disc, 1257, 60) << "pi * 20 * 20";
  EXPECT_EQ(full.pixel(30, 30), kYellow);
  EXPECT_EQ(full.pixel(11, 30), kYellow);
  EXPECT_EQ(full.pixel(48, 30), kYellow);
  EXPECT_EQ(full.pixel(30, 8), 0u) << "outside the disc nothing is drawn";
  EXPECT_EQ(full.pixel(0, 0), 0u);

  for (double age : {0.0, 2 * kPi - 0.01}) {
    picture.DrawMoon(0, age);
    EXPECT_EQ(LitPixels(picture.Moon()), 0) << age;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) ASSERT_EQ(picture.Moon().pixel(x, y), 0u);
  }
}

TEST(GeoPicture, HalfMoonsWaxingAndWaningAreMirrorImages) {
  GeoPicture picture(PlainMap());
  picture.DrawMoon(0.5, kPi / 2);
  const QImage waxing = picture.Moon();
  picture.DrawMoon(0.5, 3 * kPi / 2);
  const QImage waning = picture.Moon();
  EXPECT_EQ(waxing.pixel(40, 30), kYellow) << "waxing: lit on the right";
  EXPECT_EQ(waxing.pixel(20, 30), 0u);
  EXPECT_EQ(waning.pixel(20, 30), kYellow);
  EXPECT_NEAR(LitPixels(waxing), 628, 40);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x)
      ASSERT_EQ(waxing.pixel(x, y), waning.pixel(59 - x, y)) << x << "," << y;

  picture.DrawMoon(0.25, kPi / 3);
  EXPECT_LT(LitPixels(picture.Moon()), LitPixels(waxing)) << "a crescent";
  EXPECT_EQ(picture.Moon().pixel(48, 30), kYellow);
  EXPECT_EQ(picture.Moon().pixel(32, 30), 0u);
}

}  // namespace
}  // namespace vmx
