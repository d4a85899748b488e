#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "support/TextConv.h"
#include "XmlTestUtil.h"

namespace quorvel {
namespace {

struct LanguageFile {
    bool bom = false;
    std::string section;
    std::map<int, std::string> texts;
    std::vector<std::string> problems;
};

// Reads a shipped language file the strict way: UTF-16 LE with mark, CR LF, one section, decimal keys.
LanguageFile ReadLanguageFile(int lcid) {
    LanguageFile file;
    const std::string bytes = testing::ReadBytes(std::string(QUORVEL_PRODUCT_DIR) + "/language/" +
                                                 std::to_string(lcid) + ".lan");
    file.bom = bytes.substr(0, 2) == "\xFF\xFE";
    if (!file.bom) return file;
    bool clean = false;
    const std::string text = ToUtf8(std::string_view(bytes).substr(2), kCpUtf16Le, &clean);
    if (!clean) file.problems.push_back("not valid UTF-16");
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            file.problems.push_back("last line without CR LF");
            break;
        }
        const std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        if (line.find_first_of("\r\n") != std::string::npos) file.problems.push_back("bare line break: " + line);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            if (!file.section.empty()) file.problems.push_back("second section " + line);
            file.section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        if (equals == std::string::npos || key.empty() || key[0] == '0' ||
            key.find_first_not_of("0123456789") != std::string::npos) {
            file.problems.push_back("bad key line: " + line);
            continue;
        }
        const int id = std::stoi(key);
        if (file.texts.count(id)) file.problems.push_back("duplicate key " + key);
        file.texts[id] = line.substr(equals + 1);
    }
    return file;
}

TEST(LanguageFiles, BothAreWellFormedAndCarryTheSameTexts) {
    const LanguageFile english = ReadLanguageFile(1033);
    const LanguageFile chinese = ReadLanguageFile(2052);
    for (const LanguageFile* file : {&english, &chinese}) {
        EXPECT_TRUE(file->bom);
        EXPECT_EQ(file->section, "LAN");
        EXPECT_TRUE(file->problems.empty()) << ::testing::PrintToString(file->problems);
        for (const auto& [id, text] : file->texts) {
            EXPECT_FALSE(text.empty()) << id;
            EXPECT_LT(Utf8Length(text), 259u) << id << " is cut when read";
            EXPECT_FALSE(std::isspace(static_cast<unsigned char>(text.front()))) << id << " loses its blanks";
            EXPECT_FALSE(std::isspace(static_cast<unsigned char>(text.back()))) << id << " loses its blanks";
            EXPECT_FALSE(text.front() == '"' && text.back() == '"') << id << " loses its quotation marks";
        }
    }
    std::vector<int> onlyEnglish, onlyChinese;
    for (const auto& entry : english.texts) {
        if (!chinese.texts.count(entry.first)) onlyEnglish.push_back(entry.first);
    }
    for (const auto& entry : chinese.texts) {
        if (!english.texts.count(entry.first)) onlyChinese.push_back(entry.first);
    }
    EXPECT_TRUE(onlyEnglish.empty()) << ::testing::PrintToString(onlyEnglish);
    EXPECT_TRUE(onlyChinese.empty()) << ::testing::PrintToString(onlyChinese);
}

TEST(LanguageFiles, NamePrefixesAndSuffixesAreTheRecognisedWords) {
    // Default profile and macro names are built from these texts and recognised again by these exact words.
    struct Case {
        int id;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {61, "Profile", "配置"},
        {351, "Custom", "自定义"},
        {31, "Copy", "复制"},
        {17, "Version", "版本"},
    };
    const LanguageFile english = ReadLanguageFile(1033);
    const LanguageFile chinese = ReadLanguageFile(2052);
    for (const Case& c : cases) {
        EXPECT_EQ(english.texts.count(c.id) ? english.texts.at(c.id) : "", c.english) << c.id;
        EXPECT_EQ(chinese.texts.count(c.id) ? chinese.texts.at(c.id) : "", c.chinese) << c.id;
    }
    // The display rule cuts 7 and 2 characters: the words must be exactly that long.
    EXPECT_EQ(Utf8Length(chinese.texts.at(61)), 2u);
    EXPECT_EQ(Utf8Length(chinese.texts.at(351)), 3u);
}

}  // namespace
}  // namespace quorvel
