// The two built-in tables: complete, parallel, and with the texts other parts
// of the program compare against or show verbatim.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "lang/catalogue.h"

namespace vmx {
namespace {

const LanguageTable& English() {
  static const LanguageTable table = LanguageTable::Parse(BuiltInTable(Language::English));
  return table;
}

const LanguageTable& German() {
  static const LanguageTable table = LanguageTable::Parse(BuiltInTable(Language::German));
  return table;
}

std::vector<std::string> Keys(const LanguageTable& table, const char* section) {
  std::vector<std::string> keys;
  if (const auto* s = table.FindSection(section))
    for (const auto& e : s->entries) keys.push_back(e.key);
  return keys;
}

std::string Value(const LanguageTable& table, const char* section, const char* key) {
  const std::string* value = table.Find(section, key);
  return value ? *value : "<missing " + std::string(key) + ">";
}

std::vector<std::string> Placeholders(const std::string& value) {
  static const std::regex placeholder("%[A-Za-z%]");
  std::vector<std::string> found;
  for (std::sregex_iterator it(value.begin(), value.end(), placeholder), end; it != end; ++it)
    found.push_back(it->str());
  return found;
}

size_t LineBreaks(const std::string& value) {
  size_t count = 0;
  for (size_t at = value.find("\\n"); at != std::string::npos; at = value.find("\\n", at + 2))
    ++count;
  return count;
}

TEST(LanguageTables, HaveTheTwoSectionsInOrder) {
  for (const LanguageTable* table : {&English(), &German()}) {
    ASSERT_EQ(table->Sections().size(), 2u);
    EXPECT_EQ(table->Sections()[0].name, "Messages");
    EXPECT_EQ(table->Sections()[1].name, "frmLantix");
  }
}

TEST(LanguageTables, MessageKeysInTableOrder) {
  // The board's own 127 keys come first; the program's later texts follow them.
  const std::vector<std::string> keys = Keys(English(), "Messages");
  ASSERT_GE(keys.size(), 127u);
  EXPECT_EQ(keys.front(), "Started");
  EXPECT_EQ(keys[8], "FlashDlgText");
  EXPECT_EQ(keys[76], "ConnectingTo");
  EXPECT_EQ(keys[92], "ParsingError");
  EXPECT_EQ(keys[109], "English");
  EXPECT_EQ(keys[126], "ColorDeepRed");
  EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size());
}

TEST(LanguageTables, WindowKeysInTableOrder) {
  const std::vector<std::string> all = Keys(English(), "frmLantix");
  ASSERT_GE(all.size(), 156u);
  const std::vector<std::string> keys(all.begin(), all.begin() + 156);
  EXPECT_EQ(keys.front(), "mem.Caption");
  EXPECT_EQ(keys[141], "edtChartScale.Caption");
  EXPECT_EQ(keys[142], "edtLat.Hint");
  EXPECT_EQ(keys.back(), "edtChartScale.Hint");
  size_t captions = 0, hints = 0;
  for (const auto& key : keys) {
    if (key.ends_with(".Caption")) ++captions;
    if (key.ends_with(".Hint")) ++hints;
  }
  EXPECT_EQ(captions, 142u);
  EXPECT_EQ(hints, 14u);
  EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
}

TEST(LanguageTables, GermanHasTheSameKeysPlaceholdersAndLineBreaks) {
  for (const char* section : {"Messages", "frmLantix"}) {
    const auto keys = Keys(English(), section);
    ASSERT_EQ(Keys(German(), section), keys) << section;
    for (const auto& key : keys) {
      const std::string en = Value(English(), section, key.c_str());
      const std::string de = Value(German(), section, key.c_str());
      EXPECT_EQ(Placeholders(de), Placeholders(en)) << key;
      EXPECT_EQ(LineBreaks(de), LineBreaks(en)) << key;
      EXPECT_FALSE(en.empty()) << key;
      EXPECT_FALSE(de.empty()) << key;
    }
  }
}

TEST(LanguageTables, GermanIsTranslated) {
  // Words that German shares with English; every other value must differ.
  const std::set<std::string> same = {"LetterHeater",
                                      "LetterTimer",
                                      "Display",
                                      "Phase",
                                      "ModeAuto",
                                      "ModeGeo",
                                      "ColorUV",
                                      "ColorOrange",
                                      "tsGeo.Caption",
                                      "rbtCelsius.Caption",
                                      "rbtFahrenheit.Caption",
                                      "mnuDebug.Caption",
                                      "edtTWIBitrate.Hint"};
  for (const char* section : {"Messages", "frmLantix"}) {
    for (const auto& key : Keys(English(), section)) {
      if (same.contains(key)) continue;
      EXPECT_NE(Value(German(), section, key.c_str()), Value(English(), section, key.c_str()))
          << key;
    }
  }
}

TEST(LanguageTables, QuotedEnglishTextsKeepTheirSpelling) {
  EXPECT_EQ(Value(English(), "Messages", "ListingSerialPorts"), "Listing seral ports...");
  EXPECT_EQ(Value(English(), "Messages", "SystemSuspending"), "System is  standby");
  EXPECT_EQ(Value(English(), "Messages", "UninstallSuccessful"), "Uninstall successfull.");
  EXPECT_EQ(Value(English(), "Messages", "RemovalCompleted"),
            "Scan finished. If the device could not be uninstalled, try again or use\\n"
            "the desktop's Bluetooth settings or bluetoothctl to uninstall manually. The device "
            "needs to be disconnected.");
  EXPECT_EQ(Value(English(), "Messages", "Altitude"), "Alt");
  EXPECT_EQ(Value(English(), "Messages", "Storms"), "Thunderstorms");
  EXPECT_EQ(Value(English(), "Messages", "ColorWhite"), "PureWhite");
  EXPECT_EQ(Value(English(), "frmLantix", "btnCloud.Hint"),
            "Triggers or stops a cloud immidiately (only in the modes \"Auto\" and \"Geo\")");
  EXPECT_EQ(Value(English(), "frmLantix", "mnuLoadReef.Caption"), "Load reef bundle defaults");
  EXPECT_EQ(Value(English(), "frmLantix", "edtLCDBLNight.Caption"),
            "When \"OFF\" (see \"Schedule\") (%)");
}

// The time-zone rules come from the computer the program runs on, whatever its system.
TEST(LanguageTables, TheTimeZoneButtonNamesThisComputer) {
  EXPECT_EQ(Value(English(), "frmLantix", "btnApplyTZI.Caption"), "From this computer");
  EXPECT_EQ(Value(German(), "frmLantix", "btnApplyTZI.Caption"), "Von diesem Computer");
}

TEST(LanguageTables, StatusLettersDifferPerLanguage) {
  const char* keys[] = {"LetterCloud", "LetterStorm", "LetterCooler", "LetterHeater",
                        "LetterTimer"};
  std::string en, de;
  for (const char* key : keys) {
    en += Value(English(), "Messages", key);
    de += Value(German(), "Messages", key);
  }
  EXPECT_EQ(en, "OSCHT");
  EXPECT_EQ(de, "WGKHT");
}

TEST(LanguageTables, OnlyEnglishMenusCarryAccelerators) {
  const char* menus[] = {"mnuConnection.Caption", "mnuFile.Caption", "mnuOptions.Caption",
                         "mnuHelp.Caption"};
  std::string en, de;
  for (const char* key : menus) {
    en += Value(English(), "frmLantix", key) + "|";
    de += Value(German(), "frmLantix", key) + "|";
  }
  EXPECT_EQ(en, "&Connection|&File|&Options|&Help|");
  EXPECT_EQ(de, "Verbindung|Datei|Optionen|Hilfe|");
  for (const auto& entry : German().FindSection("frmLantix")->entries)
    EXPECT_EQ(entry.value.find('&'), std::string::npos) << entry.key;
}

TEST(LanguageTables, QuotedGermanTexts) {
  EXPECT_EQ(Value(German(), "Messages", "ListingSerialPorts"), "Hole Liste der COM-Ports...");
  EXPECT_EQ(Value(German(), "Messages", "ColorWhite"), "Reinwei\xC3\x9F");
  EXPECT_EQ(Value(German(), "Messages", "ColorPurple"), "Pink");
  EXPECT_EQ(Value(German(), "Messages", "ModeFlash"), "Blitzer");
  EXPECT_EQ(Value(German(), "Messages", "ON"), "EIN");
  EXPECT_EQ(Value(German(), "frmLantix", "tsChannels.Caption"), "Kan\xC3\xA4le %s");
  EXPECT_EQ(Value(German(), "frmLantix", "lblName0.Caption"), "Beschriftung Kanal %s");
  EXPECT_EQ(Value(German(), "frmLantix", "btnOff0.Caption"), "AUS");
}

TEST(LanguageTables, WelcomeTextEndsWithAnEmptyLine) {
  const std::string welcome = Value(English(), "frmLantix", "mem.Caption");
  EXPECT_TRUE(welcome.starts_with(
      "IMPORTANT: BEFORE POWERON PLEASE MAKE SURE ALL OUTPUTS ARE WIRED SEPARATELY AND\\n"
      "NO WIRING MISTAKE HAS BEEN MADE!\\n\\n"));
  EXPECT_TRUE(welcome.ends_with(
      "\\nremove the jumper! Please do not put the jumper into any position other than the "
      "described one.\\n\\n"));
  EXPECT_EQ(LineBreaks(welcome), 10u);
}

}  // namespace
}  // namespace vmx
