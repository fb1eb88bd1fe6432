// A page taken before it was painted is refused by its spread of colours.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/colour_spread.h"

namespace vmx {
namespace {

std::vector<uint32_t> Picture(size_t size, uint32_t background, size_t others) {
  std::vector<uint32_t> pixels(size, background);
  for (size_t i = 0; i < others; ++i) pixels[i * 7 % size] = 0xFF000000u + static_cast<uint32_t>(i);
  return pixels;
}

TEST(ColourSpread, TheShareOfPixelsBesideTheCommonestColour) {
  const struct {
    const char* what;
    std::vector<uint32_t> pixels;
    double share;
    bool blank;
  } cases[] = {
      {"nothing", {}, 0.0, true},
      {"one colour: the unpainted page", Picture(1000, 0xFFEFEFEF, 0), 0.0, true},
      {"a stray pixel", Picture(1000, 0xFFEFEFEF, 1), 0.001, true},
      {"just below the limit", Picture(1000, 0xFFEFEFEF, 9), 0.009, true},
      {"at the limit", Picture(1000, 0xFFEFEFEF, 10), 0.01, false},
      {"a page of labels", Picture(1000, 0xFFEFEFEF, 120), 0.12, false},
      // The commonest colour is the background, wherever it lies.
      {"two colours, the second commoner",
       [] {
         std::vector<uint32_t> p(10, 0xFF000000u);
         std::fill(p.begin(), p.begin() + 6, 0xFFFFFFFFu);
         return p;
       }(),
       0.4, false},
  };
  for (const auto& c : cases) {
    const double share = OffColourShare(c.pixels);
    EXPECT_NEAR(share, c.share, 1e-12) << c.what;
    EXPECT_EQ(share < kBlankPageShare, c.blank) << c.what;
  }
}

}  // namespace
}  // namespace vmx
