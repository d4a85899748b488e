#pragma once
// What Windows would call the system's ANSI code page and the user's UI language, taken from the POSIX
// locale variables. The *ForLocaleName functions hold the mapping; the others read the environment.

#include <string>
#include <string_view>

namespace quorvel {

// Locale name as in LANG ("zh_CN.UTF-8", "de_DE@euro", "C"): the code page for ANSI text. 65001 (UTF-8)
// for a UTF-8 locale, as on Windows set to use UTF-8; otherwise the one Windows would use for the language,
// e.g. 936 for zh_CN, 950 for zh_TW, 932 for ja, 1251 for ru, 1252 for most others.
int AnsiCodePageForLocaleName(std::string_view localeName);
// Locale name -> Windows language identifier (LCID), e.g. 1033 en_US, 2052 zh_CN, 1028 zh_TW, 1041 ja.
// Unknown names, "C" and "POSIX" give 1033.
int LcidForLocaleName(std::string_view localeName);

// The locale that decides the character set: LC_ALL, then LC_CTYPE, then LANG (first non-empty).
std::string CharacterLocaleName();
// The locale that decides the language of messages: LC_ALL, then LC_MESSAGES, then LANG.
std::string MessageLocaleName();

// AnsiCodePageForLocaleName(CharacterLocaleName()).
int AnsiCodePageFromLocale();
// LcidForLocaleName(MessageLocaleName()).
int UserUiLanguage();

}  // namespace quorvel
