#include "shell/Localisation.h"

#include <gtest/gtest.h>

#include "platform/TempHome.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/TextConv.h"

namespace quorvel {
namespace {

using testing::TempHome;
using testing::WriteFileBytes;

// Language files as the product ships them: UTF-16 LE with a byte-order mark.
std::string Utf16File(const std::string& utf8) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : Utf8ToUtf16(utf8)) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string Lookup(const std::string& file, const char* key, const char* section = "LAN") {
    std::string value = "unset";
    ProfileStringFromBytes(file, section, key, &value);
    return value;
}

TEST(ProfileStringTest, ReaderRules) {
    const std::string file = Utf16File(
        "; comment\r\n"
        "[Other]\r\n"
        "1=other section\r\n"
        "[ lan ]\r\n"
        "  1  =   padded value \t\r\n"
        "2=\"quoted  \"\r\n"
        "3=\"\"twice\"\"\r\n"
        "4='single'\r\n"
        "5=\"unbalanced\r\n"
        "6=a=b\r\n"
        "7=\r\n"
        "8=first\n"
        "8=second\n"
        "9=中文文本\r"
        "[LAN]\r\n"
        "10=in a second LAN section\r\n");
    const std::pair<const char*, const char*> cases[] = {
        {"1", "padded value"}, {"2", "quoted  "}, {"3", "\"twice\""}, {"4", "single"},  {"5", "\"unbalanced"},
        {"6", "a=b"},          {"7", ""},        {"8", "first"},      {"9", "中文文本"}, {"10", ""},
        {"11", ""},
    };
    for (const auto& [key, value] : cases) EXPECT_EQ(Lookup(file, key), value) << "key " << key;
    EXPECT_EQ(Lookup(file, "1", "OTHER"), "other section");
    EXPECT_EQ(Lookup(file, "1", "Missing"), "");

    std::string value;
    EXPECT_TRUE(ProfileStringFromBytes(file, "LAN", "7", &value)) << "an empty value is still found";
    EXPECT_FALSE(ProfileStringFromBytes(file, "LAN", "11", &value));
}

TEST(ProfileStringTest, LongTextsAreCutAt259Characters) {
    std::string chinese;
    for (int i = 0; i < 300; ++i) chinese += "字";
    std::string value = Lookup(Utf16File("[LAN]\n1=" + chinese + "\n"), "1");
    EXPECT_EQ(Utf8Length(value), kMaxTextChars);
    EXPECT_EQ(value.size(), kMaxTextChars * 3);

    std::string quoted = "\"" + std::string(258, 'a') + "b\"";  // exactly 259 inside the quotes
    EXPECT_EQ(Lookup("[LAN]\n1=" + quoted + "\n", "1"), std::string(258, 'a') + "b");
}

TEST(ProfileStringTest, FileEncodings) {
    testing::ScopedEnv env;
    env.Set("LC_ALL", "zh_CN.GBK");
    const std::string utf8 = "[LAN]\r\n61=配置\r\n";

    const std::pair<const char*, std::string> files[] = {
        {"UTF-16 LE with BOM", Utf16File(utf8)},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8},
        {"ANSI code page 936", FromUtf8(utf8, kCpGbk)},
    };
    for (const auto& [name, bytes] : files) EXPECT_EQ(Lookup(bytes, "61"), "配置") << name;

    // On a UTF-8 locale a file without a byte-order mark is UTF-8, as the system writes it.
    env.Set("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(Lookup("[LAN]\r\n61=Profil\xC3\xA9\r\n", "61"), "Profil\xC3\xA9");
}

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramDir(home.Root() + "/program");
        SetDeviceName("Quorvel Mouse");
    }
    void TearDown() override {
        SetProgramDir(ExecutableDir());
        SetDeviceName("");
        SetCurrentLanguage(0);
        SetOfferedLanguages({});
    }
    TempHome home;
};

// The current language's file is read once; a language change (or ReloadTexts) reads it again.
TEST_F(LanguageFileTest, TextKeepsTheCurrentLanguagesTableUntilTheLanguageChanges) {
    WriteFileBytes(home.Root() + "/program/language/2052.lan", Utf16File("[LAN]\n17=版本\n"));
    WriteFileBytes(home.Root() + "/program/language/1033.lan", "[LAN]\n17=Version\n");
    SetCurrentLanguage(2052);
    EXPECT_EQ(text("LAN", 17), "版本");
    EXPECT_EQ(text("lan", 17), "版本") << "sections match without regard to case";
    EXPECT_EQ(text("LAN", 18), "");
    SetCurrentLanguage(1033);
    EXPECT_EQ(text("LAN", 17), "Version");
    WriteFileBytes(home.Root() + "/program/language/1033.lan", "[LAN]\n17=Release\n");
    EXPECT_EQ(text("LAN", 17), "Version") << "kept";
    SetCurrentLanguage(1033);
    EXPECT_EQ(text("LAN", 17), "Release") << "setting the language reads the file again";
    SetCurrentLanguage(1041);
    EXPECT_EQ(text("LAN", 17), "") << "missing file";
    WriteFileBytes(home.Root() + "/program/language/1041.lan", Utf16File("[LAN]\n17=バージョン\n"));
    EXPECT_EQ(text("LAN", 17), "");
    ReloadTexts();
    EXPECT_EQ(text("LAN", 17), "バージョン");
    SetProgramDir(home.Root() + "/elsewhere");
    EXPECT_EQ(text("LAN", 17), "") << "another program directory is another file";
}

TEST(ChooseLanguageTest, Rule) {
    const std::set<int> offered = {1033, 2052};
    const std::set<int> withJapanese = {1033, 1041, 2052};
    struct Case {
        const char* what;
        int stored, userUi;
        const std::set<int>* offered;
        int current, store;
    };
    const Case cases[] = {
        {"first start, UI offered", 0, 2052, &offered, 2052, 2052},
        {"first start, UI not offered", 0, 1031, &offered, 1033, 1033},
        {"stored and offered", 2052, 1031, &offered, 2052, 0},
        {"stored, offered Japanese", 1041, 1033, &withJapanese, 1041, 0},
        {"stored but not offered", 1041, 2052, &offered, 1033, 1033},
        {"store unavailable", 2052, 1033, &offered, 2052, 0},
    };
    for (const Case& c : cases) {
        int store = -1;
        EXPECT_EQ(ChooseLanguage(c.stored, c.userUi, *c.offered, &store), c.current) << c.what;
        EXPECT_EQ(store, c.store) << c.what;
    }
}

TEST_F(LanguageFileTest, StartupChoiceStoresWhatItChose) {
    home.Env().Set("LC_ALL", "de_DE.UTF-8");
    SetOfferedLanguages({1033, 2052});
    EXPECT_EQ(ChooseStartupLanguage(), 1033);
    EXPECT_EQ(CurrentLanguage(), 1033);
    EXPECT_EQ(ReadLCID(), 1033);

    WriteLCID(1041);
    SetOfferedLanguages({1033, 1041, 2052});
    EXPECT_EQ(ChooseStartupLanguage(), 1041);

    SetOfferedLanguages({1033, 2052});
    EXPECT_EQ(ChooseStartupLanguage(), 1033);
    EXPECT_EQ(ReadLCID(), 1033) << "a stored language that is not offered is replaced";

    ChangeLanguage(2052);
    EXPECT_EQ(CurrentLanguage(), 2052);
    EXPECT_EQ(ReadLCID(), 2052);
}

TEST_F(LanguageFileTest, StartupChoiceWithoutAPreferenceStoreBeginsWith2052) {
    WriteFileBytes(home.Root() + "/config/Quorvel Mouse", "a file blocks the store's folder");
    SetOfferedLanguages({1033, 2052});
    home.Env().Set("LC_ALL", "en_US.UTF-8");
    EXPECT_EQ(ChooseStartupLanguage(), 2052);
}

}  // namespace
}  // namespace quorvel
