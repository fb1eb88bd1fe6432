// Pixel positions as the board's tools place them: halves go to the even
// neighbour (the default rounding of the floating-point environment).
#pragma once

#include <cmath>

namespace vmx {

inline int RoundEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace vmx
