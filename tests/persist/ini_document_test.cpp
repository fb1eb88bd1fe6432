// The INI text: read in any usual layout, written back with everything kept.
#include "persist/ini_document.h"

#include <gtest/gtest.h>

namespace vmx {
namespace {

TEST(IniDocument, ReadsAnyUsualLayout) {
  const IniDocument doc = IniDocument::Parse(
      "\xEF\xBB\xBF; a comment\r\n"
      "stray=1\r\n"
      "[Config]\r\n"
      "  FanLow = 77 \r\n"
      "# another comment\r\n"
      "no equals sign\r\n"
      "=5\r\n"
      "[ weather ] trailing words\r\n"
      "CloudP=5\r\n"
      "Note=a=b\r\n"
      "[Config]\r\n"
      "FanLow=1\r\n"
      "FanHigh=2");
  EXPECT_EQ(doc.Get("config", "fanlow"), "77") << "names without regard to case, values trimmed";
  EXPECT_EQ(doc.Get("Weather", "CloudP"), "5");
  EXPECT_EQ(doc.Get("Weather", "Note"), "a=b");
  EXPECT_FALSE(doc.Get("Config", "FanHigh")) << "a repeated section is not read";
  EXPECT_FALSE(doc.Get("", "stray")) << "lines before the first section belong to none";
  EXPECT_FALSE(doc.Get("Config", "no equals sign"));
  EXPECT_FALSE(doc.Get("Config", "# another comment"));
  EXPECT_TRUE(doc.HasSection("WEATHER"));
  EXPECT_FALSE(doc.HasSection("Names"));
}

TEST(IniDocument, ReadsLineFeedAndCarriageReturnEndings) {
  for (const char* text : {"[A]\nx=1\ny=2\n", "[A]\rx=1\ry=2\r", "[A]\r\nx=1\r\ny=2"}) {
    const IniDocument doc = IniDocument::Parse(text);
    EXPECT_EQ(doc.Get("A", "x"), "1") << text;
    EXPECT_EQ(doc.Get("A", "y"), "2") << text;
  }
}

TEST(IniDocument, ANewDocumentIsWrittenAsWindowsWritesIt) {
  IniDocument doc;
  doc.Set("Config", "Mode", "1");
  doc.Set("Config", "Flag", "0");
  doc.Set("Names", "ColorName0", "7");
  doc.Set("Config", "FanLow", "77");
  EXPECT_EQ(doc.Text(),
            "[Config]\r\nMode=1\r\nFlag=0\r\nFanLow=77\r\n\r\n"
            "[Names]\r\nColorName0=7\r\n\r\n");
}

TEST(IniDocument, WritingKeepsWhatItDoesNotWrite) {
  IniDocument doc = IniDocument::Parse(
      "\xEF\xBB\xBF; exported by hand\n"
      "[Config]\n"
      "fanlow = 3\n"
      "; keep me\n"
      "Custom=5\n"
      "\n"
      "[Extra]\n"
      "Key=Value\n"
      "[5]\n"
      "Hour=8");
  doc.Set("Config", "FanLow", "77");
  doc.Set("Config", "Mode", "1");
  doc.Set("Extra", "More", "2");
  doc.Set("5", "Minute", "30");
  doc.Set("Names", "ColorName0", "7");
  EXPECT_EQ(doc.Text(),
            "\xEF\xBB\xBF; exported by hand\n"
            "[Config]\n"
            "FanLow=77\n"
            "; keep me\n"
            "Custom=5\n"
            "Mode=1\n"
            "\n"
            "[Extra]\n"
            "Key=Value\n"
            "More=2\n"
            "[5]\n"
            "Hour=8\n"
            "Minute=30\n"
            "\n"
            "[Names]\n"
            "ColorName0=7\n"
            "\n");
}

}  // namespace
}  // namespace vmx
