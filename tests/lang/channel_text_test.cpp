#include "lang/channel_text.h"

#include <gtest/gtest.h>

#include <memory>

#include "lang/catalogue.h"

namespace vmx {
namespace {

void UseBuiltIn(Language language) {
  SetCurrentTable(
      std::make_shared<const LanguageTable>(LanguageTable::Parse(BuiltInTable(language))));
}

TEST(ChannelLetter, AToL) {
  EXPECT_EQ(ChannelLetter(0), "A");
  EXPECT_EQ(ChannelLetter(3), "D");
  EXPECT_EQ(ChannelLetter(11), "L");
  EXPECT_EQ(ChannelLetter(12), "");
  EXPECT_EQ(ChannelLetter(-1), "");
}

TEST(ColorText, NamesInTheCurrentLanguage) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(ColorText(0), "Unnamed");
  EXPECT_EQ(ColorText(2), "Red");
  EXPECT_EQ(ColorText(10), "Purple");
  EXPECT_EQ(ColorText(15), "Deep red");
  UseBuiltIn(Language::German);
  EXPECT_EQ(ColorText(2), "Rot");
  EXPECT_EQ(ColorText(12), "T\xC3\xBCrkis");
}

TEST(ColorText, UnknownIndexIsUnnamed) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(ColorText(16), "Unnamed");
  EXPECT_EQ(ColorText(20), "Unnamed");
  EXPECT_EQ(ColorText(-1), "Unnamed");
  UseBuiltIn(Language::German);
  EXPECT_EQ(ColorText(255), "Unbenannt");
}

TEST(ChannelCaption, LetterColonColour) {
  UseBuiltIn(Language::English);
  EXPECT_EQ(ChannelCaption(0, 2), "A: Red");
  EXPECT_EQ(ChannelCaption(5, 20), "F: Unnamed");
  UseBuiltIn(Language::German);
  EXPECT_EQ(ChannelCaption(1, 2), "B: Rot");
}

TEST(ChannelTemplates, GermanLabelsAndPageCaptions) {
  const auto german = LanguageTable::Parse(BuiltInTable(Language::German));
  const std::string* label = german.Find("frmLantix", "lblName0.Caption");
  const std::string* page = german.Find("frmLantix", "tsChannels.Caption");
  ASSERT_TRUE(label && page);
  EXPECT_EQ(FormatText(*label, {ChannelLetter(3)}), "Beschriftung Kanal D");
  EXPECT_EQ(FormatText(*page, {"G-L"}), "Kan\xC3\xA4le G-L");
  const auto english = LanguageTable::Parse(BuiltInTable(Language::English));
  EXPECT_EQ(FormatText(*english.Find("frmLantix", "tsChannels.Caption"), {"A-F"}), "Channels A-F");
  EXPECT_EQ(FormatText(*english.Find("frmLantix", "lblName0.Caption"), {ChannelLetter(11)}),
            "Label for channel L");
}

}  // namespace
}  // namespace vmx
