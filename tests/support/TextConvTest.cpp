#include <gtest/gtest.h>

#include <string>

#include "support/TextConv.h"
#include "XmlTestUtil.h"

namespace quorvel {
namespace {

TEST(TextConv, DeclaredNamesMapToCodePages) {
    struct Case {
        const char* name;
        int codePage;
    };
    const Case cases[] = {
        {"UTF-8", kCpUtf8}, {"utf8", kCpUtf8}, {"UTF-16", kCpUtf16Le}, {"utf-16le", kCpUtf16Le},
        {"UTF-16BE", kCpUtf16Be}, {"GBK", kCpGbk}, {"gb2312", kCpGbk}, {"GB2312", kCpGbk},
        {"Big5", kCpBig5}, {"Shift_JIS", kCpShiftJis}, {"ISO-8859-1", kCpIso88591}, {"latin1", kCpIso88591},
        {"windows-1252", kCpWindows1252}, {"Windows-1251", kCpWindows1251}, {"gb18030", 54936},
        {"", kCpUnknown}, {"utf-9", kCpUnknown}, {"gbk ", kCpUnknown},
    };
    for (const Case& c : cases) EXPECT_EQ(CodePageFromName(c.name), c.codePage) << c.name;
}

TEST(TextConv, CodePagesConvertBothWays) {
    struct Case {
        int codePage;
        std::string bytes;
        const char* utf8;
    };
    const Case cases[] = {
        {kCpGbk, "\xD6\xD0\xCE\xC4 abc", "中文 abc"},
        {kCpGbk, "\x80", "€"},
        {kCpBig5, "\xA4\xA4\xA4\xE5", "中文"},
        {kCpShiftJis, "\x93\xFA\x96\x7B", "日本"},
        {kCpWindows1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
        {kCpWindows1252, "caf\xE9 \x80 \x93x\x94", "café € “x”"},
        {kCpIso88591, "\xE9\xFF", "éÿ"},
        {kCpUtf16Le, std::string("-N\x87\x65\x3D\xD8\x00\xDE", 8), "中文😀"},
        {kCpUtf16Be, std::string("N-\x65\x87\xD8\x3D\xDE\x00", 8), "中文😀"},
        {kCpUtf8, "\xE4\xB8\xAD", "中"},
    };
    for (const Case& c : cases) {
        bool ok = false;
        EXPECT_EQ(ToUtf8(c.bytes, c.codePage, &ok), c.utf8) << c.codePage;
        EXPECT_TRUE(ok) << c.codePage;
        EXPECT_EQ(FromUtf8(c.utf8, c.codePage, &ok), c.bytes) << c.codePage;
        EXPECT_TRUE(ok) << c.codePage;
    }
}

TEST(TextConv, BadInputIsReplacedAndReported) {
    struct Case {
        int codePage;
        std::string bytes;
        const char* utf8;
    };
    const Case toUtf8[] = {
        {kCpUtf8, "a\xFF" "b", "a\uFFFDb"},
        {kCpUtf8, "\xC0\xAF", "\uFFFD\uFFFD"},          // overlong
        {kCpUtf8, "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},  // surrogate
        {kCpUtf8, "\xE4\xB8", "\uFFFD\uFFFD"},          // cut
        {kCpGbk, "\xD6\xD0\xD6", "中\uFFFD"},            // cut double byte
        {kCpGbk, "\xFF" "a", "\uFFFDa"},
        {kCpUtf16Le, std::string("\x00\xD8" "A\x00", 4), "\uFFFDA"},  // lone surrogate
        {kCpUtf16Le, "A", "\uFFFD"},                                 // odd length
        {12345, "ab\xC3", "ab\uFFFD"},                               // unknown code page
    };
    for (const Case& c : toUtf8) {
        bool ok = true;
        EXPECT_EQ(ToUtf8(c.bytes, c.codePage, &ok), c.utf8) << c.codePage;
        EXPECT_FALSE(ok) << c.codePage;
    }
    const Case fromUtf8[] = {
        {kCpGbk, "a?b", "a😀b"},
        {kCpWindows1252, "??", "中文"},
        {kCpGbk, "?x", "\xFFx"},
        {kCpIso88591, "?", "€"},
    };
    for (const Case& c : fromUtf8) {
        bool ok = true;
        EXPECT_EQ(FromUtf8(c.utf8, c.codePage, &ok), c.bytes) << c.codePage;
        EXPECT_FALSE(ok) << c.codePage;
    }
}

TEST(TextConv, AnsiFollowsTheLocale) {
    {
        testing::ScopedEnv locale("LC_ALL", "zh_CN.GBK");
        EXPECT_EQ(AnsiCodePage(), kCpGbk);
        EXPECT_EQ(Utf8ToAnsi("中文"), "\xD6\xD0\xCE\xC4");
        EXPECT_EQ(AnsiToUtf8("\xD6\xD0\xCE\xC4"), "中文");
    }
    {
        testing::ScopedEnv locale("LC_ALL", "de_DE.ISO-8859-1");
        EXPECT_EQ(AnsiCodePage(), kCpWindows1252);
        EXPECT_EQ(AnsiToUtf8("\xE4"), "ä");
    }
    // A UTF-8 locale: text without a mark of its own is UTF-8, and "Profilé" stays "Profilé".
    for (const char* utf8Locale : {"de_DE.UTF-8", "zh_CN.UTF-8", "C.UTF-8"}) {
        testing::ScopedEnv locale("LC_ALL", utf8Locale);
        EXPECT_EQ(AnsiCodePage(), kCpUtf8) << utf8Locale;
        EXPECT_EQ(AnsiToUtf8("Profil\xC3\xA9 中文"), "Profil\xC3\xA9 中文") << utf8Locale;
        EXPECT_EQ(Utf8ToAnsi("Profil\xC3\xA9 中文"), "Profil\xC3\xA9 中文") << utf8Locale;
    }
    // The trace log's Chinese texts are GBK whatever the locale.
    testing::ScopedEnv locale("LC_ALL", "en_US.UTF-8");
    EXPECT_EQ(Utf8ToGbk("获取鼠标数据异常"), "\xBB\xF1\xC8\xA1\xCA\xF3\xB1\xEA\xCA\xFD\xBE\xDD\xD2\xEC\xB3\xA3");
}

TEST(TextConv, Utf16RoundTripsAndReplacesLoneSurrogates) {
    EXPECT_EQ(Utf8ToUtf16("A中😀"), (std::u16string{u'A', u'中', 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'A', u'中', 0xD83D, 0xDE00}), "A中😀");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00, u'x', 0xD83D}), "\uFFFDx\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"), (std::u16string{u'a', 0xFFFD}));
}

TEST(TextConv, CharacterRulesCountCharactersNotBytes) {
    const std::string name = "配置 1";  // 2 Chinese characters: 6 bytes
    EXPECT_EQ(Utf8Length(name), 4u);
    EXPECT_EQ(Utf8Left(name, 2), "配置");
    EXPECT_EQ(Utf8Left(name, 99), name);
    EXPECT_EQ(Utf8Left(name, 0), "");
    EXPECT_EQ(Utf8Mid(name, 2), " 1");
    EXPECT_EQ(Utf8Mid(name, 1, 2), "置 ");
    EXPECT_EQ(Utf8Mid(name, 9), "");
    EXPECT_EQ(Utf8Length("自定义复制😀"), 6u);
    EXPECT_EQ(Utf8Left("自定义 3", 3), "自定义");
    EXPECT_EQ(Utf8Length(""), 0u);
}

TEST(TextConv, CharacterRulesSurviveInvalidUtf8) {
    const std::string bad = "a\xFF\xE4\xB8中";  // a, stray byte, cut sequence (two bytes), 中
    EXPECT_EQ(Utf8Length(bad), 5u);
    EXPECT_EQ(Utf8Left(bad, 2), "a\xFF");
    EXPECT_EQ(Utf8Mid(bad, 4), "中");
    EXPECT_EQ(Utf8Left(bad, 5), bad) << "bytes are kept as they were";
}

TEST(TextConv, TruncateBytesNeverSplitsACharacter) {
    struct Case {
        const char* text;
        std::size_t limit;
        const char* expected;
    };
    const Case cases[] = {
        {"中文", 6, "中文"}, {"中文", 5, "中"}, {"中文", 4, "中"}, {"中文", 3, "中"}, {"中文", 2, ""},
        {"a😀", 4, "a"}, {"a😀", 5, "a😀"}, {"abc", 0, ""}, {"abc", 99, "abc"}, {"a\xFF" "b", 2, "a\xFF"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8TruncateBytes(c.text, c.limit), c.expected) << c.text << " " << c.limit;
}

}  // namespace
}  // namespace quorvel
