#include "lang/language_choice.h"

#include <cstdlib>
#include <memory>

#include "lang/catalogue.h"
#include "link/field_table.h"

namespace vmx {

std::string UserLocaleName() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return {};
}

bool LocaleIsGerman(std::string_view localeName) {
  // Language, then optionally territory, codeset and modifier: de_AT.UTF-8@euro.
  // Some systems write the territory after a hyphen.
  const size_t end = localeName.find_first_of("_.@-");
  return EqualsIgnoreCase(localeName.substr(0, end), "de");
}

Language ChooseLanguage(std::optional<Language> requested, std::string_view localeName) {
  if (!requested) requested = LocaleIsGerman(localeName) ? Language::German : Language::English;
  return requested == Language::German ? Language::German : Language::English;
}

Language LoadLanguage(std::optional<Language> requested) {
  const Language language = ChooseLanguage(requested, UserLocaleName());
  SetCurrentTable(
      std::make_shared<const LanguageTable>(LanguageTable::Parse(BuiltInTable(language))));
  return language;
}

}  // namespace vmx
