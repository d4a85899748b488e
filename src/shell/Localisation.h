#pragma once
// Texts by number from the language files "language/<LCID>.lan" (INI form, section "LAN"), the
// process-wide current language and the offered-language set. Safe from any thread.

#include <set>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr int kLcidEnglish = 1033;
inline constexpr int kLcidChinese = 2052;
// The longest text a lookup returns, in characters.
inline constexpr std::size_t kMaxTextChars = 259;

int CurrentLanguage();
void SetCurrentLanguage(int lcid);

// The languages config.xml offers, ascending, each once.
std::set<int> OfferedLanguages();
void SetOfferedLanguages(std::set<int> languages);

// Text `id` of `section` in the current language's file under ProgramDir(); empty when the file, section
// or key is missing. The file is read and parsed once and kept until the language or the program
// directory changes, or ReloadTexts.
std::string text(std::string_view section, int id);
// Drops the kept table: the next lookup reads the language file again (setting the language does so too).
void ReloadTexts();
// "<programDir>/language/<lcid>.lan".
std::string LanguageFilePath(const std::string& programDir, int lcid);

// The private-profile reader's rules: section and key matched without regard to case, the first match
// wins; the value trimmed of surrounding blanks, one pair of enclosing quotes removed, cut to 259
// characters. The file is UTF-16 LE with a byte-order mark, UTF-8 with one, or in the ANSI code page.
// Returns false (and *value empty) when the file, section or key is missing.
bool ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string* value);
// The same rules on file bytes already in memory.
bool ProfileStringFromBytes(std::string_view bytes, std::string_view section, std::string_view key,
                            std::string* value);

// The start-up choice as a pure rule. stored: the LCID preference (0 on first start); userUi: the user's
// UI language. Returns the current language; *store receives the value to write back, 0 for none.
int ChooseLanguage(int stored, int userUi, const std::set<int>& offered, int* store);
// Start-up: reads LCID, applies ChooseLanguage with the locale's UI language, writes LCID back when the
// rule says so and sets the current language. Returns it.
int ChooseStartupLanguage();
// The settings page's choice: the language becomes current and is stored in LCID.
void ChangeLanguage(int lcid);

}  // namespace quorvel
