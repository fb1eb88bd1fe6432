#include "astro/moon_figure.h"

#include <cmath>

#include "astro/sunmoon.h"

namespace vmx {

std::vector<FigurePoint> MoonPhaseFigure(double fraction, double rotation, double radius, double cx,
                                         double cy) {
  if (!(fraction >= 0 && fraction <= 1)) return {};
  const float r = static_cast<float>(radius);
  const float x0 = static_cast<float>(cx);
  const float y0 = static_cast<float>(cy);
  const float cosR = std::cos(static_cast<float>(rotation));
  const float sinR = std::sin(static_cast<float>(rotation));
  const float step = static_cast<float>(kPi / 12);
  const float halfPi = static_cast<float>(kHalfPi);
  auto point = [&](float t, float w) {
    const float u = w * std::cos(t);
    const float v = r * std::sin(t);
    return FigurePoint{x0 + u * cosR - v * sinR, y0 + u * sinR + v * cosR};
  };

  std::vector<FigurePoint> figure;
  figure.reserve(25);
  // The limb, from the top round to the bottom; the last point lands exactly
  // on 3 pi/2 instead of carrying the steps' rounding.
  for (int i = 0; i < 12; ++i) figure.push_back(point(halfPi + static_cast<float>(i) * step, r));
  figure.push_back(point(3 * halfPi, r));
  // The terminator back to the top.
  const float w = static_cast<float>((2 * fraction - 1) * radius);
  for (int i = 1; i < 12; ++i)
    figure.push_back(point(3 * halfPi + static_cast<float>(i) * step, w));
  figure.push_back(point(5 * halfPi, w));
  return figure;
}

double MoonFigureRotation(double age) {
  return age <= kPi ? kPi : 0;
}

}  // namespace vmx
