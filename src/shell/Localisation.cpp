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

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string DecodeProfileFile(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return ToUtf8(bytes.substr(2), kCpUtf16Le);
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
    return AnsiToUtf8(bytes);
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
    const std::string content = DecodeProfileFile(bytes);
    std::string_view text = content;
    bool inSection = false;
    bool sectionSeen = false;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            // Only the first section of that name is searched.
            if (inSection) return false;
            std::size_t close = line.find(']');
            std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.size() : close - 1));
            inSection = !sectionSeen && EqualNoCase(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !EqualNoCase(Trim(line.substr(0, equals)), key)) continue;
        std::string_view found = Trim(line.substr(equals + 1));
        if (found.size() >= 2 && (found.front() == '"' || found.front() == '\'') && found.back() == found.front()) {
            found = found.substr(1, found.size() - 2);
        }
        *value = Utf8Left(found, kMaxTextChars);
        return true;
    }
    return false;
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
