// The health display on the Configuration page, drawn after a health read.
#include <gtest/gtest.h>

#include <QTest>

#include "editor/config_page.h"
#include "graphics/health_view.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

class HealthViewTest : public ::testing::Test {
 protected:
  HealthViewTest() {
    context.Add<ConfigPage>();
    context.Show();
    view = context.Find<HealthView>("imgHealth");
    context.Reveal(view);
  }
  QRgb Pixel(int x, int y) const { return view->Picture().pixel(x, y); }
  QRgb Background() const { return view->palette().color(QPalette::Window).rgba(); }
  bool Blank() const {
    const QImage& picture = view->Picture();
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        if (picture.pixel(x, y) != Background()) return false;
    return true;
  }

  FakePageContext context;
  HealthView* view = nullptr;
};

TEST_F(HealthViewTest, BarsAndTableAfterAHealthRead) {
  ASSERT_EQ(view->height(), 153);
  EXPECT_TRUE(Blank()) << "nothing read yet";
  context.store.health.Counter = {0, 12, 310, 5400, 412000, 0, 3, 250000, 17};
  context.store.health.PowerCycles = 42;
  context.ApplyRecord(RecordKind::Health);
  EXPECT_FALSE(Blank());
  // Voltage bar: a sliver of green (V<26.0), then yellow; temperature bar: cyan first.
  EXPECT_EQ(Pixel(20, 100), 0xFFFFFF00u);
  EXPECT_EQ(Pixel(5, 112), 0xFF00FFFFu);
  EXPECT_EQ(Pixel(5, 125), Background()) << "below the bars";
  EXPECT_EQ(Pixel(view->width() - 2, 100), Background()) << "ten years are far off";
}

TEST_F(HealthViewTest, NoPowerCyclesNoPictureNoWorkingTimeNoBars) {
  context.store.health.Counter = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  context.store.health.PowerCycles = 0;
  context.ApplyRecord(RecordKind::Health);
  EXPECT_TRUE(Blank());
  context.store.health.Counter = {};
  context.store.health.PowerCycles = 3;
  context.ApplyRecord(RecordKind::Health);
  EXPECT_FALSE(Blank()) << "the first line";
  for (int x = 0; x < view->width(); x += 7) EXPECT_EQ(Pixel(x, 102), Background());
}

}  // namespace
}  // namespace vmx::testing
