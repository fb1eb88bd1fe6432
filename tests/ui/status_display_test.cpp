// The board's live state in the caption, lblBoard and the status bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLocale>

#include "editor/config_page.h"
#include "lang/catalogue.h"
#include "tests/ui/fake_page_context.h"
#include "ui/status_display.h"

namespace vmx::testing {
namespace {

class StatusDisplayTest : public ::testing::Test {
 protected:
  StatusDisplayTest() {
    context.Add<ConfigPage>();
    Info& info = context.store.info;
    info.TempBoard = 315;
    info.TempWater = kNoTemperature;
    info.TempSlave = kNoTemperature;
    info.InputVoltage = 24010;
    info.Year = 24;
    info.Month = 6;
    info.Day = 21;
    info.Hour = 12;
    info.Minute = 30;
  }
  ~StatusDisplayTest() override {
    QLocale::setDefault(QLocale::c());
    SetCurrentTable(std::make_shared<LanguageTable>(LanguageTable::Parse(BuiltInTable(Language::English))));
  }
  QLabel* Board() { return context.Find<QLabel>("lblBoard"); }
  bool Red() { return Board()->palette().color(QPalette::WindowText) == QColor(Qt::red); }

  FakePageContext context;
  StatusDisplay display{context};
};

TEST_F(StatusDisplayTest, StatusLineNamesPortErrorsTemperaturesAndVoltage) {
  display.ApplyInfo();
  EXPECT_EQ("/dev/ttyUSB0 \u2022 Board temperature: 31.5\u00B0C \u2022 Input voltage: 24.01 Volt",
            context.caption.toStdString());
  EXPECT_EQ(context.caption, Board()->text());
  EXPECT_FALSE(Red());

  context.store.info.ErrorFlags = 0x60;
  context.store.info.TempWater = 250;
  context.store.info.TempSlave = -15;
  context.store.config.Flag = config_flag::Fahrenheit;
  display.ApplyInfo();
  EXPECT_EQ(
      "/dev/ttyUSB0 \u2022 RTC error \u2022 TempBoard error \u2022 Board temperature: "
      "88.7\u00B0F \u2022 PelorixTemp: 77.0\u00B0F \u2022 Slave: 29.3\u00B0F \u2022 Input "
      "voltage: 24.01 Volt",
      Board()->text().toStdString());
  EXPECT_TRUE(Red());

  context.store.info.ErrorFlags = 0x10;
  display.ApplyInfo();
  EXPECT_TRUE(Board()->text().contains("RAM full"));
  EXPECT_FALSE(Red()) << "a full RAM is no alarm";
}

TEST_F(StatusDisplayTest, GermanTextsAndDecimalComma) {
  SetCurrentTable(std::make_shared<LanguageTable>(LanguageTable::Parse(BuiltInTable(Language::German))));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  context.store.info.InputVoltage = 12000;
  display.ApplyInfo();
  EXPECT_TRUE(Board()->text().endsWith(": 12,00 Volt")) << Board()->text().toStdString();
  EXPECT_TRUE(Board()->text().contains("31,5")) << Board()->text().toStdString();
}

TEST_F(StatusDisplayTest, ModePanelWithActivityLettersOrSaving) {
  context.store.config.Mode = 1;
  context.store.info.ActivityFlags = 0x01 | 0x20;
  display.UpdateModePanel();
  EXPECT_EQ("AutoOT", context.panels[2]);
  context.store.config.Mode = 0;
  display.UpdateModePanel();
  EXPECT_EQ("ManualT", context.panels[2]) << "cloud letters only in Auto and Geo";
  context.store.config.Mode = 7;
  context.store.info.ActivityFlags = 0x04;
  display.UpdateModePanel();
  EXPECT_EQ("C", context.panels[2]) << "a mode without a name still shows its letters";
  context.store.info.StatusFlags = 0x10;
  display.UpdateModePanel();
  EXPECT_EQ("Saving", context.panels[2]);
}

TEST_F(StatusDisplayTest, ImpossibleBoardDateLeavesTheDateOutButShowsTheRest) {
  display.ApplyInfo();
  EXPECT_TRUE(context.panels[1].contains("12:30")) << context.panels[1].toStdString();
  EXPECT_TRUE(context.panels[1].contains("24")) << "the date is there";

  context.store.info.Month = 0;
  context.store.info.ErrorFlags = 0x40;
  display.ApplyInfo();
  EXPECT_TRUE(context.panels[1].startsWith("12:30")) << context.panels[1].toStdString();
  EXPECT_TRUE(Board()->text().contains("RTC error"));
  EXPECT_TRUE(Red());
}

TEST_F(StatusDisplayTest, EndOfLinkClearsEverything) {
  display.ApplyInfo();
  display.UpdateModePanel();
  display.LinkLost();
  EXPECT_TRUE(context.panels[1].isEmpty());
  EXPECT_TRUE(context.panels[2].isEmpty());
  EXPECT_TRUE(Board()->text().isEmpty());
  EXPECT_TRUE(context.caption.isEmpty());
}

}  // namespace
}  // namespace vmx::testing
