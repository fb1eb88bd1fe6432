#include "lang/form_texts.h"

#include <gtest/gtest.h>

namespace vmx {
namespace {

TEST(FormTexts, CaptionsAndHintsByControl) {
  const auto table = LanguageTable::Parse(
      "[Messages]\nedtLat.Caption=not a window text\n"
      "[FRMLANTIX]\n"
      "edtLat.Caption=Latitude\n"
      "edtLat.Hint=positive: north\\nnegative: south\n"
      "edtLon.Hint.Caption=odd but a caption\n"
      "Title=neither\n"
      ".Caption=no control\n");
  const auto texts = FormTexts(table);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].control, "edtLat");
  EXPECT_FALSE(texts[0].hint);
  EXPECT_EQ(texts[0].text, "Latitude");
  EXPECT_EQ(texts[1].control, "edtLat");
  EXPECT_TRUE(texts[1].hint);
  EXPECT_EQ(texts[1].text, "positive: north\r\nnegative: south");
  EXPECT_EQ(texts[2].control, "edtLon.Hint");
  EXPECT_FALSE(texts[2].hint);
}

TEST(FormTexts, BuiltInTableCoversTheWindow) {
  const auto texts = FormTexts(LanguageTable::Parse(BuiltInTable(Language::English)));
  ASSERT_GE(texts.size(), 156u);
  size_t hints = 0;
  for (size_t i = 0; i < 156; ++i) hints += texts[i].hint ? 1 : 0;
  EXPECT_EQ(hints, 14u);
  EXPECT_EQ(texts[0].control, "mem");
  EXPECT_TRUE(texts[0].text.ends_with("other than the described one.\r\n\r\n"));
  EXPECT_EQ(texts[0].text.find("\\n"), std::string::npos);
}

TEST(FormTexts, NoSectionNoTexts) {
  EXPECT_TRUE(FormTexts(LanguageTable::Parse("[Messages]\nA=b\n")).empty());
}

}  // namespace
}  // namespace vmx
