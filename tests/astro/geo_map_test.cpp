// The board's location on the world map, both ways, and a typed location.
#include <gtest/gtest.h>

#include "astro/geo_map.h"

namespace vmx {
namespace {

LocationTenths ClickAt(int x, int y) {
  return ToTenths(PixelToLocation(x, y));
}

TEST(GeoMap, PixelsGiveTheLocationsAtCentreCornersAndBeyond) {
  EXPECT_EQ(ClickAt(500, 250), (LocationTenths{0, 0}));
  EXPECT_EQ(ClickAt(0, 0), (LocationTenths{900, -1800}));
  EXPECT_EQ(ClickAt(1000, 500), (LocationTenths{-900, 1800}));
  EXPECT_EQ(ClickAt(-5, 600), (LocationTenths{-900, -1800})) << "off the map: the nearest edge";
  EXPECT_EQ(ClickAt(1200, -40), (LocationTenths{900, 1800}));
  // 537 * 0.36 - 180 = 13.32, 90 - 105 * 0.36 = 52.2
  EXPECT_EQ(ClickAt(537, 105), (LocationTenths{522, 133}));
}

TEST(GeoMap, LocationsGiveTheMarkerPixel) {
  EXPECT_EQ(LocationToPixel(523, 134), (MapPixel{537, 105}));
  EXPECT_EQ(LocationToPixel(0, 0), (MapPixel{500, 250}));
  EXPECT_EQ(LocationToPixel(900, -1800), (MapPixel{0, 0}));
  EXPECT_EQ(LocationToPixel(-900, 1800), (MapPixel{1000, 500}));
}

TEST(GeoMap, ExactTiesGoToTheEvenPixel) {
  // -175.5 deg: 4.5 * 1000/360 = 12.5; -87.3 deg: 177.3 * 500/180 = 492.5.
  EXPECT_EQ(LocationToPixel(0, -1755).x, 12) << "half away from zero would give 13";
  EXPECT_EQ(LocationToPixel(-873, 0).y, 492) << "half away from zero would give 493";
  // 13.5 * 1000/360 = 37.5 goes up to the even 38.
  EXPECT_EQ(LocationToPixel(0, -1665).x, 38);
}

TEST(GeoMap, StoredLocationsPastTheEdgesStillHaveAPixel) {
  EXPECT_EQ(LocationToPixel(950, 0).y, -14);
  EXPECT_EQ(LocationToPixel(32767, 32767), (MapPixel{9602, -8852}));
  EXPECT_EQ(LocationToPixel(-32768, -32768), (MapPixel{-8602, 9352}));
}

TEST(GeoMap, TypedLocationsBecomeTenthsOrNothing) {
  EXPECT_EQ(ParseLocationTenths("52.25", "."), 522) << "ties to even";
  EXPECT_EQ(ParseLocationTenths("52.75", "."), 528);
  EXPECT_EQ(ParseLocationTenths("-13,4", ","), -134);
  EXPECT_EQ(ParseLocationTenths("95", "."), 950) << "no range check of the latitude itself";
  EXPECT_EQ(ParseLocationTenths("-3276.8", "."), -32768);
  for (const char* bad : {"", "-", "1e9", "inf", "nan", "3276.8", "-3276.9", "52,5", "5 2"})
    EXPECT_FALSE(ParseLocationTenths(bad, ".")) << bad;
}

}  // namespace
}  // namespace vmx
