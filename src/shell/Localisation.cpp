#include "shell/Localisation.h"

#include <fstream>
#include <mutex>
#include <sstream>
#include <unordered_map>

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

bool IsUtf16Le(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// Section and key names are matched without regard to (ASCII) case: they are kept lower-case.
std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The file's text as UTF-8: UTF-16 LE and UTF-8 after their byte-order marks, anything else in the ANSI
// code page. Every character the format itself uses is ASCII, so the lines read alike in any of them.
std::string DecodeProfileText(std::string_view bytes) {
    if (IsUtf16Le(bytes)) {
        std::u16string text((bytes.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                            static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        }
        return Utf16ToUtf8(text);
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
    return AnsiToUtf8(bytes);
}

// section -> key -> value, as the private-profile reader answers: only the first section of a name is
// searched, the first key of a name in it wins, values are trimmed, unquoted and cut to 259 characters.
using ProfileTable = std::unordered_map<std::string, std::unordered_map<std::string, std::string>>;

ProfileTable ParseProfileText(std::string_view bytes) {
    const std::string decoded = DecodeProfileText(bytes);
    std::string_view text = decoded;
    ProfileTable table;
    std::unordered_map<std::string, std::string>* section = nullptr;  // null: outside a section that counts
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == text.size() ? end : end + 1);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::size_t length = close == std::string_view::npos ? line.size() - 1 : close - 1;
            const std::string name = LowerAscii(Trim(line.substr(1, length)));
            section = table.count(name) ? nullptr : &table[name];
            continue;
        }
        if (!section) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        section->emplace(LowerAscii(Trim(line.substr(0, equals))), Utf8Left(value, kMaxTextChars));
    }
    return table;
}

bool LookUp(const ProfileTable& table, std::string_view section, std::string_view key, std::string* value) {
    const auto s = table.find(LowerAscii(section));
    if (s == table.end()) return false;
    const auto k = s->second.find(LowerAscii(key));
    if (k == s->second.end()) return false;
    *value = k->second;
    return true;
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream read;
    read << file.rdbuf();
    *bytes = read.str();
    return true;
}

// The current language's file, parsed once: the re-text pass of a window looks up hundreds of texts.
struct TextCache {
    std::mutex mutex;
    bool loaded = false;
    std::string path;  // the file the table was read from
    ProfileTable table;
};

TextCache& Texts() {
    static TextCache cache;
    return cache;
}

}  // namespace

int CurrentLanguage() {
    std::lock_guard lock(Lang().mutex);
    return Lang().current;
}

void SetCurrentLanguage(int lcid) {
    {
        std::lock_guard lock(Lang().mutex);
        Lang().current = lcid;
    }
    ReloadTexts();
}

void ReloadTexts() {
    std::lock_guard lock(Texts().mutex);
    Texts().loaded = false;
    Texts().table.clear();
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
    const std::string path = LanguageFilePath(ProgramDir(), CurrentLanguage());
    TextCache& cache = Texts();
    std::lock_guard lock(cache.mutex);
    if (!cache.loaded || cache.path != path) {
        std::string bytes;
        cache.table = ReadFileBytes(path, &bytes) ? ParseProfileText(bytes) : ProfileTable();
        cache.path = path;
        cache.loaded = true;
    }
    std::string value;
    LookUp(cache.table, section, std::to_string(id), &value);
    return value;
}

bool ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string* value) {
    value->clear();
    std::string bytes;
    if (!ReadFileBytes(path, &bytes)) return false;
    return ProfileStringFromBytes(bytes, section, key, value);
}

bool ProfileStringFromBytes(std::string_view bytes, std::string_view section, std::string_view key,
                            std::string* value) {
    value->clear();
    return LookUp(ParseProfileText(bytes), section, key, value);
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
