// quorvelctl profile bind, unbind and bindings: what they print and store, and what they refuse.

#include "CliRunner.h"
#include "TraceHelpers.h"

namespace quorvel::test {
namespace {

class CliProfileBind : public CliTest {};

TEST_F(CliProfileBind, BindListUnbind) {
    const std::vector<std::string> mouse = {"--virtual", "102:wired"};
    auto run = [&](std::vector<std::string> words) {
        words.insert(words.begin(), mouse.begin(), mouse.end());
        return Run(words);
    };
    CliRun r = run({"profile", "bind", "2", "cs2"});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(r.out, "profile 2 (Profile 2) follows cs2\n");
    r = run({"profile", "bind", "2", " steam_app_730 "});
    EXPECT_EQ(r.out, "profile 2 (Profile 2) follows cs2, steam_app_730\n") << r;
    ASSERT_EQ(run({"profile", "bind", "3", "WowClassic.exe"}).exitCode, 0);

    r = run({"profile", "bindings"});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(r.out,
              "NUMBER  NAME       APPLICATIONS\n"
              "1       Profile 1  -\n"
              "2       Profile 2  cs2, steam_app_730\n"
              "3       Profile 3  WowClassic.exe\n"
              "4       Profile 4  -\n")
        << r;
    // No X display in the test's environment: the bindings would do nothing, and it says so.
    EXPECT_NE(r.err.find("automatic switching needs an X11 or XWayland window"), std::string::npos) << r;

    r = run({"--json", "profile", "bindings"});
    ASSERT_EQ(r.exitCode, 0) << r;
    const nlohmann::json list = r.Json();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(
        list[1],
        nlohmann::json::parse(
            R"({"number":2,"name":"Profile 2","shown_name":"Profile 2","apps":["cs2","steam_app_730"]})"));

    const struct {
        std::vector<std::string> args;
        int exit;
        const char* err;
    } refused[] = {
        {{"profile", "bind", "3", "CS2"},
         1,
         "quorvelctl: \"CS2\" is already bound to profile 2 (Profile 2); unbind it there first\n"},
        {{"profile", "unbind", "1", "cs2"}, 1, "quorvelctl: profile 1 is not bound to \"cs2\"\n"},
        {{"profile", "bind", "5", "cs2"}, 2, "quorvelctl profile: \"5\" is not a profile number (1-4)\n"},
        {{"profile", "bind", "2"}, 2, nullptr},
    };
    for (const auto& c : refused) {
        r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exit) << r;
        if (c.err) {
            EXPECT_EQ(r.err.substr(0, std::string(c.err).size()), c.err) << r;
        }
    }

    r = run({"profile", "unbind", "2", "CS2"});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(r.out, "profile 2 (Profile 2) follows steam_app_730\n");
    // Nothing of it went to the mouse beyond discovery and read-back.
    EXPECT_TRUE(CommandRequests(TakeTrace()).empty());
}

}  // namespace
}  // namespace quorvel::test
