// The picture widget of the drawn views and of the Geo page: what it paints
// where its picture is, beside it and where it is transparent, and which of
// the owner's handlers a mouse event reaches.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <memory>

#include "ui/picture_view.h"

namespace vmx {
namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlack = 0xFF000000;

QRgb At(QWidget& view, QPoint at) {
  return view.grab().toImage().pixel(at);
}

TEST(PictureView, PaintsItsPictureAtOneToOneAndItsBackdropElsewhere) {
  // A 20 x 10 picture, red on its left half, transparent on its right.
  QImage kept(20, 10, QImage::Format_ARGB32_Premultiplied);
  kept.fill(Qt::transparent);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) kept.setPixel(x, y, kRed);

  const struct {
    const char* what;
    PictureView::Backdrop backdrop;
    QPoint at;
    std::optional<QRgb> expected;  // none: the window's own background
  } cases[] = {
      {"the picture", PictureView::Backdrop::Window, {5, 5}, kRed},
      {"transparent on the window", PictureView::Backdrop::Window, {15, 5}, std::nullopt},
      {"beside the picture", PictureView::Backdrop::Window, {30, 5}, std::nullopt},
      {"the picture on black", PictureView::Backdrop::Black, {5, 5}, kRed},
      {"transparent on black", PictureView::Backdrop::Black, {15, 5}, kBlack},
      {"beside the picture on black", PictureView::Backdrop::Black, {30, 25}, kBlack},
  };
  for (const auto& c : cases) {
    QWidget window;
    window.resize(60, 40);
    auto* view = new PictureView("imgTest", &kept, c.backdrop, &window);
    view->resize(40, 30);
    EXPECT_EQ(view->objectName(), "imgTest");
    const QRgb got = At(*view, c.at);
    EXPECT_EQ(got, c.expected.value_or(view->palette().window().color().rgba())) << c.what;
  }
}

TEST(PictureView, ItsOwnFrameIsTheWidgetsSizeAndShowsWhatTheOwnerDrew) {
  QWidget window;
  auto* view = new PictureView("img", &window);
  view->resize(30, 20);
  EXPECT_EQ(At(*view, {3, 3}), view->palette().window().color().rgba()) << "nothing drawn yet";
  view->Frame().fill(kRed);
  view->Present();
  EXPECT_EQ(view->Frame().size(), QSize(30, 20));
  EXPECT_EQ(At(*view, {29, 19}), kRed);
  view->resize(50, 20);
  EXPECT_EQ(view->Frame().size(), QSize(50, 20)) << "a new size, a new bitmap";
}

TEST(PictureView, TheMouseReachesTheOwnersHandlers) {
  QWidget window;
  auto* view = new PictureView("img", &window);
  view->resize(40, 40);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  std::vector<std::string> seen;
  view->onPress = [&](QMouseEvent* e) {
    seen.push_back("press " + std::to_string(e->position().toPoint().x()));
  };
  view->onRelease = [&](QMouseEvent*) { seen.push_back("release"); };
  view->onDoubleClick = [&] { seen.push_back("double"); };
  QTest::mouseClick(view, Qt::LeftButton, {}, {7, 9});
  QTest::mouseDClick(view, Qt::LeftButton, {}, {8, 9});
  // A double click is also the second press of its pair.
  const std::vector<std::string> expected = {"press 7", "release", "press 8", "double"};
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace vmx
