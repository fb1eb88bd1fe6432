// The two text lines of the Geo page: sun and moon position, rise and set, day
// length and moon phase, in the current language.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "astro/geo_map.h"
#include "astro/geo_sky.h"

namespace vmx {

using GeoLines = std::array<std::string, 2>;  // sun line, moon line; no line breaks

GeoLines FormatGeoLines(const GeoSky& sky, std::string_view decimalSeparator);

// Location in tenths of a degree, t the board clock in the whole-hour zone.
// Nothing for a date that does not exist.
std::optional<GeoLines> GeoText(int latTenths, int lonTenths, const LocalDateTime& t, int zone,
                                std::string_view decimalSeparator);

// The status line for the mouse over the map: "Mouse position: Latitude:
// 52.3°, Longitude: 13.4°".
std::string MousePositionText(const MapLocation& location, std::string_view decimalSeparator);

}  // namespace vmx
