// The world map of the Geo page and the board's location on it. The map is
// equirectangular: the north pole on row 0, 180 degrees west on column 0, and
// 1000/360 = 500/180 pixels to the degree.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vmx {

constexpr int kMapWidth = 1000;
constexpr int kMapHeight = 500;

struct MapPixel {
  int x = 0;
  int y = 0;
  bool operator==(const MapPixel&) const = default;
};

// Degrees, north and east positive.
struct MapLocation {
  double lat = 0;
  double lon = 0;
};

// Tenths of a degree, as the board stores a location.
struct LocationTenths {
  int lat = 0;
  int lon = 0;
  bool operator==(const LocationTenths&) const = default;
};

// Where a location lies on the map, rounded to the nearest pixel with ties to
// even. Computed exactly, so a location half-way between two pixels always
// goes to the even one. Any stored location has a pixel, also one past the
// map's edge (a latitude typed beyond 90 degrees).
MapPixel LocationToPixel(int latTenths, int lonTenths);

// The location under a map pixel; a pixel off the map counts as the nearest
// edge (latitude +-90, longitude +-180).
MapLocation PixelToLocation(int x, int y);

// A location rounded to tenths of a degree, ties to even.
LocationTenths ToTenths(const MapLocation& location);

// A typed latitude or longitude in tenths of a degree, rounded with ties to
// even. Nothing for text that is not a number or a value the board's 16-bit
// field cannot hold ("1e9", "inf", "nan").
std::optional<int16_t> ParseLocationTenths(std::string_view text, std::string_view separator);

}  // namespace vmx
