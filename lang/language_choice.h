// Which built-in table the program speaks. Chosen once at start-up, from the
// command line or, when that says nothing, from the user's locale.
#pragma once

#include <string>
#include <string_view>

namespace vmx {

inline constexpr int kLanguageAuto = -1;
inline constexpr int kLanguageEnglish = 0;
inline constexpr int kLanguageGerman = 1;

// The user's locale name as the C library would take it for messages: the first
// non-empty of LC_ALL, LC_MESSAGES and LANG; empty when none is set.
std::string UserLocaleName();

// True when the language part of a locale name ("de_DE.UTF-8", "de@euro", "de")
// is German.
bool LocaleIsGerman(std::string_view localeName);

// 0 English or 1 German. Automatic (-1) follows the locale; any value other
// than German counts as English.
int ChooseLanguage(int requested, std::string_view localeName);

// Chooses with the user's locale, makes that built-in table the current one and
// returns the language taken (0 or 1).
int LoadLanguage(int requested);

}  // namespace vmx
