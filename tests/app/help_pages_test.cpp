#include "app/help_pages.h"

#include <gtest/gtest.h>

namespace vmx {
namespace {

TEST(HelpPages, LanguageChoosesThePagePath) {
  EXPECT_TRUE(HelpPageUrl("faq", false).ends_with("doku.php?id=en:velmarinex2x:faq"));
  EXPECT_TRUE(HelpPageUrl("hardware", true).ends_with("doku.php?id=velmarinex2x:hardware"));
  EXPECT_TRUE(HelpPageUrl("software", false).starts_with("https://"));
}

}  // namespace
}  // namespace vmx
