// The moon picture of the Geo page: the lit part of the disc as one polygon.
#pragma once

#include <vector>

namespace vmx {

struct FigurePoint {
  float x = 0;
  float y = 0;
};

// The lit part of a disc of `radius` round (cx, cy), `fraction` 0..1 of it lit,
// turned by `rotation` radians (screen y downwards). Unturned the lit side is
// on the left. The outline runs along the limb from the top, round the left to
// the bottom (13 points), then back up along the terminator, an ellipse of half
// width (2 * fraction - 1) * radius (12 points). Nothing for a fraction outside
// 0..1. Single precision, as the picture needs no more.
std::vector<FigurePoint> MoonPhaseFigure(double fraction, double rotation, double radius, double cx,
                                         double cy);

// A waxing moon (age up to pi, full moon) is lit on the right: the figure is
// turned half round. A waning one is lit on the left.
double MoonFigureRotation(double age);

}  // namespace vmx
