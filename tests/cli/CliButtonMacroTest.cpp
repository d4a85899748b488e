// A macro bound to a button from the command line: one too long for the mouse is refused with the
// reason, before anything is stored or sent; one that fits goes out with the key table.

#include "CliRunner.h"
#include "TraceHelpers.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;

class CliButtonMacro : public CliTest {
protected:
    CliRun On(Args args) {
        args.insert(args.begin(), {"--virtual", "102"});
        return Run(args);
    }
};

TEST_F(CliButtonMacro, AMacroTooLongForTheMouseIsRefused) {
    // 51 letters without delays: 102 events, one more than 15 packets hold on this family.
    for (const Args& step :
         {Args{"macro", "new", "Long"}, Args{"macro", "type", "1", std::string(51, 'x'), "--delay", "0"},
          Args{"macro", "new", "Short"}, Args{"macro", "type", "2", std::string(50, 'x'), "--delay", "0"}}) {
        const CliRun run = On(step);
        ASSERT_EQ(run.exitCode, 0) << run;
    }
    TakeTrace();
    const CliRun refused = On({"button", "2", "macro:1"});
    EXPECT_EQ(refused.exitCode, 1) << refused;
    EXPECT_NE(refused.err.find("too long for the mouse"), std::string::npos) << refused;
    EXPECT_TRUE(CommandRequests(TakeTrace()).empty());
    const CliRun shown = On({"--json", "show"});
    ASSERT_EQ(shown.exitCode, 0) << shown;
    EXPECT_EQ(shown.Json()["buttons"], nlohmann::json::array()) << "nothing stored";
    TakeTrace();

    const CliRun accepted = On({"button", "2", "macro:2"});
    EXPECT_EQ(accepted.exitCode, 0) << accepted;
    EXPECT_EQ(CommandRequests(TakeTrace()).size(), 1u + 15u) << "the macro's 15 packets, then the key table";
}

}  // namespace
}  // namespace quorvel::test
