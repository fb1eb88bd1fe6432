// The outline of the moon picture's lit part.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/moon_figure.h"

namespace vmx {
namespace {

TEST(MoonFigure, LimbThenTerminatorEndingExactlyAtTheQuarterTurns) {
  const auto figure = MoonPhaseFigure(0.75, 0, 20, 30, 30);
  ASSERT_EQ(figure.size(), 25u);
  // Limb from (cx, cy + r) round the left, (cx - r, cy), to (cx, cy - r).
  EXPECT_NEAR(figure[0].x, 30, 1e-5);
  EXPECT_NEAR(figure[0].y, 50, 1e-5);
  EXPECT_NEAR(figure[6].x, 10, 1e-5) << "the limb's leftmost point";
  EXPECT_NEAR(figure[12].y, 10, 1e-5);
  // Terminator of half width (2k - 1) r = 10 through the right.
  EXPECT_NEAR(figure[18].x, 40, 1e-4);
  EXPECT_NEAR(figure[24].x, 30, 1e-5);
  EXPECT_NEAR(figure[24].y, 50, 1e-5) << "closes where the limb began";
}

TEST(MoonFigure, NothingOutsideZeroToOne) {
  EXPECT_TRUE(MoonPhaseFigure(-0.01, 0, 20, 30, 30).empty());
  EXPECT_TRUE(MoonPhaseFigure(1.01, 0, 20, 30, 30).empty());
  EXPECT_TRUE(MoonPhaseFigure(std::nan(""), 0, 20, 30, 30).empty());
  EXPECT_EQ(MoonPhaseFigure(0, 0, 20, 30, 30).size(), 25u);
  EXPECT_EQ(MoonPhaseFigure(1, 0, 20, 30, 30).size(), 25u);
}

}  // namespace
}  // namespace vmx
