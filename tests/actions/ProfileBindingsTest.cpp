// Bindings of profiles to applications: stored in the profile table's app column, one name per line.

#include "ActionsFixture.h"
#include "actions/ProfileBindings.h"
#include "store/AppList.h"

namespace quorvel::test {
namespace {

class ProfileBindings : public ActionsTest {
protected:
    std::string Column(int profile) {
        std::string apps;
        db_.GetProfileApps(profile, apps);
        return apps;
    }
};

TEST_F(ProfileBindings, BindUnbindAndTheStoredColumn) {
    Make("102:wired");
    Offline(102);
    // A store made before bindings existed: every app column empty, nothing bound.
    std::vector<ProfileBinding> bindings;
    ASSERT_TRUE(ListBindings(ctx(), &bindings).ok);
    ASSERT_EQ(bindings.size(), 4u);
    EXPECT_FALSE(AnyBinding(bindings));
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(Column(p), "") << p;

    EXPECT_TRUE(BindApp(ctx(), 2, "csgo_linux64").ok);
    EXPECT_TRUE(BindApp(ctx(), 2, "  steam_app_730 ").ok);
    EXPECT_TRUE(BindApp(ctx(), 2, "CSGO_LINUX64").ok);  // already there: unchanged
    EXPECT_TRUE(BindApp(ctx(), 3, "WowClassic.exe").ok);
    EXPECT_EQ(Column(2), "csgo_linux64\nsteam_app_730");
    EXPECT_EQ(Column(3), "WowClassic.exe");
    EXPECT_TRUE(BindApp(ctx(), 2, "Wine Game").ok);  // blanks inside a name are kept
    EXPECT_EQ(Column(2), "csgo_linux64\nsteam_app_730\nWine Game");

    ASSERT_TRUE(ListBindings(ctx(), &bindings).ok);
    EXPECT_TRUE(AnyBinding(bindings));
    EXPECT_EQ(bindings[1].apps, (std::vector<std::string>{"csgo_linux64", "steam_app_730", "Wine Game"}));

    EXPECT_TRUE(UnbindApp(ctx(), 2, "STEAM_APP_730").ok);
    EXPECT_EQ(Column(2), "csgo_linux64\nWine Game");
    EXPECT_TRUE(UnbindApp(ctx(), 3, "wowclassic.exe").ok);
    EXPECT_EQ(Column(3), "");
}

TEST_F(ProfileBindings, RefusedChangesNothing) {
    Make("102:wired");
    Offline(102);
    ASSERT_TRUE(BindApp(ctx(), 2, "csgo_linux64").ok);
    const struct {
        const char* name;
        ActionResult result;
        const char* message;
    } cases[] = {
        {"bound elsewhere", BindApp(ctx(), 3, "CSGO_linux64"),
         "\"CSGO_linux64\" is already bound to profile 2 (T61 2); unbind it there first"},
        {"empty", BindApp(ctx(), 1, "  "), "an application name cannot be empty"},
        {"newline", BindApp(ctx(), 1, "a\nb"),
         "an application name cannot hold a control character (such as a newline)"},
        {"too long", BindApp(ctx(), 1, std::string(256, 'x')), "an application name has at most 255 bytes"},
        {"no profile 5", BindApp(ctx(), 5, "game"), "profile 5 does not exist (profiles are 1-4)"},
        {"not bound", UnbindApp(ctx(), 1, "csgo_linux64"), "profile 1 is not bound to \"csgo_linux64\""},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.result.ok) << c.name;
        EXPECT_EQ(c.result.message, c.message) << c.name;
    }
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(Column(p), p == 2 ? "csgo_linux64" : "") << p;
}

TEST(AppList, ColumnFormat) {
    const struct {
        const char* column;
        std::vector<std::string> apps;
        const char* formatted;
    } cases[] = {
        {"", {}, ""},
        {"game", {"game"}, "game"},
        {"a\nb", {"a", "b"}, "a\nb"},
        {"a\r\n\n  b  \n", {"a", "b"}, "a\nb"},  // edited by hand: blanks and empty lines dropped
        {"Game\ngame\nGAME", {"Game"}, "Game"},  // one name once
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseAppList(c.column), c.apps) << c.column;
        EXPECT_EQ(FormatAppList(ParseAppList(c.column)), c.formatted) << c.column;
    }
}

}  // namespace
}  // namespace quorvel::test
