// Commands that delete or overwrite: they ask first, or need their consent on the command line, and warn
// about what will not work.

#include <filesystem>
#include <fstream>

#include "CliRunner.h"
#include "TraceHelpers.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;
using nlohmann::json;

class CliSafety : public CliTest {
protected:
    CliRun On(const std::string& mouse, Args args) {
        args.insert(args.begin(), {"--virtual", mouse});
        return Run(args);
    }
};

TEST_F(CliSafety, FactoryResetNeedsConsentAndSaysWhatItDid) {
    for (const std::string mouse : {"102", "201"}) {
        ASSERT_EQ(On(mouse, {"profile", "rename", "1", "Keep me"}).exitCode, 0);
        ASSERT_EQ(On(mouse, {"macro", "new", "Keep me too"}).exitCode, 0);
        TakeTrace();
        // stdin is not a terminal here: without --yes nothing is asked, touched or sent.
        const CliRun refused = On(mouse, {"reset", "factory"});
        EXPECT_EQ(refused.exitCode, 2) << refused;
        EXPECT_NE(refused.err.find("add --yes to confirm"), std::string::npos) << refused;
        EXPECT_TRUE(TakeTrace().empty()) << mouse;
        EXPECT_EQ(On(mouse, {"--json", "profile", "list"}).Json()[0]["name"], "Keep me");
        EXPECT_EQ(On(mouse, {"--json", "macro", "list"}).Json().size(), 1u);

        const CliRun reset = On(mouse, {"reset", "factory", "--yes"});
        ASSERT_EQ(reset.exitCode, 0) << reset;
        EXPECT_NE(reset.out.find("recreated the device database of Quorvel"), std::string::npos) << reset;
        EXPECT_NE(reset.out.find("the mouse was reset to its factory settings\n"), std::string::npos)
            << reset;
        const CliRun json = On(mouse, {"--json", "reset", "factory", "--yes"});
        EXPECT_EQ(json.Json()["database_recreated"], true) << json;
        EXPECT_EQ(On(mouse, {"--json", "profile", "list"}).Json()[0]["name"], "Profile 1");
        EXPECT_EQ(On(mouse, {"--json", "macro", "list"}).Json(), json::array());
    }
}

TEST_F(CliSafety, ImportingAProfileWhoseMacrosThisModelLacksWarns) {
    // Made on a model whose button 3 played its macro 7.
    std::ofstream(Path("other-model.xml"), std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<profileinfo "
           "name=\"x\">\r\n<keyitems>\r\n"
           "<item key_code=\"3\" macro_type=\"4\" macro_value=\"7\" macro_value2=\"0\" macro_value3=\"0\" "
           "macro_desc=\"Burst\"/>\r\n"
           "<item key_code=\"4\" macro_type=\"2\" macro_value=\"4\" macro_value2=\"1\" macro_value3=\"0\" "
           "macro_desc=\"Ctrl + A\"/>\r\n</keyitems>\r\n</profileinfo>\r\n</profile>\r\n";
    const CliRun run = On("102", {"profile", "import", Path("other-model.xml")});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_NE(run.err.find("warning: button 3 plays macro 7 (Burst), which this model does not have"),
              std::string::npos)
        << run;
    EXPECT_EQ(run.err.find("button 4"), std::string::npos) << run;
}

}  // namespace
}  // namespace quorvel::test
