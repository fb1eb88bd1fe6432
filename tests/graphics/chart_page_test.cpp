// The Chart page: the drawing at known pixels after a chart read, the shading,
// the notice without data, the source menu and the read on click.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include "graphics/chart_page.h"
#include "ui/picture_view.h"
#include "link/request_flags.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

class ChartPageTest : public ::testing::Test {
 protected:
  ChartPageTest() {
    page = context.Add<ChartPage>();
    context.Show();
    context.window->resize(1100, 760);
    img = context.Find<PictureView>("imgTemp");
    img->setFixedSize(1001, 606);
    context.Reveal(img);
    SharedStore& s = context.store;
    s.expert.ChartInterval = 15;
    s.info.Hour = 12;  // the axis ends at 12:00, ticks at 12:00, 8:00 and 4:00
    s.info.Minute = 10;
    s.info.TempWater = 251;
    s.info.TempSlave = kNoTemperature;
  }
  void Samples(int newest, int oldest) {
    for (int n = 0; n < 40; ++n)
      context.store.chart.Sample[n] = static_cast<int16_t>(newest - (newest - oldest) * n / 39);
    context.ApplyRecord(RecordKind::Chart);
  }
  QRgb Pixel(int x, int y) const { return page->Picture().pixel(x, y); }
  bool RowHas(int x, int y0, int y1, QRgb color) const {
    for (int y = y0; y <= y1; ++y)
      if (Pixel(x, y) == color) return true;
    return false;
  }

  FakePageContext context;
  ChartPage* page = nullptr;
  PictureView* img = nullptr;
};

TEST_F(ChartPageTest, GridLinesAndCurveAtKnownPixels) {
  Samples(262, 250);  // 230 .. 290: lines every 0.2 degrees, whole degrees darker
  ASSERT_EQ(page->Picture().size(), QSize(1001, 606));
  // 24.0 degC at y = 490.8, 23.2 degC at y = 566.2.
  EXPECT_TRUE(RowHas(300, 490, 491, 0xFFD0D0D0));
  EXPECT_TRUE(RowHas(300, 566, 566, 0xFFF0F0F0));
  EXPECT_EQ(Pixel(300, 500), 0xFFFFFFFFu);
  // The 8:00 tick at x = 583.1.
  EXPECT_TRUE(RowHas(583, 300, 300, 0xFFD0D0D0) || RowHas(584, 300, 300, 0xFFD0D0D0));
  // The newest sample (26.2 degC, y = 283.7) in blue at the right edge of the plot.
  bool blue = false;
  for (int y = 281; y <= 286; ++y) {
    const QColor c = QColor::fromRgba(Pixel(958, y));
    blue = blue || (c.blue() > 0xC0 && c.red() < 0x80);
  }
  EXPECT_TRUE(blue);
  EXPECT_EQ(Pixel(300, 5), 0xFFFFFFFFu) << "no shading far below 60 degrees";
}

TEST_F(ChartPageTest, AboveSixtyDegreesIsShadedForTemperaturesOnly) {
  context.store.expert.ChartMode = 1;
  Samples(640, 560);
  EXPECT_EQ(Pixel(300, 5), 0xFFFFF0F0u);
  EXPECT_EQ(Pixel(300, 590), 0xFFFFFFFFu);
  context.store.expert.ChartMode = 2;
  Samples(640, 560);
  EXPECT_EQ(Pixel(300, 5), 0xFFFFFFFFu) << "a voltage is never shaded";
}

TEST_F(ChartPageTest, WithoutDataOnlyTheNotice) {
  context.ApplyRecord(RecordKind::Chart);  // every slot still empty
  const QImage& picture = page->Picture();
  int marked = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) != 0xFFFFFFFFu) {
        ++marked;
        EXPECT_NEAR(y, 303, 12) << "only the centred text";
        EXPECT_NEAR(x, 500, 200);
      }
  EXPECT_GT(marked, 50);
  Samples(262, 250);
  context.store.expert.ChartInterval = 0;
  context.ApplyRecord(RecordKind::Chart);
  EXPECT_EQ(Pixel(300, 566), 0xFFFFFFFFu) << "no interval: no grid";
}

TEST_F(ChartPageTest, SourceMenuOffersTheSensorsPresentAndTicksTheSource) {
  context.store.expert.ChartMode = 2;
  QMenu* menu = page->pumChart();
  menu->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
  const auto item = [&](const char* name) { return context.Find<QAction>(name); };
  EXPECT_TRUE(item("mnuCHMTempWater")->isEnabled());
  EXPECT_TRUE(item("mnuCHMTempBoard")->isEnabled());
  EXPECT_FALSE(item("mnuCHMTempSlave")->isEnabled());
  EXPECT_TRUE(item("mnuCHMVoltage")->isChecked());
  EXPECT_FALSE(item("mnuCHMTempBoard")->isChecked());
  menu->close();

  context.store.info.TempWater = kNoTemperature;
  context.store.info.TempSlave = 300;
  context.store.expert.ChartMode = 3;
  menu->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
  EXPECT_FALSE(item("mnuCHMTempWater")->isEnabled());
  EXPECT_TRUE(item("mnuCHMTempSlave")->isEnabled());
  EXPECT_TRUE(item("mnuCHMTempSlave")->isChecked());
  EXPECT_FALSE(item("mnuCHMVoltage")->isChecked());
  item("mnuCHMTempBoard")->trigger();
  EXPECT_EQ(context.store.expert.ChartMode, 1);
  EXPECT_EQ(context.store.Requests(), 0x900u);
  EXPECT_EQ(context.applied.back(), RecordKind::Expert);
  menu->close();
}

TEST_F(ChartPageTest, AClickReadsTheChartAgain) {
  QTest::mouseClick(img, Qt::RightButton, {}, QPoint(300, 300));
  // The menu event the window system sends with a right click.
  QContextMenuEvent menuKey(QContextMenuEvent::Mouse, QPoint(300, 300),
                            img->mapToGlobal(QPoint(300, 300)));
  QApplication::sendEvent(img, &menuKey);
  EXPECT_TRUE(QTest::qWaitFor([&] { return page->pumChart()->isVisible(); }, 1000));
  EXPECT_EQ(context.store.Requests(), 0u) << "the right button opens the menu instead";
  page->pumChart()->close();
  QTest::mouseClick(img, Qt::LeftButton, {}, QPoint(300, 300));
  EXPECT_EQ(context.store.Requests(), request::ReadChart);
  EXPECT_EQ(img->cursor().shape(), Qt::CrossCursor);
}

}  // namespace
}  // namespace vmx::testing
