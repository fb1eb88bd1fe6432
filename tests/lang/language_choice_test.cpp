#include "lang/language_choice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "lang/catalogue.h"
#include "tests/test_system.h"

namespace vmx {
namespace {

TEST(ChooseLanguage, AutomaticFollowsTheLocaleLanguage) {
  EXPECT_EQ(ChooseLanguage(std::nullopt, "de_DE.UTF-8"), Language::German);
  EXPECT_EQ(ChooseLanguage(std::nullopt, "de_AT@euro"), Language::German);
  EXPECT_EQ(ChooseLanguage(std::nullopt, "de"), Language::German);
  EXPECT_EQ(ChooseLanguage(std::nullopt, "DE-ch"), Language::German);
  EXPECT_EQ(ChooseLanguage(std::nullopt, "en_US.UTF-8"), Language::English);
  EXPECT_EQ(ChooseLanguage(std::nullopt, "dsb_DE.UTF-8"), Language::English);  // Lower Sorbian, spoken in Germany
  EXPECT_EQ(ChooseLanguage(std::nullopt, "C"), Language::English);
  EXPECT_EQ(ChooseLanguage(std::nullopt, ""), Language::English);
}

TEST(ChooseLanguage, OnlyGermanMeansGerman) {
  EXPECT_EQ(ChooseLanguage(Language::English, "de_DE"), Language::English);
  EXPECT_EQ(ChooseLanguage(Language::German, "en_GB"), Language::German);
  EXPECT_EQ(ChooseLanguage(static_cast<Language>(2), "de_DE"), Language::English);
  EXPECT_EQ(ChooseLanguage(static_cast<Language>(0xF9), "de_DE"), Language::English);
}

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_[Index(name)] = value ? std::optional<std::string>(value) : std::nullopt;
    }
  }
  void TearDown() override {
    for (const char* name : kNames) {
      const auto& value = saved_[Index(name)];
      if (value)
        vmx::testing::SetEnvironment(name, value->c_str());
      else
        vmx::testing::UnsetEnvironment(name);
    }
  }
  static void Set(const char* lcAll, const char* lcMessages, const char* lang) {
    vmx::testing::SetEnvironment("LC_ALL", lcAll);
    vmx::testing::SetEnvironment("LC_MESSAGES", lcMessages);
    vmx::testing::SetEnvironment("LANG", lang);
  }

 private:
  static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  static size_t Index(const char* name) {
    for (size_t i = 0; i < 3; ++i)
      if (std::string_view(kNames[i]) == name) return i;
    return 0;
  }
  std::optional<std::string> saved_[3];
};

TEST_F(LocaleEnvironment, FirstNonEmptyVariableCounts) {
  Set("", "de_DE.UTF-8", "en_US.UTF-8");
  EXPECT_EQ(UserLocaleName(), "de_DE.UTF-8");
  Set("C.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8");
  EXPECT_EQ(UserLocaleName(), "C.UTF-8");
  Set("", "", "");
  EXPECT_EQ(UserLocaleName(), "");
}

TEST_F(LocaleEnvironment, AutomaticLoadsTheGermanTableOnAGermanSystem) {
  Set("", "", "de_CH.UTF-8");
  EXPECT_EQ(LoadLanguage(std::nullopt), Language::German);
  EXPECT_EQ(LangText("Started"), "gestartet");
  EXPECT_EQ(LangText("ListingSerialPorts"), "Hole Liste der COM-Ports...");

  Set("", "", "fr_FR.UTF-8");
  EXPECT_EQ(LoadLanguage(std::nullopt), Language::English);
  EXPECT_EQ(LangText("Started"), "started");
}

TEST_F(LocaleEnvironment, ExplicitChoiceOverridesTheLocale) {
  Set("de_DE.UTF-8", "", "");
  EXPECT_EQ(LoadLanguage(Language::English), Language::English);
  EXPECT_EQ(LangText("German"), "German");
  Set("en_US.UTF-8", "", "");
  EXPECT_EQ(LoadLanguage(Language::German), Language::German);
  EXPECT_EQ(LangText("German"), "Deutsch");
}

}  // namespace
}  // namespace vmx
