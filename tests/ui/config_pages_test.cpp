// The Configuration, Expert options and JMP pin pages driven by keys and
// clicks: paired sliders, conversions at their rounding edges, the unit switch,
// the time-zone fields.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "astro/fixed_time_zone.h"
#include "astro/posix_time_zone.h"
#include "editor/config_page.h"
#include "editor/expert_page.h"
#include "editor/jmp_page.h"
#include "link/request_flags.h"
#include "tests/ui/fake_page_context.h"

namespace vmx::testing {
namespace {

class ConfigPagesTest : public ::testing::Test {
 protected:
  ConfigPagesTest() {
    context.Add<ConfigPage>();
    context.Add<ExpertPage>();
    context.Add<JmpPage>();
    context.Show();
  }
  ~ConfigPagesTest() override { SetTimeZone(nullptr); }

  QLineEdit* Edit(const char* name) { return context.Find<QLineEdit>(name); }
  QSlider* Slider(const char* name) { return context.Find<QSlider>(name); }
  QRadioButton* Radio(const char* name) { return context.Find<QRadioButton>(name); }
  // Types into a field the user has clicked into, replacing its text.
  void Type(const char* name, const QString& text) {
    QLineEdit* edit = Edit(name);
    context.Reveal(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  uint32_t TakeRequests() { return context.TakeRequests(); }
  void Drag(QSlider* slider, int position) {
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
  }

  FakePageContext context;
};

TEST_F(ConfigPagesTest, PercentLevelsRoundToTheNearestByteAndMoveTheirSlider) {
  Type("edtFanLow", "30");
  EXPECT_EQ(76, context.store.config.FanLow);
  Type("edtFanLow", "50");
  EXPECT_EQ(128, context.store.config.FanLow) << "127.5 rounds to even";
  EXPECT_EQ(128, Slider("trbFanLow")->value());
  EXPECT_EQ(request::WriteConfig, TakeRequests()) << "the slider that followed sent nothing more";

  Type("edtLCDBLNight", "100");
  EXPECT_EQ(255, context.store.expert.LCDBLNight);
  EXPECT_EQ(request::WriteExpert, TakeRequests());
}

TEST_F(ConfigPagesTest, SlidersKeepTheirOrderButTypedValuesStandAsTyped) {
  context.store.config.FanHigh = 100;
  context.store.config.FanLow = 50;
  context.store.expert.FanOff = 20;
  context.ApplyRecord(RecordKind::Config);
  context.ApplyRecord(RecordKind::Expert);

  Drag(Slider("trbFanLow"), 200);
  EXPECT_EQ(100, Slider("trbFanLow")->value());
  EXPECT_EQ(100, context.store.config.FanLow);
  EXPECT_EQ("39.2", Edit("edtFanLow")->text());
  Drag(Slider("trbFanLow"), 5);
  EXPECT_EQ(20, context.store.config.FanLow) << "raised to the level when the LEDs are off";
  Drag(Slider("trbFanOff"), 90);
  EXPECT_EQ(20, context.store.expert.FanOff) << "lowered to the slow level";
  EXPECT_EQ(request::WriteConfig | request::WriteExpert, TakeRequests());

  Type("edtFanLow", "90");
  EXPECT_EQ(230, context.store.config.FanLow) << "no order for typed values";
}

TEST_F(ConfigPagesTest, PlainFieldsKeepTheLowBitsOfWhatWasTyped) {
  Type("edtPWMPrescaler", "300");
  EXPECT_EQ(44, context.store.expert.PWMPrescaler);
  Type("edtPWMPrescaler", "2");
  EXPECT_EQ(2, context.store.expert.PWMPrescaler);
  Type("edtTempOffset", "2.25");
  EXPECT_EQ(22, context.store.expert.TempOffset) << "22.5 rounds to even";
  Type("edtTempOffset", "-1.5");
  EXPECT_EQ(-15, context.store.expert.TempOffset);
  Type("edtChartScale", "25.5");
  EXPECT_EQ(255, context.store.expert.ChartScale);
  Type("edtLightningMask4", "$F0");
  EXPECT_EQ(0xF0, context.store.weather.LightningMask[4]);
  EXPECT_EQ(request::WriteExpert | request::WriteWeather, TakeRequests());
}

TEST_F(ConfigPagesTest, FahrenheitTemperaturesRoundTrip) {
  context.store.config.Flag = config_flag::Fahrenheit;
  context.store.expert.TempWaterLow = 250;
  context.store.expert.TempCoolHigh = -100;
  context.ApplyRecord(RecordKind::Expert);
  EXPECT_EQ("77.0", Edit("edtTempWaterLow")->text());
  EXPECT_EQ("14.0", Edit("edtTempCoolHigh")->text());
  Type("edtTempWaterLow", "77");
  EXPECT_EQ(250, context.store.expert.TempWaterLow);
  Type("edtTempWaterLow", "77.5");
  EXPECT_EQ(253, context.store.expert.TempWaterLow);
}

TEST_F(ConfigPagesTest, UnitSwitchSendsTheConfigOnceAndShowsTemperaturesAgain) {
  context.store.expert.TempHeatLow = 250;
  context.store.expert.CloudTempWater = 280;
  context.store.expert.TempOffset = 5;
  context.ApplyRecord(RecordKind::Config);
  context.ApplyRecord(RecordKind::Expert);
  EXPECT_EQ("25.0", Edit("edtTempHeatLow")->text());
  ASSERT_TRUE(Radio("rbtCelsius")->isChecked());
  context.applied.clear();

  context.Click("rbtFahrenheit");
  EXPECT_EQ(config_flag::Fahrenheit, context.store.config.Flag);
  EXPECT_EQ(request::WriteConfig, TakeRequests());
  EXPECT_EQ((std::vector{RecordKind::Info, RecordKind::Expert}), context.applied);
  EXPECT_EQ("77.0", Edit("edtTempHeatLow")->text());
  EXPECT_EQ("28.0", Edit("edtCloudTempWater")->text()) << "always Celsius";
  EXPECT_EQ("0.5", Edit("edtTempOffset")->text()) << "always Celsius";

  context.Click("rbt12h");
  context.Click("rbt20x4");
  EXPECT_EQ(config_flag::Fahrenheit | config_flag::Clock12h | config_flag::Display20x4,
            context.store.config.Flag);
}

TEST_F(ConfigPagesTest, RecordsShownSelectButtonsWithoutSending) {
  context.store.expert.FanMode = 1;
  context.store.expert.ChartMode = 2;
  context.store.expert.JMPMode = 7;
  context.store.config.Flag = config_flag::Display20x4;
  context.ApplyRecord(RecordKind::Config);
  context.ApplyRecord(RecordKind::Expert);
  EXPECT_TRUE(Radio("rbtFMOWater")->isChecked());
  EXPECT_TRUE(Radio("rbtCHMVoltage")->isChecked());
  EXPECT_TRUE(Radio("rbtJMPServo")->isChecked());
  EXPECT_TRUE(Radio("rbt20x4")->isChecked());
  EXPECT_EQ(0u, TakeRequests());
  EXPECT_GT(context.enablingRuns, 0) << "a new fan mode re-runs the enabling";

  context.Click("rbtJMPTimer");
  EXPECT_EQ(6, context.store.expert.JMPMode);
  context.Click("rbtFMOWaterMaster");
  EXPECT_EQ(2, context.store.expert.FanMode);
  EXPECT_EQ(request::WriteExpert, TakeRequests());
}

TEST_F(ConfigPagesTest, TimeZoneFieldsStoreInOrderUntilOneDoesNotParse) {
  context.ApplyRecord(RecordKind::Expert);
  Edit("edtTimeZoneBias")->setText("0");
  Edit("edtTimeZoneStandardMonth")->setText("0");
  Edit("edtTimeZoneStandardDay")->setText("x");
  Type("edtTimeZoneBias", "60");
  Type("edtTimeZoneStandardMonth", "10");
  EXPECT_EQ(60, context.store.expert.Bias);
  EXPECT_EQ(10, context.store.expert.StandardMonth);
  EXPECT_EQ(0u, TakeRequests()) << "a later field does not parse: nothing is sent";
  Type("edtTimeZoneStandardDay", "31");
  EXPECT_EQ(31, context.store.expert.StandardDay);
  EXPECT_EQ(request::WriteExpert, TakeRequests());
}

TEST_F(ConfigPagesTest, TimeZoneTakenFromTheComputer) {
  struct Case {
    const char* rule;
    std::array<int, 9> fields;  // bias, standard m/d/h/dow, daylight m/d/h/dow
  };
  for (const Case& c : {Case{"CET-1CEST,M3.5.0,M10.5.0/3", {60, 10, 31, 3, 0, 3, 31, 2, 0}},
                        Case{"EST5EDT,M3.2.0,M11.1.0", {-300, 11, 7, 2, 0, 3, 14, 2, 0}},
                        Case{"XST3XDT,M2.5.0,M9.5.0", {-180, 9, 30, 2, 0, 2, 28, 2, 0}}}) {
    SetTimeZone(std::make_shared<FixedTimeZone>(*ParsePosixTimeZone(c.rule)));
    context.Click("btnApplyTZI");
    const Expert& e = context.store.expert;
    EXPECT_EQ(c.fields, (std::array<int, 9>{e.Bias, e.StandardMonth, e.StandardDay, e.StandardHour,
                                            e.StandardDayOfWeek, e.DaylightMonth, e.DaylightDay,
                                            e.DaylightHour, e.DaylightDayOfWeek}))
        << c.rule;
    EXPECT_EQ(QString::number(c.fields[6]), Edit("edtTimeZoneDaylightDay")->text());
    EXPECT_EQ(request::WriteExpert, TakeRequests());
  }
}

TEST_F(ConfigPagesTest, RealtimeButtonAndTimeLapseSlider) {
  context.Click("btnRealtime");
  EXPECT_EQ(1, context.store.config.TimeLapse);
  EXPECT_EQ("1", Edit("edtTimeLapse")->text());
  EXPECT_EQ(request::WriteConfig, TakeRequests());
  QSlider* lapse = Slider("trbTimeLapse");
  EXPECT_EQ(250, lapse->maximum());
  lapse->setFocus();
  QTest::keyClick(lapse, Qt::Key_Right);
  EXPECT_EQ(2, context.store.config.TimeLapse);
  EXPECT_EQ("2", Edit("edtTimeLapse")->text());
}

}  // namespace
}  // namespace vmx::testing
