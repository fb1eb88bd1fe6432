// The Geo page in a stand-in window: what its controls store and request, what
// a record shows, and what the map and the text show after a refresh.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "astro/fixed_time_zone.h"
#include "astro/geo_page.h"
#include "editor/config_page.h"
#include "lang/language_choice.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

constexpr uint32_t kWriteInfoTime = 0x02;
constexpr uint32_t kWriteConfig = 0x10;
constexpr QRgb kRed = 0xFFFF0000;

const char* const kBerlinSun =
    "Sun: Azimuth: 149.3°, Alt: 58.2°, Rise: 04:51, Set: 21:26, Length of day: 16:35 hours";
const char* const kBerlinMoon =
    "Moon: Azimuth: 343°, Alt: -65.2°, Rise: 21:57, Set: 03:21, Phase: 99.5%";

void SetClock(Info& info, int year, int month, int day, int hour, int minute) {
  info.Year = static_cast<int8_t>(year - 2000);
  info.Month = static_cast<int8_t>(month);
  info.Day = static_cast<int8_t>(day);
  info.Hour = static_cast<int8_t>(hour);
  info.Minute = static_cast<int8_t>(minute);
}

int RedPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == kRed;
  return count;
}

class GeoPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    LoadLanguage(Language::English);
    SetTimeZone(std::make_shared<FixedTimeZone>(FixedTimeZone::FromOffsetMinutes(120)));
    ctx.Add<ConfigPage>();
    page = ctx.Add<GeoPage>();
    page->resize(1001, 606);
    ctx.active = page;
    // Where the stand-in window holds its pages in tabs, the Geo page's is in front.
    if (auto* tabs = ctx.window->findChild<QTabWidget*>()) tabs->setCurrentWidget(page);
    ctx.Show();
    ctx.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ctx.window.get()));
    ctx.store.config.Lat = 525;
    ctx.store.config.Lon = 134;
    SetClock(ctx.store.info, 2024, 6, 21, 12, 0);
  }
  void TearDown() override {
    SetTimeZone(nullptr);
    QLocale::setDefault(QLocale::c());
  }

  template <class W>
  W* Control(const char* name) {
    W* w = ctx.Find<W>(name);
    EXPECT_TRUE(w) << name;
    return w;
  }
  QLineEdit* Edit(const char* name) { return Control<QLineEdit>(name); }
  QString GeoText() { return Control<QLabel>("lblGeo")->text(); }
  uint32_t Requests() { return ctx.store.Requests(); }
  // Replaces the edit's text as a user pasting it would.
  void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    edit->insert(text);
  }
  // Sent straight to the map: QTest would take (0, 0) for the widget's centre.
  void ClickMap(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    auto* map = Control<QWidget>("imgGeo");
    QMouseEvent press(QEvent::MouseButtonPress, at, map->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(map, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, map->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(map, &release);
  }

  FakePageContext ctx;
  GeoPage* page = nullptr;
};

TEST_F(GeoPageTest, RefreshShowsTheSkyOverTheBoardsPlaceAtItsClock) {
  page->RefreshGeo();
  EXPECT_EQ(GeoText(), QString(kBerlinSun) + "\n" + kBerlinMoon);
  // 52.5 N 13.4 E: x = round(193.4 * 1000/360) = 537, y = round(37.5 * 500/180) = 104.
  EXPECT_EQ(page->Picture().Map().pixel(537, 104), kRed);
  EXPECT_EQ(page->Picture().Moon().pixel(30, 30), 0xFFE0E000u) << "an almost full moon";
}

TEST_F(GeoPageTest, WithoutAValidBoardClockTheMapMovesAndTheRestStays) {
  page->RefreshGeo();
  const QImage moon = page->Picture().Moon();
  ctx.store.info.Month = 0;  // as before the first read
  ctx.store.config.Lat = 0;
  ctx.store.config.Lon = 0;
  page->RefreshGeo();
  EXPECT_EQ(page->Picture().Map().pixel(500, 250), kRed) << "the marker is still drawn";
  EXPECT_NE(page->Picture().Map().pixel(537, 104), kRed);
  EXPECT_EQ(GeoText(), QString(kBerlinSun) + "\n" + kBerlinMoon) << "the text stays";
  EXPECT_EQ(page->Picture().Moon(), moon);
  EXPECT_TRUE(ctx.log.empty()) << "an unset clock is no failure";
}

TEST_F(GeoPageTest, ScreenFollowsTheMarkerWhenOnlyItsPixelsAreRepainted) {
  auto* map = Control<QWidget>("imgGeo");
  auto onScreen = [&](QPoint at) {
    QCoreApplication::processEvents();
    const QPoint p = map->mapTo(ctx.window.get(), at);
    return map->screen()->grabWindow(ctx.window->winId(), p.x(), p.y(), 1, 1).toImage().pixel(0, 0);
  };
  page->RefreshGeo();
  EXPECT_EQ(onScreen({537, 104}), kRed);
  const QRgb clean = LoadWorldMap().pixel(537, 104);
  ctx.store.config.Lat = 0;
  ctx.store.config.Lon = 0;
  page->RefreshGeo();
  EXPECT_EQ(onScreen({537, 104}), clean);
  EXPECT_EQ(onScreen({537, 200}), LoadWorldMap().pixel(537, 200)) << "the old column is gone";
  EXPECT_EQ(onScreen({500, 250}), kRed);
}

TEST_F(GeoPageTest, RecordsAreShownWithoutRequestingAnything) {
  SetClock(ctx.store.info, 2024, 6, 21, 7, 5);
  ctx.ApplyRecord(RecordKind::Config);
  ctx.ApplyRecord(RecordKind::Info);
  EXPECT_EQ(Edit("edtLat")->text(), "52.5");
  EXPECT_EQ(Edit("edtLon")->text(), "13.4");
  EXPECT_EQ(Edit("edtTime")->text(), "07:05");
  EXPECT_EQ(Control<QSlider>("trbTime")->value(), 425);
  EXPECT_EQ(Control<QDateEdit>("dtp")->date(), QDate(2024, 6, 21));
  EXPECT_TRUE(GeoText().startsWith("Sun: ")) << "the active page refreshes with the Info";
  EXPECT_EQ(Requests(), 0u);

  // A date the calendar or the picker does not have leaves the picker alone.
  for (int month : {0, 2}) {
    SetClock(ctx.store.info, 2023, month, 30, 8, 0);
    ctx.ApplyRecord(RecordKind::Info);
    EXPECT_EQ(Control<QDateEdit>("dtp")->date(), QDate(2024, 6, 21));
    EXPECT_EQ(Edit("edtTime")->text(), "08:00");
  }
  SetClock(ctx.store.info, 2127, 1, 1, 8, 0);
  ctx.ApplyRecord(RecordKind::Info);
  EXPECT_EQ(Control<QDateEdit>("dtp")->date(), QDate(2024, 6, 21));
  EXPECT_EQ(Requests(), 0u);
}

TEST_F(GeoPageTest, RecordsSkipTheControlTheUserIsIn) {
  ctx.ApplyRecord(RecordKind::Config);
  Edit("edtLat")->setFocus();
  ctx.store.config.Lat = -338;
  ctx.store.config.Lon = 1512;
  ctx.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(Edit("edtLat")->text(), "52.5");
  EXPECT_EQ(Edit("edtLon")->text(), "151.2");

  Control<QSlider>("trbTime")->setFocus();
  SetClock(ctx.store.info, 2024, 6, 21, 9, 30);
  ctx.ApplyRecord(RecordKind::Info);
  EXPECT_EQ(Control<QSlider>("trbTime")->value(), 0);
  EXPECT_EQ(Edit("edtTime")->text(), "09:30");
}

TEST_F(GeoPageTest, RecordsWaitForAnInactivePageUntilItIsShown) {
  ctx.active = ctx.pages.front();
  ctx.ApplyRecord(RecordKind::Info);
  EXPECT_EQ(GeoText(), "");
  ctx.ShowPage(page);
  EXPECT_EQ(GeoText(), QString(kBerlinSun) + "\n" + kBerlinMoon);
}

TEST_F(GeoPageTest, NowOnAHiddenPageLeavesTheMapUndrawnUntilThePageIsShown) {
  ctx.active = ctx.pages.front();
  Control<QPushButton>("btnNow")->click();
  EXPECT_TRUE(page->Picture().Map().isNull()) << "the map is not even decoded";
  ctx.ShowPage(page);
  EXPECT_EQ(page->Picture().Map().pixel(537, 104), kRed);
}

TEST_F(GeoPageTest, ClickOnTheMapStoresTheLocationShowsAndWritesIt) {
  ClickMap({500, 250});
  EXPECT_EQ(ctx.store.config.Lat, 0);
  EXPECT_EQ(ctx.store.config.Lon, 0);
  EXPECT_EQ(Edit("edtLat")->text(), "0");
  EXPECT_EQ(Requests(), kWriteConfig);
  EXPECT_EQ(page->Picture().Map().pixel(500, 250), kRed);

  ClickMap({0, 0}, Qt::RightButton);
  EXPECT_EQ(ctx.store.config.Lat, 900);
  EXPECT_EQ(ctx.store.config.Lon, -1800);
  EXPECT_EQ(Edit("edtLat")->text(), "90");
  EXPECT_EQ(Edit("edtLon")->text(), "-180");
  ClickMap({1000, 500});
  EXPECT_EQ(ctx.store.config.Lat, -900);
  EXPECT_EQ(ctx.store.config.Lon, 1800);
  ClickMap({-5, 600});
  EXPECT_EQ(ctx.store.config.Lat, -900);
  EXPECT_EQ(ctx.store.config.Lon, -1800);
  ClickMap({537, 105});
  EXPECT_EQ(Edit("edtLat")->text(), "52.2");
  EXPECT_EQ(Edit("edtLon")->text(), "13.3");
  EXPECT_EQ(Requests(), kWriteConfig) << "the location only";
}

TEST_F(GeoPageTest, MouseOverTheMapShowsItsPositionWithACrossHair) {
  auto* map = Control<QWidget>("imgGeo");
  QEnterEvent enter(QPointF(537, 105), QPointF(537, 105), QPointF(537, 105));
  QApplication::sendEvent(map, &enter);
  EXPECT_EQ(map->cursor().shape(), Qt::CrossCursor);
  QMouseEvent move(QEvent::MouseMove, QPointF(537, 105), QPointF(537, 105), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(map, &move);
  EXPECT_EQ(ctx.panels[0], "Mouse position: Latitude: 52.2°, Longitude: 13.3°");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(map, &leave);
  EXPECT_EQ(ctx.panels[0], "");
  EXPECT_EQ(map->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(Requests(), 0u);
}

TEST_F(GeoPageTest, TypedLocationIsStoredWhenBothNumbersParse) {
  ctx.ApplyRecord(RecordKind::Config);
  Type(Edit("edtLat"), "-33.85");
  EXPECT_EQ(ctx.store.config.Lat, -338) << "-338.5 to the even tenth";
  EXPECT_EQ(ctx.store.config.Lon, 134);
  EXPECT_EQ(Requests(), kWriteConfig);
  EXPECT_EQ(page->Picture().Map().pixel(537, 344), kRed) << "the map follows at once";

  ctx.store.Clear(kWriteConfig);
  for (const char* bad : {"1e9", "inf", "nan", "", "-"}) {
    Type(Edit("edtLon"), bad);
    EXPECT_EQ(ctx.store.config.Lon, 134) << bad;
    EXPECT_EQ(Requests(), 0u) << bad;
  }
  Type(Edit("edtLon"), "151.2");
  EXPECT_EQ(ctx.store.config.Lon, 1512);
  EXPECT_EQ(ctx.store.config.Lat, -338);
}

TEST_F(GeoPageTest, TypedLatitudePastTheMapDrawsOnlyWhatFallsOnIt) {
  ctx.ApplyRecord(RecordKind::Config);
  Type(Edit("edtLat"), "95");
  EXPECT_EQ(ctx.store.config.Lat, 950);
  EXPECT_EQ(RedPixels(page->Picture().Map()), 0);
  EXPECT_EQ(GeoText().count('\n'), 1) << "the text is still built";
}

TEST_F(GeoPageTest, TypedTimeIsStoredOnlyWhenBothPartsAreIntegers) {
  auto* time = Edit("edtTime");
  for (const char* ignored : {"", "-", "12:", "a:5"}) {
    Type(time, ignored);
    EXPECT_EQ(Requests(), 0u) << ignored;
  }
  EXPECT_EQ(ctx.store.info.Hour, 12);
  Type(time, "7:5");
  EXPECT_EQ(ctx.store.info.Hour, 7);
  EXPECT_EQ(ctx.store.info.Minute, 5);
  EXPECT_EQ(Control<QSlider>("trbTime")->value(), 425);
  EXPECT_EQ(Requests(), kWriteInfoTime);
  EXPECT_TRUE(GeoText().startsWith("Sun: ")) << "refreshed";

  Type(time, "25:00");
  EXPECT_EQ(ctx.store.info.Hour, 25) << "kept as typed";
  EXPECT_EQ(Control<QSlider>("trbTime")->value(), 1439);
  Type(time, "99999:99999");
  EXPECT_EQ(Control<QSlider>("trbTime")->value(), 1439);
}

TEST_F(GeoPageTest, TimeSliderStoresChangedMinutesOnly) {
  ctx.ApplyRecord(RecordKind::Info);
  auto* slider = Control<QSlider>("trbTime");
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_PageUp);
  EXPECT_EQ(ctx.store.info.Hour, 13);
  EXPECT_EQ(ctx.store.info.Minute, 0);
  EXPECT_EQ(Edit("edtTime")->text(), "13:00");
  EXPECT_EQ(Requests(), kWriteInfoTime);

  ctx.store.Clear(kWriteInfoTime);
  QTest::keyClick(slider, Qt::Key_End);
  EXPECT_EQ(ctx.store.info.Hour, 23);
  EXPECT_EQ(ctx.store.info.Minute, 59);
  // The board's clock moved on to 23:58 while the user held the slider.
  ctx.store.Clear(kWriteInfoTime);
  ctx.store.info.Minute = 58;
  QTest::keyClick(slider, Qt::Key_Left);
  EXPECT_EQ(Requests(), 0u) << "the board's time already";
  EXPECT_EQ(Edit("edtTime")->text(), "23:59");
}

TEST_F(GeoPageTest, PickedDateIsStored) {
  ctx.ApplyRecord(RecordKind::Info);
  auto* dtp = Control<QDateEdit>("dtp");
  dtp->setFocus();
  QTest::keyClick(dtp, Qt::Key_Up);
  const QDate picked = dtp->date();
  ASSERT_NE(picked, QDate(2024, 6, 21));
  EXPECT_EQ(QDate(2000 + ctx.store.info.Year, ctx.store.info.Month, ctx.store.info.Day), picked);
  EXPECT_EQ(Requests(), kWriteInfoTime);
  EXPECT_EQ(dtp->minimumDate(), QDate(2000, 1, 1));
  EXPECT_EQ(dtp->maximumDate(), QDate(2099, 12, 31));
}

TEST_F(GeoPageTest, NowSetsTheBoardClockFromTheComputerAndEndsTimeLapse) {
  ctx.store.config.TimeLapse = 20;
  ctx.store.info.Reserved12[0] = 0x5A;
  page->clock = [] { return QDateTime(QDate(2024, 6, 21), QTime(12, 0, 7, 996)); };
  QTest::mouseClick(Control<QPushButton>("btnNow"), Qt::LeftButton);
  const Info& info = ctx.store.info;
  EXPECT_EQ(info.Reserved12[0], 0);
  EXPECT_EQ(ctx.store.config.TimeLapse, 1);
  EXPECT_EQ(Requests(), kWriteInfoTime | kWriteConfig);
  EXPECT_EQ(info.Year, 24);
  EXPECT_EQ(info.Month, 6);
  EXPECT_EQ(info.Day, 21);
  EXPECT_EQ(info.Hour, 12);
  EXPECT_EQ(info.Minute, 0);
  EXPECT_EQ(info.Second, 7);
  EXPECT_EQ(info.Centisecond, 99) << "never 100";
  EXPECT_EQ(Edit("edtTime")->text(), "12:00");
  EXPECT_EQ(Control<QSlider>("trbTime")->value(), 720);
  EXPECT_EQ(Control<QDateEdit>("dtp")->date(), QDate(2024, 6, 21));
  EXPECT_EQ(GeoText(), QString(kBerlinSun) + "\n" + kBerlinMoon);
}

TEST_F(GeoPageTest, DoubleClickOnTheMoonOpensTheConfigurationPage) {
  QTest::mouseDClick(Control<QWidget>("imgMoon"), Qt::LeftButton);
  ASSERT_EQ(ctx.shownPages.size(), 1u);
  EXPECT_EQ(ctx.shownPages[0], "tsConfig");
  EXPECT_EQ(Requests(), 0u);
}

}  // namespace
}  // namespace vmx::testing
