// Settings files: the exact text a known board gives, merging into a file
// that is there, and both imports with the values files hold.
#include "persist/settings_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/shared_store.h"

namespace vmx {
namespace {

using ::testing::ElementsAre;

// A board whose fields show every type's sign and width.
SettingsRecords KnownBoard(size_t rows) {
  SettingsRecords r;
  Config& c = r.config;
  c.Mode = 2;
  c.Flag = 13;
  c.FanLow = 77;
  c.FanHigh = 255;
  c.LCDBLMin = 3;
  c.LCDBLMax = 250;
  c.TimeLapse = 1;
  c.ColorName = {7, 11, 4, 5, 8, 12, 2, 3, 13, 15, 6, 0};
  c.CloudP = 76;
  c.CloudD = 1092;
  c.StormP = 12;
  c.StormD = 65535;
  c.Lat = -337;
  c.Lon = 1512;
  Expert& e = r.expert;
  e.FanMode = 1;
  e.JMPMode = 8;
  e.ChartMode = 3;
  e.PWMPrescaler = 5;
  e.TWIBitrate = 17;
  e.RC433Systems = 0x15;  // not a file key
  e.RandomInit = 200;
  e.FanOff = 12;
  e.LCDBLNight = 10;
  e.Language = 1;
  e.ChartScale = 5;
  e.TempOffset = -5;
  e.BalanceSumRamp = -128;
  e.TempWaterLow = 250;
  e.TempWaterHigh = 265;
  e.TempCoolLow = 270;
  e.TempCoolHigh = 280;
  e.TempHeatLow = -15;
  e.TempHeatHigh = 245;
  e.CloudTempWater = 290;
  e.CloudTempBoard = 32767;
  e.ChartInterval = 65535;
  e.StandardMonth = 10;
  e.StandardDay = -1;
  e.StandardHour = 3;
  e.StandardDayOfWeek = 0;
  e.DaylightMonth = 3;
  e.DaylightDay = 31;
  e.DaylightHour = 2;
  e.DaylightDayOfWeek = 6;
  e.Bias = -300;
  e.Up = 4660;
  e.Down = 65535;
  e.Left = 0;
  e.Right = 1;
  e.Previous = 2;
  e.Next = 3;
  e.Settings = 4;
  e.Step = 5;
  ExpertWeather& w = r.weather;
  w.CloudStep = 200;
  w.StormStep = 65535;
  w.LightningP = 300;
  w.CloudAlpha = 40;
  w.StormAlpha = 20;
  w.BalanceSum = 100;
  for (size_t i = 0; i < 12; ++i) {
    w.Balance[i] = static_cast<uint8_t>(100 - i);
    w.MoonColor16[i] = static_cast<uint8_t>(i * 20);
    w.LightningMask[i] = i % 2 ? 255 : 0;
    w.WeatherDelay[i] = i == 11 ? 255 : static_cast<uint8_t>(i * 10);
  }
  r.schedule.resize(rows);
  for (size_t k = 0; k < rows; ++k) {
    ScheduleRow& row = r.schedule[k];
    row.Hour = static_cast<int8_t>(8 + k);
    row.Minute = 30;
    row.Alt = static_cast<int16_t>(k == 0 ? -1000 : 9999);
    for (size_t i = 0; i < 12; ++i) row.Color16[i] = static_cast<int16_t>(i * 300 + k);
    row.Color16[11] = 4096;
    row.Timer = -1;
    row.Switch = 0xE3;
  }
  return r;
}

std::string KnownSections() {
  std::string weather;
  for (int i = 0; i < 12; ++i) {
    const std::string n = std::to_string(i);
    weather += "Balance" + n + "=" + std::to_string(100 - i) + "\r\n";
    weather += "MoonColor16" + n + "=" + std::to_string(i * 20) + "\r\n";
    weather += "WeatherDelay" + n + "=" + (i == 11 ? "255" : std::to_string(i * 10)) + "\r\n";
    weather += "LightningMask" + n + "=" + (i % 2 ? "255" : "0") + "\r\n";
  }
  return "[Config]\r\nMode=2\r\nFlag=13\r\nFanLow=77\r\nFanHigh=255\r\nFanOff=12\r\n"
         "FanMode=1\r\nTempWaterLow=250\r\nTempWaterHigh=265\r\nLCDBLMin=3\r\nLCDBLMax=250\r\n"
         "TimeLapse=1\r\nLat=-337\r\nLon=1512\r\nJMPMode=8\r\nTempCoolLow=270\r\n"
         "TempCoolHigh=280\r\nTempHeatLow=-15\r\nTempHeatHigh=245\r\nChartMode=3\r\n"
         "ChartInterval=65535\r\nChartScale=5\r\nPWMPrescaler=5\r\nTWIBitrate=17\r\n"
         "RandomInit=200\r\nLCDBLNight=10\r\nLanguage=1\r\nTempOffset=-5\r\n"
         "CloudTempWater=290\r\nCloudTempBoard=32767\r\nBalanceSumRamp=-128\r\n\r\n"
         "[Weather]\r\nCloudP=76\r\nCloudD=1092\r\nStormP=12\r\nStormD=65535\r\n"
         "CloudStep=200\r\nStormStep=65535\r\nCloudAlpha=40\r\nStormAlpha=20\r\n"
         "LightningP=300\r\n" +
         weather +
         "BalanceSum=100\r\n\r\n"
         "[Names]\r\nColorName0=7\r\nColorName1=11\r\nColorName2=4\r\nColorName3=5\r\n"
         "ColorName4=8\r\nColorName5=12\r\nColorName6=2\r\nColorName7=3\r\nColorName8=13\r\n"
         "ColorName9=15\r\nColorName10=6\r\nColorName11=0\r\n\r\n"
         "[RC5]\r\nUp=4660\r\nDown=65535\r\nLeft=0\r\nRight=1\r\nPrevious=2\r\nNext=3\r\n"
         "Settings=4\r\nStep=5\r\n\r\n"
         "[TimeZone]\r\nStandardMonth=10\r\nStandardDay=-1\r\nStandardHour=3\r\n"
         "StandardDayOfWeek=0\r\nDaylightMonth=3\r\nDaylightDay=31\r\nDaylightHour=2\r\n"
         "DaylightDayOfWeek=6\r\nBias=-300\r\n\r\n";
}

std::string KnownRow(int k, const std::string& alt) {
  std::string text = "[" + std::to_string(k) + "]\r\nHour=" + std::to_string(8 + k) +
                     "\r\nMinute=30\r\nAlt=" + alt + "\r\n";
  for (int i = 0; i < 11; ++i)
    text += "Color16" + std::to_string(i) + "=" + std::to_string(i * 300 + k) + "\r\n";
  return text + "Color1611=4096\r\nTimer=-1\r\nSwitch=227\r\n\r\n";
}

std::string Export(const SettingsRecords& records, std::string_view existing = {}) {
  IniDocument doc = existing.empty() ? IniDocument() : IniDocument::Parse(existing);
  PutSettings(doc, records);
  return doc.Text();
}

TEST(SettingsExport, AKnownBoardGivesItsExactText) {
  EXPECT_EQ(Export(KnownBoard(2)), KnownSections() + KnownRow(0, "-1000") + KnownRow(1, "9999"));
  EXPECT_EQ(Export(KnownBoard(0)), KnownSections()) << "no rows, no row sections";
}

TEST(SettingsExport, MergingKeepsTheRestOfTheFile) {
  const std::string existing =
      "; my reef\n[Config]\nMode=0\nCustom=5\n[0]\nHour=1\n[7]\nHour=3\nMinute=4\n[Mine]\nA=1\n";
  const std::string text = Export(KnownBoard(1), existing);
  EXPECT_TRUE(text.starts_with("; my reef\n[Config]\nMode=2\nCustom=5\nFlag=13\n"))
      << "a key replaced where it stands, new ones after the last";
  EXPECT_NE(text.find("\n[7]\nHour=3\nMinute=4\n[Mine]\nA=1\n\n[Weather]\n"), std::string::npos)
      << "stale rows and other sections stay";
  EXPECT_NE(text.find("\n[0]\nHour=8\nMinute=30\nAlt=-1000\n"), std::string::npos);
  EXPECT_EQ(text.find('\r'), std::string::npos) << "the file's own line ends";
  // Written again, the merged file does not change.
  EXPECT_EQ(Export(KnownBoard(1), text), text);
}

TEST(SettingsImport, ReadsBackWhatWasExported) {
  const SettingsRecords board = KnownBoard(3);
  const IniDocument doc = IniDocument::Parse(Export(board));
  SettingsRecords read;
  read.schedule.resize(3);
  read.expert.RC433Systems = 0x15;
  ReadConfiguration(doc, read);
  ReadSchedule(doc, read);
  EXPECT_EQ(read, board);
}

TEST(SettingsImport, ValuesAsFilesHoldThem) {
  const IniDocument doc = IniDocument::Parse(
      "[Config]\nFanLow=300\nFanHigh=010\nLCDBLMin=$1F\nLCDBLMax=0x2a\nLat=-0x10\n"
      "TempOffset=$FFFFFFFF\nTimeLapse=+7\nBalanceSumRamp=-20\n"
      "[RC5]\nUp=$ABCD\nDown=-1\nLeft=65537\n");
  SettingsRecords r;
  const ImportReport report = ReadConfiguration(doc, r);
  EXPECT_EQ(r.config.FanLow, 44) << "cut to the field's width";
  EXPECT_EQ(r.config.FanHigh, 10) << "leading zeros are still decimal";
  EXPECT_EQ(r.config.LCDBLMin, 31);
  EXPECT_EQ(r.config.LCDBLMax, 42);
  EXPECT_EQ(r.config.Lat, -16);
  EXPECT_EQ(r.expert.TempOffset, -1);
  EXPECT_EQ(r.config.TimeLapse, 7);
  EXPECT_EQ(r.expert.BalanceSumRamp, -20);
  EXPECT_EQ(r.expert.Up, 0xABCD);
  EXPECT_EQ(r.expert.Down, 0xFFFF);
  EXPECT_EQ(r.expert.Left, 1);
  EXPECT_EQ(report.values, 11);
  EXPECT_TRUE(report.ignored.empty());
  EXPECT_EQ(report.sections, 2);
}

TEST(SettingsImport, ABadValueLeavesOnlyItsOwnField) {
  const IniDocument doc = IniDocument::Parse(
      "[Config]\nMode=1\nFlag=12abc\nFanLow=1.5\nFanHigh=\nFanOff=99999999999\nFanMode=2\n"
      "LCDBLMin=$\nLCDBLMax=0x\nTimeLapse=--1\nLat=$100000000\nLon=- 5\nJMPMode=7\n");
  SettingsRecords r;
  r.config.Flag = 9;
  r.config.FanLow = r.config.FanHigh = r.config.LCDBLMin = r.config.LCDBLMax = 4;
  r.expert.FanOff = 11;
  r.config.Lat = r.config.Lon = 123;
  const ImportReport report = ReadConfiguration(doc, r);
  EXPECT_EQ(r.config.Mode, 1);
  EXPECT_EQ(r.config.Flag, 9);
  EXPECT_EQ(r.config.FanLow, 4);
  EXPECT_EQ(r.config.FanHigh, 4);
  EXPECT_EQ(r.expert.FanOff, 11);
  EXPECT_EQ(r.expert.FanMode, 2) << "a later key is still read";
  EXPECT_EQ(r.config.LCDBLMin, 4);
  EXPECT_EQ(r.config.LCDBLMax, 4);
  EXPECT_EQ(r.config.Lat, 123);
  EXPECT_EQ(r.config.Lon, 123);
  EXPECT_EQ(r.expert.JMPMode, 7);
  EXPECT_THAT(report.ignored,
              ElementsAre("[Config] Flag=12abc", "[Config] FanLow=1.5",
                          "[Config] FanHigh=", "[Config] FanOff=99999999999", "[Config] LCDBLMin=$",
                          "[Config] LCDBLMax=0x", "[Config] TimeLapse=--1",
                          "[Config] Lat=$100000000", "[Config] Lon=- 5"));
}

TEST(SettingsImport, KeysCountOnlyInTheirOwnSection) {
  const IniDocument doc = IniDocument::Parse(
      "[Weather]\nFanLow=5\nCloudP=9\n[Config]\nCloudP=7\nColorName0=3\n"
      "[Names]\nMode=4\n[0]\nMode=2\n");
  SettingsRecords r;
  ReadConfiguration(doc, r);
  EXPECT_EQ(r.config.FanLow, 0);
  EXPECT_EQ(r.config.CloudP, 9);
  EXPECT_EQ(r.config.ColorName[0], 0);
  EXPECT_EQ(r.config.Mode, 0);
}

TEST(SettingsImport, IndicesBeyondTheTablesAreStoredAsTheFileSays) {
  const IniDocument doc =
      IniDocument::Parse("[Config]\nMode=9\nJMPMode=50\nLanguage=7\n[Names]\nColorName0=20\n");
  SettingsRecords r;
  ReadConfiguration(doc, r);
  EXPECT_EQ(r.config.Mode, 9);
  EXPECT_EQ(r.expert.JMPMode, 50);
  EXPECT_EQ(r.expert.Language, 7);
  EXPECT_EQ(r.config.ColorName[0], 20);
}

class StoreImportTest : public ::testing::Test {
 protected:
  StoreImportTest() {
    Info info;
    info.RowCount = 3;
    const auto image = Encode(info);
    store.AcceptInfo(image);
    for (size_t k = 0; k < 3; ++k) store.schedule[k].Hour = static_cast<int8_t>(k);
  }
  SharedStore store;
};

TEST_F(StoreImportTest, ANamesOnlyFileStillSendsAllThreeRecords) {
  store.config.FanLow = 77;
  const ImportReport report =
      ImportConfiguration(IniDocument::Parse("[Names]\nColorName2=14\n"), store);
  EXPECT_EQ(store.config.ColorName[2], 14);
  EXPECT_EQ(store.config.FanLow, 77);
  EXPECT_EQ(store.Requests(), 0x510u);
  EXPECT_EQ(report.sections, 1);
}

TEST_F(StoreImportTest, ScheduleImportOfFewerRowsThanTheBoardHas) {
  ImportSchedule(IniDocument::Parse("[Config]\nMode=3\n[1]\nHour=20\nMinute=15\n"), store);
  EXPECT_EQ(store.schedule[0].Hour, 0);
  EXPECT_EQ(store.schedule[1].Hour, 20);
  EXPECT_EQ(store.schedule[1].Minute, 15);
  EXPECT_EQ(store.schedule[2].Hour, 2);
  EXPECT_EQ(store.config.Mode, 0) << "the configuration is not read";
  EXPECT_THAT(store.RowMarks(), ElementsAre(true, true, true)) << "every row goes out again";
  EXPECT_EQ(store.Requests(), 0x40u);
}

TEST_F(StoreImportTest, ScheduleImportOfMoreRowsThanTheBoardHas) {
  std::string text;
  for (int k = 0; k < 6; ++k)
    text += "[" + std::to_string(k) + "]\nHour=" + std::to_string(10 + k) + "\n";
  const ImportReport report = ImportSchedule(IniDocument::Parse(text), store);
  ASSERT_EQ(store.schedule.size(), 3u);
  EXPECT_EQ(store.schedule[0].Hour, 10);
  EXPECT_EQ(store.schedule[2].Hour, 12);
  EXPECT_EQ(report.sections, 3);
}

TEST_F(StoreImportTest, ScheduleImportKeepsTheRestOfABadRow) {
  ImportSchedule(IniDocument::Parse("[0]\nHour=x\nMinute=45\nColor165=4096\n"), store);
  EXPECT_EQ(store.schedule[0].Hour, 0);
  EXPECT_EQ(store.schedule[0].Minute, 45);
  EXPECT_EQ(store.schedule[0].Color16[5], 4096);
}

}  // namespace
}  // namespace vmx
