// The weather, delay, moon and white balance pages, typed into and clicked
// as a user does, in a stand-in window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "editor/balance_page.h"
#include "editor/moon_page.h"
#include "editor/weather_delay_page.h"
#include "editor/weather_page.h"
#include "tests/ui/fake_page_context.h"
#include "ui/tint.h"

namespace vmx::testing {
namespace {

class WeatherPagesTest : public ::testing::Test {
 protected:
  WeatherPagesTest() {
    context.Add<WeatherPage>();
    context.Add<WeatherDelayPage>();
    context.Add<MoonPage>();
    context.Add<BalancePage>();
    context.Show();
    window = context.window.get();
    QApplication::setActiveWindow(window);
  }
  QLineEdit* Edit(const QString& name) { return context.Find<QLineEdit>(name); }
  QSlider* Slider(const QString& name) { return context.Find<QSlider>(name); }
  // Replaces the edit's text by typing, as the user does.
  void Type(const QString& name, const QString& text) {
    QLineEdit* edit = Edit(name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  void Key(const QString& slider, Qt::Key key) {
    Slider(slider)->setFocus();
    QTest::keyClick(Slider(slider), key);
  }
  QString Label(const QString& name) { return context.Find<QLabel>(name)->text(); }
  uint32_t TakeRequests() {
    const uint32_t word = context.store.Requests();
    context.store.SetRequests(0);
    return word;
  }

  FakePageContext context;
  QWidget* window = nullptr;
  Config& config = context.store.config;
  ExpertWeather& weather = context.store.weather;
};

TEST_F(WeatherPagesTest, TypedCountsAndDurationsBecomeChances) {
  Type("edtCloudCount", "100");
  EXPECT_EQ(config.CloudP, 76);
  EXPECT_EQ(TakeRequests(), request::WriteConfig);
  Type("edtCloudSeconds", "60");
  EXPECT_EQ(config.CloudD, 1092);
  EXPECT_EQ(Slider("trbCloudSeconds")->value(), 60);
  EXPECT_EQ(Label("lblCloudRatio"), "Cloud ratio: 6.5%");
  Type("edtStormCount", "7");
  Type("edtStormMinutes", "30");
  EXPECT_EQ(config.StormP, 12);
  EXPECT_EQ(config.StormD, 583);
  EXPECT_EQ(Label("lblStormRatio"), "Thunderstorm ratio: 2%");

  Type("edtCloudCount", "5000");
  EXPECT_EQ(Slider("trbCloudCount")->value(), 3000) << "the slider clamps";
  EXPECT_EQ(config.CloudP, 2276) << "the chance of 3000 clouds a day";
  EXPECT_EQ(Edit("edtCloudCount")->text(), "5000") << "what was typed stays";

  Type("edtCloudSeconds", "1");
  EXPECT_EQ(config.CloudD, 65535);
  TakeRequests();
  Type("edtCloudSeconds", "x1");
  EXPECT_EQ(TakeRequests(), 0u) << "text that is no number changes nothing";
  EXPECT_EQ(config.CloudD, 65535);
}

TEST_F(WeatherPagesTest, MovingOneSliderLeavesTheOtherQuantitiesAsTheBoardHasThem) {
  config.Mode = 1;
  config.CloudP = 5;
  config.CloudD = 546;
  config.StormP = 3;
  config.StormD = 600;
  context.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(Edit("edtStormCount")->text(), "1");  // 1.73, truncated
  EXPECT_EQ(Edit("edtStormMinutes")->text(), "29");
  Key("trbStormMinutes", Qt::Key_Right);
  EXPECT_EQ(config.StormD, 583) << "30 minutes";
  EXPECT_EQ(Edit("edtStormMinutes")->text(), "30");
  // Recomputing the count from the 1 shown would store 2 instead of 3.
  EXPECT_EQ(config.StormP, 3);
  EXPECT_EQ(config.CloudP, 5);
  EXPECT_EQ(config.CloudD, 546);
  EXPECT_EQ(TakeRequests(), request::WriteConfig);
}

TEST_F(WeatherPagesTest, AReadConfigShowsCountsButSkipsTheFocusedControl) {
  config.CloudP = 76;
  config.CloudD = 1092;
  config.StormP = 65535;
  config.StormD = 0;
  Slider("trbStormMinutes")->setValue(42);
  Edit("edtCloudSeconds")->setFocus();
  Edit("edtCloudSeconds")->setText("typed");
  context.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(Slider("trbCloudCount")->value(), 100);
  EXPECT_EQ(Edit("edtCloudCount")->text(), "100");
  EXPECT_EQ(Slider("trbCloudSeconds")->value(), 60);
  EXPECT_EQ(Edit("edtCloudSeconds")->text(), "typed");
  EXPECT_EQ(Edit("edtStormCount")->text(), "1000") << "37799 storms, clamped by the slider";
  EXPECT_EQ(Slider("trbStormMinutes")->value(), 42) << "no duration in the record";
  EXPECT_EQ(Edit("edtStormMinutes")->text(), "42");
  EXPECT_EQ(TakeRequests(), 0u) << "showing a record sends nothing";
}

TEST_F(WeatherPagesTest, RatiosShowWhatTheBoardIsDoing) {
  config.Mode = 2;
  config.CloudP = 76;
  config.CloudD = 1092;
  context.store.info.ActivityFlags = activity::Cloud | activity::Storm;
  context.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(Label("lblCloudRatio"), "Cloud currently active \u2022 Cloud ratio: 6.5%");
  EXPECT_EQ(Label("lblStormRatio"), "Thunderstorm currently active \u2022 ");
  config.Mode = 0;
  context.ApplyRecord(RecordKind::Config);
  EXPECT_EQ(Label("lblCloudRatio"), "Cloud ratio: 6.5%");
  EXPECT_EQ(Label("lblStormRatio"), "");
}

TEST_F(WeatherPagesTest, PlainPairsStoreTheirFieldsCutToWidth) {
  Type("edtCloudAlpha", "300");
  EXPECT_EQ(weather.CloudAlpha, 44);
  EXPECT_EQ(Slider("trbCloudAlpha")->value(), 44);
  Type("edtStormStep", "6000");
  EXPECT_EQ(weather.StormStep, 6000) << "a 16-bit field keeps it";
  EXPECT_EQ(Slider("trbStormStep")->value(), 5000);
  Key("trbLightningP", Qt::Key_PageUp);
  EXPECT_EQ(weather.LightningP, Slider("trbLightningP")->value());
  EXPECT_EQ(Edit("edtLightningP")->text(), QString::number(weather.LightningP));
  EXPECT_EQ(TakeRequests(), request::WriteWeather);

  weather.CloudStep = 1234;
  weather.CloudAlpha = 15;
  Edit("edtCloudAlpha")->setFocus();
  context.ApplyRecord(RecordKind::ExpertWeather);
  EXPECT_EQ(Edit("edtCloudStep")->text(), "1234");
  EXPECT_EQ(Slider("trbCloudStep")->value(), 1234);
  EXPECT_EQ(Slider("trbCloudAlpha")->value(), 15);
  EXPECT_EQ(Edit("edtCloudAlpha")->text(), "300") << "the user is typing there";
}

TEST_F(WeatherPagesTest, TheTriggerButtonsAreOnTheWeatherPage) {
  QWidget* page = context.PageNamed("tsWeather");
  ASSERT_TRUE(page->findChild<QPushButton*>("btnCloud"));
  ASSERT_TRUE(page->findChild<QPushButton*>("btnStorm"));
  context.store.SetRequests(0);
  page->findChild<QPushButton*>("btnCloud")->click();
  EXPECT_EQ(context.store.Requests(), 0x10000u);
  context.store.SetRequests(0);
  page->findChild<QPushButton*>("btnStorm")->click();
  EXPECT_EQ(context.store.Requests(), 0x20000u);
}

TEST_F(WeatherPagesTest, MoonLevelsInPercent) {
  Type("edtMoon3", "6.23");
  EXPECT_EQ(weather.MoonColor16[3], 255);
  EXPECT_EQ(Slider("trbMoon3")->value(), 255);
  EXPECT_EQ(TakeRequests(), request::WriteWeather);
  Type("edtMoon3", "7");
  EXPECT_EQ(weather.MoonColor16[3], 31) << "287 cut to a byte";
  EXPECT_EQ(Slider("trbMoon3")->value(), 31);
  Key("trbMoon7", Qt::Key_Right);
  EXPECT_EQ(weather.MoonColor16[7], 1);
  EXPECT_EQ(Edit("edtMoon7")->text(), "0.02");
  weather.MoonColor16[0] = 8;
  context.ApplyRecord(RecordKind::ExpertWeather);
  EXPECT_EQ(Edit("edtMoon0")->text(), "0.2");
  EXPECT_EQ(Slider("trbMoon0")->value(), 8);
}

TEST_F(WeatherPagesTest, BalanceAndItsSum) {
  Type("edtBalance3", "300");
  EXPECT_EQ(weather.Balance[3], 44);
  EXPECT_EQ(Slider("trbBalance3")->value(), 44);
  EXPECT_EQ(TakeRequests(), request::WriteWeather);

  // A read while the user holds the sum slider still moves it: the board
  // ramps the sum by itself.
  Key("trbBalanceSum", Qt::Key_Right);
  ASSERT_TRUE(Slider("trbBalanceSum")->hasFocus());
  weather.BalanceSum = 70;
  weather.Balance[3] = 90;
  weather.Balance[4] = 80;
  Edit("edtBalance3")->setFocus();
  context.ApplyRecord(RecordKind::ExpertWeather);
  EXPECT_EQ(Slider("trbBalanceSum")->value(), 70);
  EXPECT_EQ(Edit("edtBalanceSum")->text(), "70");
  EXPECT_EQ(Edit("edtBalance3")->text(), "300");
  EXPECT_EQ(Edit("edtBalance4")->text(), "80");
  Slider("trbBalanceSum")->setFocus();
  context.ApplyRecord(RecordKind::ExpertWeather);
  EXPECT_EQ(Slider("trbBalanceSum")->value(), 70);
}

TEST_F(WeatherPagesTest, TheSumRampGoesWithTheExpertRecord) {
  TakeRequests();
  Type("edtBalanceSumRamp", "-20");
  EXPECT_EQ(context.store.expert.BalanceSumRamp, -20);
  EXPECT_EQ(static_cast<uint8_t>(context.store.expert.BalanceSumRamp), 0xEC);
  EXPECT_EQ(TakeRequests(), request::WriteExpert);
  context.store.expert.BalanceSumRamp = -7;
  window->setFocus();
  context.ApplyRecord(RecordKind::Expert);
  EXPECT_EQ(Edit("edtBalanceSumRamp")->text(), "-7");
}

TEST_F(WeatherPagesTest, DelaysPerChannel) {
  Key("trbWeatherDelay5", Qt::Key_Right);
  EXPECT_EQ(weather.WeatherDelay[5], 1);
  EXPECT_EQ(Edit("edtWeatherDelay5")->text(), "1");
  Type("edtWeatherDelay11", "255");
  EXPECT_EQ(weather.WeatherDelay[11], 255);
  EXPECT_EQ(Slider("trbWeatherDelay11")->value(), 255);
  EXPECT_EQ(TakeRequests(), request::WriteWeather);
}

TEST_F(WeatherPagesTest, ChannelCaptionsAndTintsFollowTheColourNames) {
  config.ColorName[1] = 2;   // Red
  config.ColorName[0] = 20;  // a name this program does not know
  context.UpdateChannelColors();
  for (const char* stem : {"edtMoon", "edtBalance", "edtWeatherDelay"}) {
    QLineEdit* edit = Edit(QString(stem) + "1");
    auto* label = context.window->findChild<QLabel*>(QString("lbl_") + stem + "1");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "B: Red") << stem;
    EXPECT_EQ(TintOf(edit).rgba(), 0xFFFF8080u) << stem;
    EXPECT_EQ(context.window->findChild<QLabel*>(QString("lbl_") + stem + "0")->text(),
              "A: Unnamed");
  }
}

}  // namespace
}  // namespace vmx::testing
