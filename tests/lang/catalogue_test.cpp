#include "lang/catalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace vmx {
namespace {

void UseTable(std::string_view text) {
  SetCurrentTable(std::make_shared<const LanguageTable>(LanguageTable::Parse(text)));
}

void UseBuiltIn(Language language) {
  UseTable(BuiltInTable(language));
}

TEST(LanguageTableParse, SectionsKeysAndValues) {
  const auto table = LanguageTable::Parse(
      "\xEF\xBB\xBF[Messages]\r\n"
      "\r\n"
      "  Plain = a value \r\n"
      "Equals=x=y==z\n"
      "no equals sign here\n"
      "Empty=\n"
      "[ Other ]\n"
      "Plain=other\n");
  ASSERT_EQ(table.Sections().size(), 2u);
  EXPECT_EQ(table.Sections()[0].name, "Messages");
  EXPECT_EQ(table.Sections()[1].name, "Other");
  // The value is everything after the first "=", its own blanks included.
  ASSERT_NE(table.Find("Messages", "Plain"), nullptr);
  EXPECT_EQ(*table.Find("Messages", "Plain"), " a value ");
  EXPECT_EQ(*table.Find("Messages", "Equals"), "x=y==z");
  EXPECT_EQ(*table.Find("Messages", "Empty"), "");
  EXPECT_EQ(table.Sections()[0].entries.size(), 3u);
  EXPECT_EQ(*table.Find("Other", "Plain"), "other");
}

TEST(LanguageTableParse, NamesMatchWithoutRegardToCase) {
  const auto table = LanguageTable::Parse("[Messages]\nConnectingTo=hello\n");
  ASSERT_NE(table.Find("MESSAGES", "connectingto"), nullptr);
  EXPECT_EQ(*table.Find("messages", "CONNECTINGTO"), "hello");
  EXPECT_EQ(table.Find("Messages", "ConnectingT"), nullptr);
  EXPECT_EQ(table.Find("frmLantix", "ConnectingTo"), nullptr);
}

TEST(LanguageTableParse, EntriesBeforeAnySectionAreDropped) {
  const auto table = LanguageTable::Parse("Stray=1\n[Messages]\nKept=2");
  EXPECT_EQ(table.Find("Messages", "Stray"), nullptr);
  ASSERT_NE(table.Find("Messages", "Kept"), nullptr);
  EXPECT_EQ(*table.Find("Messages", "Kept"), "2");
}

TEST(LanguageTableParse, ASectionNamedAgainKeepsEveryEntryReachable) {
  const auto table = LanguageTable::Parse(
      "[Messages]\nStarted=started\n[frmLantix]\nedtLat.Caption=Lat\n[MESSAGES]\nBytes=bytes\n");
  ASSERT_EQ(table.Sections().size(), 2u);
  ASSERT_NE(table.Find("Messages", "Bytes"), nullptr);
  EXPECT_EQ(*table.Find("Messages", "Bytes"), "bytes");
  EXPECT_EQ(*table.Find("Messages", "Started"), "started");
  EXPECT_EQ(table.Find("frmLantix", "Bytes"), nullptr);
}

TEST(LangText, MissingKeyGivesTheKey) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(LangText("NoSuchKeyAnywhere"), "NoSuchKeyAnywhere");
  // A missing key is still formatted like any text.
  EXPECT_EQ(LangFormat("Missing %s", {"COM5"}), "Missing COM5");
}

TEST(LangText, EnglishTextsComeBackExactly) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(LangText("ListingSerialPorts"), "Listing seral ports...");
  EXPECT_EQ(LangText("SystemSuspending"), "System is  standby");
  EXPECT_EQ(LangText("listingserialports"), "Listing seral ports...");
}

TEST(LangText, PlaceholderWithoutArgumentStays) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(LangText("ConnectingTo"), "Connecting to %s...");
  EXPECT_EQ(LangText("WindowsError"), "Bluetooth error %s: \"%s\".");
}

TEST(LangFormat, FillsPlaceholdersInOrder) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(LangFormat("ConnectingTo", {"COM5"}), "Connecting to COM5...");
  EXPECT_EQ(LangFormat("ConnectedToOn", {"Velmarinex 2.x.4", "COM5"}),
            "Connected to Velmarinex 2.x.4 on COM5");
  EXPECT_EQ(LangFormat("WindowsError", {"org.bluez.Error.NotReady", "Resource Not Ready"}),
            "Bluetooth error org.bluez.Error.NotReady: \"Resource Not Ready\".");
  UseBuiltIn(Language::German);
  EXPECT_EQ(LangFormat("ConnectingTo", {"COM5"}), "Verbinde mit COM5...");
}

TEST(LangFormat, LineBreakEscapesBecomeCrLf) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(LangText("DiscoveryCompleted"),
            "Scan finished. If the device could not be found, try again or use\r\n"
            "the desktop's Bluetooth settings or bluetoothctl for manual detection. The pairing "
            "code is always 7391");
  UseTable("[Messages]\nTwo=a\\nb\\n\\n%s\\n\n");
  EXPECT_EQ(LangFormat("Two", {"c"}), "a\r\nb\r\n\r\nc\r\n");
}

TEST(LangFormat, FailureGivesTheUnformattedText) {
  UseTable(
      "[Messages]\n"
      "TwoSlots=%s and %s\\n\n"
      "Decimal=%d items\n"
      "Trailing=50%\n"
      "Percent=100%% of %s\n");
  EXPECT_EQ(LangFormat("TwoSlots", {"one"}), "%s and %s\r\n");
  EXPECT_EQ(LangFormat("Decimal", {"3"}), "%d items");
  EXPECT_EQ(LangFormat("Trailing", {"x"}), "50%");
  EXPECT_EQ(LangFormat("Percent", {"all"}), "100% of all");
  // Arguments beyond the placeholders are ignored, not an error.
  EXPECT_EQ(LangFormat("TwoSlots", {"a", "b", "c"}), "a and b\r\n");
}

TEST(LangFormat, ArgumentsAreNotScannedAgain) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(LangFormat("ConnectingTo", {"%s%d\\n"}), "Connecting to %s%d\\n...");
}

TEST(FormatText, FallsBackToThePattern) {
  EXPECT_EQ(FormatText("Channels %s", {"G-L"}), "Channels G-L");
  EXPECT_EQ(FormatText("Channels %s", {}), "Channels %s");
  EXPECT_EQ(FormatText("%x", {"a"}), "%x");
}

TEST(LangFormat, ManyThreadsReadTheSameTable) {
  UseBuiltIn(Language::English);
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &wrong] {
      for (int i = 0; i < 2000; ++i)
        if (LangFormat("ConnectedTo", {"COM7"}) != "Connected to COM7") ++wrong[t];
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace vmx
