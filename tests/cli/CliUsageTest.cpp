// Command-line mistakes exit 2 before anything is touched; help is there for every command.

#include <filesystem>

#include "CliRunner.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;

class CliUsage : public CliTest {};

TEST_F(CliUsage, BadArgumentsExit2WithoutTouchingTheMouse) {
    const std::vector<Args> cases = {
        {},
        {"frobnicate"},
        {"show", "extra"},
        {"show", "--bogus"},
        {"--device", "abc", "show"},
        {"--device"},
        {"--product"},
        {"--json=yes", "devices"},
        {"--virtual", "999", "devices"},
        {"--virtual", "102:bluetooth", "devices"},
        {"dpi"},
        {"dpi", "1", "2", "3", "4", "5", "6", "7"},
        {"dpi", "eight"},
        {"dpi", "800", "1600", "--active", "3"},
        {"dpi", "800", "--active", "0"},
        {"dpi-colors", "red"},
        {"dpi-colors", "#000000"},
        {"dpi-colors", "#FF00"},
        {"rate", "300"},
        {"rate", "1000hz"},
        {"liftoff", "3"},
        {"sensor", "5"},
        {"sensor", "32"},
        {"power"},
        {"power", "--sleep", "45"},
        {"power", "--wake", "maybe"},
        {"power", "--response"},
        {"button", "2"},
        {"button", "x", "fixed"},
        {"button", "2", "mouse"},
        {"button", "2", "mouse:one"},
        {"button", "2", "teleport:1"},
        {"button", "2", "click:5"},
        {"button", "2", "key:ctrl+nosuchkey"},
        {"button", "2", "key:a+b"},
        {"light"},
        {"light", "1", "--brightness", "5"},
        {"light", "1", "--speed", "5"},
        {"light", "1", "--color", "blue"},
        {"light", "2", "--slot", "2"},
        {"reset"},
        {"reset", "everything"},
        {"profile"},
        {"profile", "frob"},
        {"profile", "switch", "5"},
        {"profile", "switch"},
        {"profile", "rename", "2"},
        {"profile", "rename", "2", ""},
        {"macro"},
        {"macro", "show", "abc"},
        {"macro", "show", "0"},
        {"macro", "rename", "1"},
        {"macro", "export", "1"},
        {"macro", "fly"},
        {"macro", "add", "1", "wiggle"},
        {"macro", "move", "1", "2", "left"},
        {"macro", "play", "1", "--mode", "loop"},
        {"sensor", "+5"},
        {"sensor", "+4", "-4"},
        {"reset", "factory"},  // stdin is no terminal: consent must be given as --yes
        {"firmware", "check", "--force"},
        {"--version", "extra"},
    };
    for (const Args& args : cases) {
        Args withMouse = args;
        withMouse.insert(withMouse.begin(), {"--virtual", "102"});
        const CliRun run = Run(args.empty() ? args : withMouse);
        std::string joined;
        for (const std::string& a : args) joined += "[" + a + "] ";
        EXPECT_EQ(run.exitCode, 2) << joined << "\n" << run;
        EXPECT_TRUE(run.out.empty()) << joined;
        EXPECT_FALSE(run.err.empty()) << joined;
    }
    // None of them reached the mouse.
    EXPECT_FALSE(std::filesystem::exists(TracePath()));
}

TEST_F(CliUsage, EveryCommandHasHelp) {
    const std::vector<std::string> commands = {"devices", "show",    "read",  "profile", "dpi",   "dpi-colors",
                                               "rate",    "liftoff", "sensor", "power",  "button", "buttons-reset",
                                               "light",   "reset",   "macro", "update",  "firmware"};
    const CliRun overview = Run({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    for (const std::string& c : commands) {
        EXPECT_NE(overview.out.find("  " + c + " "), std::string::npos) << c << " missing from the overview";
        for (const Args& form : {Args{c, "--help"}, Args{"help", c}, Args{"--json", c, "-h"}}) {
            const CliRun run = Run(form);
            EXPECT_EQ(run.exitCode, 0) << c << "\n" << run;
            EXPECT_EQ(run.out.rfind("Usage: quorvelctl " + c, 0), 0u) << run;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(TracePath()));
}

}  // namespace
}  // namespace quorvel::test
