// The health figures: nothing before a read, the first line only without
// working time, hours and shares in real numbers, sums beyond 24 bits, the bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "graphics/health_geometry.h"

namespace vmx {
namespace {

Health Counters(std::array<uint32_t, 9> counters, int powerCycles) {
  Health h;
  h.Counter = counters;
  h.PowerCycles = static_cast<uint16_t>(powerCycles);
  return h;
}

std::string TextAt(const HealthScene& scene, int x, int y) {
  for (const HealthText& t : scene.texts)
    if (t.x == x && t.y == y) return t.text;
  return "<none>";
}

TEST(HealthScene, NoPowerCyclesDrawsNothingWhateverTheCounters) {
  const HealthScene scene = LayoutHealth(Counters({1, 2, 3, 4, 5, 6, 7, 8, 9}, 0), 985, ".");
  EXPECT_TRUE(scene.texts.empty());
  EXPECT_TRUE(scene.bars.empty());
}

TEST(HealthScene, NoWorkingTimeShowsTheFirstLineOnly) {
  const HealthScene scene = LayoutHealth(Counters({}, 3), 985, ".");
  ASSERT_EQ(scene.texts.size(), 5u);
  EXPECT_EQ(TextAt(scene, 0, 0), "Power cycles:");
  EXPECT_EQ(TextAt(scene, 70, 0), "3");
  EXPECT_EQ(TextAt(scene, 350, 0), "Working:");
  EXPECT_EQ(TextAt(scene, 420, 0), "0");
  EXPECT_EQ(TextAt(scene, 490, 0), "0.0h");
  EXPECT_TRUE(scene.bars.empty());
}

TEST(HealthScene, OneHourOfWorkInTablesAndBars) {
  // 240 intervals: 60 + 180 in the voltage bands, 80 + 160 in the temperature bands.
  const HealthScene scene = LayoutHealth(Counters({0, 0, 0, 80, 160, 0, 0, 60, 180}, 7), 985, ",");
  EXPECT_EQ(TextAt(scene, 420, 0), "240");
  EXPECT_EQ(TextAt(scene, 490, 0), "1,0h");
  EXPECT_EQ(TextAt(scene, 0, 60), "T>45:");
  EXPECT_EQ(TextAt(scene, 70, 60), "80");
  EXPECT_EQ(TextAt(scene, 140, 60), "0,3h") << "80 x 15 s is a third of an hour";
  EXPECT_EQ(TextAt(scene, 210, 60), "33,3%");
  EXPECT_EQ(TextAt(scene, 350, 36), "V>30.5:") << "the right column starts a line lower";
  EXPECT_EQ(TextAt(scene, 350, 72), "V<26.0:");
  EXPECT_EQ(TextAt(scene, 560, 72), "75,0%");
  EXPECT_EQ(TextAt(scene, 560, 60), "25,0%");

  const double length = 985 * std::log(240.0) / std::log(21037968.0);
  EXPECT_NEAR(length / 985, 0.325, 0.001);
  // Voltage bar: green (V<26.0) then yellow (V>26.0); the empty bands add nothing.
  ASSERT_EQ(scene.bars.size(), 4u);
  EXPECT_EQ(scene.bars[0],
            (HealthSegment{0, 96, static_cast<int>(std::lround(0.75 * length)), 108, 0xFF00FF00}));
  EXPECT_EQ(scene.bars[1].color, 0xFFFFFF00u);
  EXPECT_EQ(scene.bars[1].right, static_cast<int>(std::lround(length)));
  // Temperature bar: cyan (T<45) then green (T>45), one line lower.
  EXPECT_EQ(scene.bars[2].color, 0xFF00FFFFu);
  EXPECT_EQ(scene.bars[2].top, 108);
  EXPECT_EQ(scene.bars[2].bottom, 120);
  EXPECT_EQ(scene.bars[3].color, 0xFF00FF00u);
  EXPECT_EQ(scene.bars[3].right, static_cast<int>(std::lround(length)));
}

TEST(HealthScene, TemperatureCountsShortOfTheTotalGiveAShorterBar) {
  const HealthScene scene = LayoutHealth(Counters({0, 0, 0, 0, 120, 0, 0, 0, 240}, 1), 985, ".");
  ASSERT_EQ(scene.bars.size(), 2u);
  EXPECT_LT(scene.bars[1].right, scene.bars[0].right);
  EXPECT_EQ(TextAt(scene, 210, 72), "50.0%");
}

TEST(HealthScene, CountersNearTheirTopAreSummedWithoutOverflow) {
  constexpr uint32_t kTop = 0xFFFFFF;
  const Health health = Counters({kTop, kTop, kTop, kTop, kTop, kTop, kTop, kTop, kTop}, 65535);
  EXPECT_EQ(HealthWorkingTotal(health), 4ull * kTop);
  const HealthScene scene = LayoutHealth(health, 985, ".");
  EXPECT_EQ(TextAt(scene, 420, 0), "67108860");
  EXPECT_EQ(TextAt(scene, 490, 0), "279620.3h");
  EXPECT_EQ(TextAt(scene, 140, 24), "69905.1h");
  EXPECT_EQ(TextAt(scene, 210, 24), "25.0%");
  EXPECT_EQ(TextAt(scene, 70, 0), "65535");
  // More than ten years: cut at the right edge.
  for (const HealthSegment& s : scene.bars) {
    EXPECT_LE(s.right, 985);
    EXPECT_LT(s.left, s.right);
  }
  EXPECT_EQ(scene.bars[3].right, 985);
}

TEST(HealthScene, OneIntervalHasNoLength) {
  const HealthScene scene = LayoutHealth(Counters({0, 0, 0, 0, 1, 0, 0, 0, 1}, 1), 985, ".");
  EXPECT_TRUE(scene.bars.empty());
  EXPECT_EQ(TextAt(scene, 490, 0), "0.0h");
}

}  // namespace
}  // namespace vmx
