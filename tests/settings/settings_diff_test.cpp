// Differences between two settings sets as the keeper reads them: in the
// pages' units, missing keys as missing, lines beyond the board's apart.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "lang/catalogue.h"
#include "settings/settings_diff.h"
#include "settings/shown_setting.h"

namespace {

vmx::SettingsRecords Board() {
  vmx::SettingsRecords r;
  r.config.Mode = vmx::ModeField(vmx::BoardMode::Auto);
  r.config.FanLow = 77;
  r.expert.TempWaterLow = 250;
  r.schedule.resize(3);
  r.schedule[1].Hour = 8;
  r.schedule[1].Minute = 30;
  r.schedule[1].Alt = -150;
  return r;
}

struct Line {
  std::string section, key, a, b;
  std::optional<int64_t> aRaw, bRaw;
  bool beyond = false;
};

TEST(SettingsDiff, ShowsEachChangedKeyInThePagesUnits) {
  const struct {
    const char* what;
    std::function<void(vmx::SettingsRecords&)> change;
    std::vector<Line> lines;
  } cases[] = {
      {"equal sets", [](auto&) {}, {}},
      {"fan level", [](auto& r) { r.config.FanLow = 100; },
       {{"Config", "FanLow", "30.2 %", "39.2 %", 77, 100}}},
      {"schedule time", [](auto& r) { r.schedule[1].Hour = 9; },
       {{"1", "Hour", "08:30", "09:30", 8, 9}}},
      {"sun altitude", [](auto& r) { r.schedule[1].Alt = 200; },
       {{"1", "Alt", "-0.86°", "1.15°", -150, 200}}},  // as the grid shows them
      {"channel level", [](auto& r) { r.schedule[0].Color16[2] = 2048; },
       {{"0", "Color162", "0 %", "50 %", 0, 2048}}},
      {"mode name", [](auto& r) { r.config.Mode = vmx::ModeField(vmx::BoardMode::Geo); },
       {{"Config", "Mode", "Auto", "Geo", 1, 2}}},
      {"colour name", [](auto& r) { r.config.ColorName[0] = 3; },
       {{"Names", "ColorName0", "Unnamed", "Green", 0, 3}}},
      {"temperature", [](auto& r) { r.expert.TempWaterLow = 265; },
       {{"Config", "TempWaterLow", "25.0 °C", "26.5 °C", 250, 265}}},
      {"a line the board lacks", [](auto& r) { r.schedule.resize(4); },
       {{"3", "Hour", "(missing)", "00:00", std::nullopt, 0, true}}},
  };
  for (const auto& c : cases) {
    vmx::SettingsRecords other = Board();
    c.change(other);
    vmx::DiffOptions options;
    options.rowCount = 3;
    const vmx::SettingsDiff diff =
        vmx::DiffSettings(vmx::ValuesOfRecords(Board()), vmx::ValuesOfRecords(other), options);
    EXPECT_EQ(diff.Equal(), c.lines.empty()) << c.what;
    std::vector<vmx::SettingsDifference> all = diff.differences;
    for (const auto& d : diff.beyondRows) all.push_back(d);
    // A new line differs in every key; the first one says enough here.
    if (!c.lines.empty() && c.lines[0].beyond) {
      EXPECT_TRUE(diff.differences.empty()) << c.what;
      all.resize(std::min<size_t>(all.size(), 1));
    }
    ASSERT_EQ(all.size(), c.lines.size()) << c.what;
    for (size_t i = 0; i < all.size(); ++i) {
      const Line& want = c.lines[i];
      EXPECT_EQ(all[i].section, want.section) << c.what;
      EXPECT_EQ(all[i].key, want.key) << c.what;
      EXPECT_EQ(all[i].aShown, want.a) << c.what;
      EXPECT_EQ(all[i].bShown, want.b) << c.what;
      EXPECT_EQ(all[i].a, want.aRaw) << c.what;
      EXPECT_EQ(all[i].b, want.bRaw) << c.what;
    }
  }
}

TEST(SettingsDiff, AKeyAFileLacksIsMissingNotZero) {
  vmx::SettingsRecords board = Board();
  board.config.FanHigh = 0;
  const vmx::IniDocument file = vmx::IniDocument::Parse(
      "[Config]\nMode=1\nFlag=4\nFanLow=77\nTempWaterLow=250\n[0]\nHour=0\n");
  const vmx::SettingsDiff diff =
      vmx::DiffSettings(vmx::ValuesOfFile(file), vmx::ValuesOfRecords(board), {});
  const auto& d = diff.differences;
  const auto fanHigh = std::find_if(d.begin(), d.end(), [](auto& x) { return x.key == "FanHigh"; });
  ASSERT_NE(fanHigh, d.end());
  EXPECT_EQ(fanHigh->a, std::nullopt);
  EXPECT_EQ(fanHigh->aShown, "(missing)");
  EXPECT_EQ(fanHigh->bShown, "0 %");
  EXPECT_EQ(fanHigh->caption, "Fast level (%)");
  // The file's Fahrenheit flag shows both temperatures in °F.
  const auto flag = std::find_if(d.begin(), d.end(), [](auto& x) { return x.key == "Flag"; });
  ASSERT_NE(flag, d.end());
  EXPECT_EQ(std::count_if(d.begin(), d.end(), [](auto& x) { return x.key == "TempWaterLow"; }), 0);
  // Line 0 in the file has only Hour: the rest of it is missing there.
  EXPECT_EQ(std::count_if(d.begin(), d.end(), [](auto& x) { return x.section == "0"; }), 16);
  // Lines 1 and 2 the file lacks entirely.
  EXPECT_EQ(std::count_if(d.begin(), d.end(), [](auto& x) { return x.section == "2"; }), 17);
}

}  // namespace

namespace {

struct Shown {
  const char* section;
  const char* key;
  int64_t value;
  const char* caption;
  const char* text;
};

void ExpectShown(const std::vector<Shown>& cases, const vmx::ShowContext& context) {
  for (const Shown& c : cases) {
    const vmx::ShownSetting s = vmx::ShowSectionValue(c.section, c.key, c.value, context);
    EXPECT_EQ(s.caption, c.caption) << c.section << "." << c.key;
    EXPECT_EQ(s.text, c.text) << c.section << "." << c.key;
  }
}

TEST(ShownSetting, ReadsAsTheWindowInTheUsersLanguage) {
  vmx::ShowContext context;
  context.configFlag = 0x04;  // Fahrenheit
  context.colorNames[3] = 2;
  ExpectShown({{"Config", "FanLow", 77, "Slow level (%)", "30.2 %"},
               {"Config", "TempWaterLow", 250, "Fan hysteresis: off below / on above", "77.0 °F"},
               {"Config", "TempOffset", -5, "Calibration offset for PelorixTemp (Temperature sensor; °C)", "-0.5 °C"},
               {"Config", "Lat", 525, "Latitude", "52.5°"},
               {"Config", "Language", 1, "Language used on the display", "German"},
               {"Config", "Mode", 2, "Mode", "Geo"},
               {"Weather", "StormD", 0, "Average duration in minutes", "-"},
               {"Weather", "Balance3", 50, "White balance: D: Red", "50 %"},
               {"Names", "ColorName11", 3, "Label for channel L", "Green"},
               {"TimeZone", "Bias", 60, "Offset from UTC (minutes)", "60"},
               {"RC5", "Up", 4660, "RC5.Up", "4660"}},
              context);
  // The same in German, with the German decimal separator.
  const auto english = vmx::CurrentTable();
  vmx::SetCurrentTable(
      std::make_shared<vmx::LanguageTable>(vmx::LanguageTable::Parse(vmx::BuiltInTable(vmx::Language::German))));
  context.separator = ",";
  context.configFlag = 0;
  ExpectShown({{"Config", "FanLow", 77, "Langsam (%)", "30,2 %"},
               {"Config", "Language", 0, "Sprache auf dem Display", "Englisch"},
               {"Names", "ColorName0", 0, "Beschriftung Kanal A", "Unbenannt"}},
              context);
  vmx::SetCurrentTable(english);
}

}  // namespace
