// Which built-in table the program speaks. Chosen once at start-up, from the
// command line or, when that says nothing, from the user's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lang/catalogue.h"

namespace vmx {


// The user's locale name as the C library would take it for messages: the first
// non-empty of LC_ALL, LC_MESSAGES and LANG; empty when none is set.
std::string UserLocaleName();

// True when the language part of a locale name ("de_DE.UTF-8", "de@euro", "de")
// is German.
bool LocaleIsGerman(std::string_view localeName);

// The language asked for; without one, the locale's. Any value other than
// German counts as English.
Language ChooseLanguage(std::optional<Language> requested, std::string_view localeName);

// Chooses with the user's locale, makes that built-in table the current one and
// returns the language taken.
Language LoadLanguage(std::optional<Language> requested);

}  // namespace vmx
