#include "astro/geo_map.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "lang/number_text.h"

namespace vmx {
namespace {

// numerator / denominator rounded to the nearest integer, ties to even;
// denominator > 0.
int DivideRoundingToEven(int numerator, int denominator) {
  int quotient = numerator / denominator;
  int remainder = numerator % denominator;
  if (remainder < 0) {
    --quotient;
    remainder += denominator;
  }
  if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
    ++quotient;
  return quotient;
}

}  // namespace

// In tenths of a degree: x = (lon + 180) * 1000/360 = (Lon + 1800) * 5/18 and
// y = (90 - lat) * 500/180 = (900 - Lat) * 5/18. A 16-bit location keeps the
// products far inside an int.
MapPixel LocationToPixel(int latTenths, int lonTenths) {
  return {DivideRoundingToEven((lonTenths + 1800) * 5, 18),
          DivideRoundingToEven((900 - latTenths) * 5, 18)};
}

MapLocation PixelToLocation(int x, int y) {
  x = std::clamp(x, 0, kMapWidth);
  y = std::clamp(y, 0, kMapHeight);
  return {90 - (y * 180) / static_cast<double>(kMapHeight),
          (x * 360) / static_cast<double>(kMapWidth) - 180};
}

LocationTenths ToTenths(const MapLocation& location) {
  return {static_cast<int>(std::nearbyint(location.lat * 10)),
          static_cast<int>(std::nearbyint(location.lon * 10))};
}

std::optional<int16_t> ParseLocationTenths(std::string_view text, std::string_view separator) {
  const std::optional<double> degrees = ParseDecimal(text, separator);
  if (!degrees) return std::nullopt;
  const std::optional<int64_t> tenths = RoundToInteger(*degrees * 10);
  if (!tenths || *tenths < std::numeric_limits<int16_t>::min() ||
      *tenths > std::numeric_limits<int16_t>::max())
    return std::nullopt;
  return static_cast<int16_t>(*tenths);
}

}  // namespace vmx
