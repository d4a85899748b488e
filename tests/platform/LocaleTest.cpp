#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/Locale.h"

namespace quorvel {
namespace {

// A UTF-8 locale has UTF-8 (65001) as its ANSI code page, as Windows set to "Use Unicode UTF-8" has:
// text without a mark of its own then reads as the system writes it. Other character sets follow the
// language as Windows would set it.
TEST(Locale, AnsiCodePageAsWindowsWouldSetIt) {
    struct Case {
        const char* locale;
        int codePage;
    };
    const Case cases[] = {
        {"zh_CN.UTF-8", 65001},
        {"zh_CN.utf8", 65001},
        {"de_DE.UTF-8@euro", 65001},
        {"C.UTF-8", 65001},
        {"en_US.UTF-8", 65001},
        {"ja_JP.utf-8", 65001},
        {"ru_RU.UTF8", 65001},
        {"xx_YY.UTF-8", 65001},
        {"zh_SG.GBK", 936},
        {"zh_CN.GB18030", 936},
        {"zh_CN", 936},
        {"zh", 936},
        {"zh_HK.Big5-HKSCS", 950},
        {"zh-tw", 950},
        {"zh_TW.Big5", 950},
        {"ja_JP.eucJP", 932},
        {"ja", 932},
        {"ko_KR.EUC-KR", 949},
        {"ru_RU.KOI8-R", 1251},
        {"uk_UA", 1251},
        {"pl_PL.ISO-8859-2", 1250},
        {"el_GR", 1253},
        {"tr_TR", 1254},
        {"en_US", 1252},
        {"de_DE@euro", 1252},
        {"fr_FR.ISO-8859-15", 1252},
        {"C", 1252},
        {"POSIX", 1252},
        {"", 1252},
        {"xx_YY", 1252},
        {"en_US.UTF-16", 1252},
    };
    for (const Case& c : cases) EXPECT_EQ(AnsiCodePageForLocaleName(c.locale), c.codePage) << c.locale;
}

TEST(Locale, UiLanguageAsLcid) {
    struct Case {
        const char* locale;
        int lcid;
    };
    const Case cases[] = {
        {"en_US.UTF-8", 1033}, {"en", 1033}, {"C", 1033}, {"POSIX", 1033}, {"C.UTF-8", 1033}, {"", 1033},
        {"en_GB.UTF-8", 2057},
        {"zh_CN.UTF-8", 2052}, {"zh_SG", 2052}, {"zh", 2052}, {"ZH_cn.gb2312", 2052},
        {"zh_TW.UTF-8", 1028}, {"zh_HK.UTF-8", 1028},
        {"ja_JP.UTF-8", 1041}, {"ru_RU.UTF-8", 1049}, {"de_DE.UTF-8", 1031}, {"de_AT", 3079},
        {"fr_FR.UTF-8", 1036}, {"fr_CA", 3084}, {"es_ES.UTF-8", 3082}, {"es_MX", 2058}, {"it_IT", 1040},
        {"ko_KR.UTF-8", 1042}, {"pt_BR.UTF-8", 1046}, {"pt_PT", 2070}, {"nl_NL", 1043}, {"pl_PL", 1045},
        {"xx_YY.UTF-8", 1033},
    };
    for (const Case& c : cases) EXPECT_EQ(LcidForLocaleName(c.locale), c.lcid) << c.locale;
}

// Sets the four locale variables for one test and restores them.
class LocaleEnv : public ::testing::Test {
protected:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LC_CTYPE", "LANG"};
    void SetUp() override {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i]) setenv(kNames[i], saved_[i]->c_str(), 1);
            else unsetenv(kNames[i]);
        }
    }
    std::vector<std::optional<std::string>> saved_;
};

TEST_F(LocaleEnv, FirstNonEmptyVariableWins) {
    EXPECT_EQ(UserUiLanguage(), 1033) << "nothing set";
    EXPECT_EQ(AnsiCodePageFromLocale(), 1252);
    setenv("LANG", "ja_JP.eucJP", 1);
    EXPECT_EQ(UserUiLanguage(), 1041);
    EXPECT_EQ(AnsiCodePageFromLocale(), 932);
    setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
    setenv("LC_CTYPE", "zh_TW.Big5", 1);
    EXPECT_EQ(UserUiLanguage(), 1031) << "LC_MESSAGES before LANG";
    EXPECT_EQ(AnsiCodePageFromLocale(), 950) << "LC_CTYPE before LANG";
    setenv("LC_ALL", "", 1);
    EXPECT_EQ(UserUiLanguage(), 1031) << "an empty LC_ALL does not count";
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    EXPECT_EQ(UserUiLanguage(), 2052);
    EXPECT_EQ(AnsiCodePageFromLocale(), 65001);
}

}  // namespace
}  // namespace quorvel
