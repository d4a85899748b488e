#include "shell/Localisation.h"

#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/Locale.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/TextConv.h"

namespace quorvel {

namespace {

struct Languages {
    std::mutex mutex;
    int current = 0;
    std::set<int> offered;
};

Languages& Lang() {
    static Languages languages;
    return languages;
}

template <typename Char>
std::basic_string_view<Char> Trim(std::basic_string_view<Char> text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

template <typename Char>
bool EqualNoCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        Char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<Char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<Char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Finds the value of key in the first section of that name: trimmed, one pair of enclosing quotes removed.
// Works on UTF-8 or UTF-16 text alike, since every character that matters to the format is ASCII.
template <typename Char>
bool FindValue(std::basic_string_view<Char> text, std::basic_string_view<Char> section,
               std::basic_string_view<Char> key, std::basic_string_view<Char>* value) {
    bool inSection = false;
    bool sectionSeen = false;
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::basic_string_view<Char> line = Trim(text.substr(0, end));
        text.remove_prefix(end == text.size() ? end : end + 1);
        if (!line.empty() && line.front() == '[') {
            if (inSection) return false;  // only the first section of that name is searched
            std::size_t close = line.find(Char(']'));
            std::size_t length = close == std::basic_string_view<Char>::npos ? line.size() - 1 : close - 1;
            inSection = !sectionSeen && EqualNoCase(Trim(line.substr(1, length)), section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        std::size_t equals = line.find(Char('='));
        if (equals == std::basic_string_view<Char>::npos || !EqualNoCase(Trim(line.substr(0, equals)), key)) {
            continue;
        }
        std::basic_string_view<Char> found = Trim(line.substr(equals + 1));
        if (found.size() >= 2 && (found.front() == '"' || found.front() == '\'') && found.back() == found.front()) {
            found = found.substr(1, found.size() - 2);
        }
        *value = found;
        return true;
    }
    return false;
}

bool IsUtf16Le(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

}  // namespace

int CurrentLanguage() {
    std::lock_guard lock(Lang().mutex);
    return Lang().current;
}

void SetCurrentLanguage(int lcid) {
    std::lock_guard lock(Lang().mutex);
    Lang().current = lcid;
}

std::set<int> OfferedLanguages() {
    std::lock_guard lock(Lang().mutex);
    return Lang().offered;
}

void SetOfferedLanguages(std::set<int> languages) {
    std::lock_guard lock(Lang().mutex);
    Lang().offered = std::move(languages);
}

std::string LanguageFilePath(const std::string& programDir, int lcid) {
    return JoinPath(programDir, "language/") + std::to_string(lcid) + ".lan";
}

std::string text(std::string_view section, int id) {
    std::string value;
    ReadProfileString(LanguageFilePath(ProgramDir(), CurrentLanguage()), section, std::to_string(id), &value);
    return value;
}

bool ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string* value) {
    value->clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return ProfileStringFromBytes(bytes.str(), section, key, value);
}

bool ProfileStringFromBytes(std::string_view bytes, std::string_view section, std::string_view key,
                            std::string* value) {
    value->clear();
    if (IsUtf16Le(bytes)) {
        // Searched as UTF-16; only the value found is converted.
        std::u16string text((bytes.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                            static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        }
        const std::u16string section16 = Utf8ToUtf16(section), key16 = Utf8ToUtf16(key);
        std::u16string_view found;
        if (!FindValue<char16_t>(text, section16, key16, &found)) return false;
        *value = Utf8Left(Utf16ToUtf8(found), kMaxTextChars);
        return true;
    }
    std::string text = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? std::string(bytes.substr(3)) : AnsiToUtf8(bytes);
    std::string_view found;
    if (!FindValue<char>(text, section, key, &found)) return false;
    *value = Utf8Left(found, kMaxTextChars);
    return true;
}

int ChooseLanguage(int stored, int userUi, const std::set<int>& offered, int* store) {
    *store = 0;
    int language = stored;
    if (language == 0) {
        language = userUi;
        *store = offered.count(userUi) != 0 ? userUi : kLcidEnglish;
    }
    if (offered.count(language) != 0) return language;
    *store = kLcidEnglish;
    return kLcidEnglish;
}

int ChooseStartupLanguage() {
    int stored = ReadLCID();
    int store = 0;
    int language = ChooseLanguage(stored, stored == 0 ? UserUiLanguage() : 0, OfferedLanguages(), &store);
    if (store != 0) WriteLCID(store);
    SetCurrentLanguage(language);
    return language;
}

void ChangeLanguage(int lcid) {
    SetCurrentLanguage(lcid);
    WriteLCID(lcid);
}

}  // namespace quorvel
