// What quorvelctl tells people: values in their units with levels counted from 1, the truth about a mouse
// out of reach, errors a script can read (JSON error documents, the system's reason, line and column),
// and the state file's warning.

#include <filesystem>
#include <fstream>

#include "CliRunner.h"
#include "TraceHelpers.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;
using nlohmann::json;

class CliReporting : public CliTest {
protected:
    CliRun On(const std::string& mouse, Args args, const std::map<std::string, std::string>& env = {}) {
        args.insert(args.begin(), {"--virtual", mouse});
        return Run(args, env);
    }
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(CliReporting, ChangesSayWhatTheStoredValuesMean) {
    struct Case {
        Args command;
        std::vector<std::string> lines;  // each a line of stdout, or a part of one
        json meaning;                    // the JSON "meaning" of the same command
    };
    const std::vector<Case> cases = {
        {{"dpi", "830", "1600", "--active", "2"},
         {"stored dpi_group0_value = 800  (level 1: 800 DPI)\n", "stored dpi_index = 1  (active level 2)\n",
          "note: level 1: 830 -> 800 (sensor range 50-26000)\n"},
         {{"dpi_group0_value", "level 1: 800 DPI"},
          {"dpi_group1_value", "level 2: 1600 DPI"},
          {"dpi_count", "2 levels"},
          {"dpi_index", "active level 2"}}},
        // The text run moves the active level; the JSON run that follows finds it moved already.
        {{"dpi", "800"},
         {"stored dpi_index = 0  (active level 1)\n", "note: active level moved to 1\n"},
         {{"dpi_group0_value", "level 1: 800 DPI"}, {"dpi_count", "1 level"}}},
        {{"dpi-colors", "#FF8000"},
         {"stored dpi_group0_rgb = 33023  (level 1: #FF8000)\n"},
         {{"dpi_group0_rgb", "level 1: #FF8000"}}},
        {{"rate", "8000"},
         {"stored report_rate = 64  (8000 Hz)\n"},
         {{"report_rate", "8000 Hz"}, {"report_rate_wireless", "8000 Hz"}}},
        {{"power", "--sleep", "300", "--response", "12"},
         {"stored sleep_light = 30  (sleep after 300 s)\n",
          "stored button_respondtime = 12  (12 ms button response)\n"},
         {{"sleep_light", "sleep after 300 s"}, {"button_respondtime", "12 ms button response"}}},
        {{"sensor", "12"},
         {"stored sensor_flag = 12  (Angle Snapping + Ripple Control)\n"},
         {{"sensor_flag", "Angle Snapping + Ripple Control"}}},
        // One option at a time, by number or by name; the others are kept.
        {{"sensor", "+16", "-angle-snapping"},
         {"stored sensor_flag = 24  (Ripple Control + Motion Sync)\n"},
         {{"sensor_flag", "Ripple Control + Motion Sync"}}},
        {{"liftoff", "2"}, {"stored liftoff_height = 2  (2 mm)\n"}, {{"liftoff_height", "2 mm"}}},
    };
    for (const Case& c : cases) {
        const CliRun text = On("102", c.command);
        ASSERT_EQ(text.exitCode, 0) << text;
        for (const std::string& line : c.lines) EXPECT_TRUE(Has(text.out, line)) << line << "\n" << text;
        Args jsonCommand = c.command;
        jsonCommand.insert(jsonCommand.begin(), "--json");
        const CliRun doc = On("102", jsonCommand);
        ASSERT_EQ(doc.exitCode, 0) << doc;
        EXPECT_EQ(doc.Json()["meaning"], c.meaning) << c.command[0];
    }
    // Refusals count levels from 1 too.
    const CliRun refused = On("102", {"dpi-colors", "-", "#FF0000"});
    EXPECT_EQ(refused.exitCode, 1) << refused;
    EXPECT_TRUE(Has(refused.err, "level 2 is not in use (the only level is 1)")) << refused;
}

TEST_F(CliReporting, ShowDecodesTheProfileAndNamesItAsTheListDoes) {
    ASSERT_EQ(On("102", {"dpi", "400", "800", "1600", "--active", "3"}).exitCode, 0);
    ASSERT_EQ(On("102", {"dpi-colors", "#FF0000", "#00FF00", "#0000FF"}).exitCode, 0);
    ASSERT_EQ(On("102", {"rate", "500"}).exitCode, 0);
    ASSERT_EQ(On("102", {"sensor", "12"}).exitCode, 0);
    const json doc = On("102", {"--json", "show"}).Json();
    EXPECT_EQ(doc["decoded"], json::parse(R"({"dpi_levels": [400, 800, 1600], "dpi_active_level": 3,
        "dpi_colours": ["#FF0000", "#00FF00", "#0000FF"], "report_rate_hz": 500,
        "report_rates_offered_hz": [125, 250, 500, 1000, 2000, 4000, 8000], "liftoff_mm": 1,
        "sensor_options": [{"flag": 4, "name": "Angle Snapping"}, {"flag": 8, "name": "Ripple Control"}],
        "sleep_seconds": null, "wake_on_move": null, "lights_off_moving": true, "button_response_ms": 8})"))
        << "the wired R2 has no sleep time and nothing to wake from";
    // The stored rows stay what they were; lighting rows gain their shown name and what they offer.
    EXPECT_EQ(doc["settings"]["dpi_index"], "2");
    EXPECT_EQ(doc["lighting"][0]["name"], "流光");
    EXPECT_EQ(doc["lighting"][0]["shown_name"], "Flowing");
    EXPECT_EQ(doc["lighting"][0]["offers"], json::parse(R"(["brightness", "speed"])"));
    EXPECT_EQ(doc["lighting"][1]["offers"],
              json::parse(R"(["brightness", "speed", "colour", "colour slots"])"));
    EXPECT_EQ(doc["lighting"][2]["offers"], json::parse(R"(["brightness", "colour"])"));
    EXPECT_EQ(doc["lighting"][5]["offers"], json::array());
    EXPECT_EQ(doc["lighting"][0]["colours"][0], "#FF0000");

    const CliRun text = On("102", {"show"});
    EXPECT_TRUE(Has(text.out, "(active level 3 of 3)")) << text;
    EXPECT_TRUE(Has(text.out, "500 Hz   (this mouse offers 125 250 500 1000 2000 4000 8000 Hz)")) << text;
    EXPECT_TRUE(Has(text.out, "Angle Snapping (4), Ripple Control (8)")) << text;
    EXPECT_TRUE(Has(text.out, "OFFERS")) << text;
    // Only the settings the model has: the wired R2 no sleep, the R3 (no lights) no lights-off while moving,
    // the F1 (feature family) no wake-on-move and no response time; a battery only on the wireless ones.
    struct Shown {
        const char* mouse;
        std::vector<std::string> lines, absent;
    };
    const std::vector<Shown> shown = {
        {"102", {"Lights off moving", "Button response"}, {"Battery", "Sleep", "Wake on move"}},
        {"103:wireless", {"Battery", "Sleep", "Wake on move", "Button response"}, {"Lights off moving"}},
        {"201:wireless", {"Battery", "Sleep", "Lights off moving"}, {"Wake on move", "Button response"}},
    };
    for (const Shown& c : shown) {
        const CliRun run = On(c.mouse, {"show"});
        ASSERT_EQ(run.exitCode, 0) << run;
        for (const std::string& line : c.lines)
            EXPECT_TRUE(Has(run.out, "\n" + line)) << c.mouse << ": " << line;
        for (const std::string& line : c.absent)
            EXPECT_FALSE(Has(run.out, "\n" + line)) << c.mouse << ": " << line;
    }
    const json wireless = On("103:wireless,battery=40", {"--json", "show"}).Json();
    EXPECT_EQ(wireless["model"]["battery_level"], 40);
    EXPECT_TRUE(doc["model"]["battery_level"].is_null());

    // A mouse that cannot go above 1000 Hz says so.
    EXPECT_TRUE(Has(On("102,rate_cap=0x20", {"show"}).out, "(this mouse offers 125 250 500 1000 Hz)"));

    // The same shown name in the list, in show and after a switch.
    const std::string listed = On("102", {"--json", "profile", "list"}).Json()[1]["shown_name"];
    const CliRun switched = On("102", {"--json", "profile", "switch", "2"});
    ASSERT_EQ(switched.exitCode, 0) << switched;
    EXPECT_EQ(switched.Json()["profile"]["shown_name"], listed);
    EXPECT_EQ(On("102", {"--json", "show"}).Json()["profile"]["shown_name"], listed);
    EXPECT_TRUE(Has(On("102", {"profile", "switch", "2"}).out, "active profile 2: " + listed + "\n"));
    EXPECT_TRUE(Has(On("102", {"show"}).out, "Profile 2: " + listed + "   (Quorvel R2"));
}

TEST_F(CliReporting, DevicesTellsAMouseOutOfReachFromAConnectedOne) {
    const CliRun run = Run({"--virtual", "103:wireless,link=0", "--virtual", "102,rate_cap=0x20", "--virtual",
                            "201", "--json", "devices"});
    ASSERT_EQ(run.exitCode, 0) << run;
    std::map<int, json> byType;
    for (const json& d : run.Json()) byType[d["device_type"].get<int>()] = d;
    struct Case {
        int type;
        std::string state;
        bool reachable;
        json battery;
        json rates;
    };
    const std::vector<Case> cases = {
        {103, "not reachable", false, nullptr, nullptr},
        {102, "connected", true, nullptr, json::parse("[125, 250, 500, 1000]")},  // wired only: no battery
        {201, "connected", true, 80, json::parse("[125, 250, 500, 1000]")},
    };
    for (const Case& c : cases) {
        const json& d = byType[c.type];
        EXPECT_EQ(d["state"], c.state) << d.dump();
        EXPECT_EQ(d["reachable"], c.reachable) << d.dump();
        EXPECT_EQ(d["battery_level"], c.battery) << d.dump();
        EXPECT_EQ(d["report_rates_hz"], c.rates) << d.dump();
    }
    const CliRun text = Run({"--virtual", "103:wireless,link=0", "devices"});
    EXPECT_TRUE(Has(text.out, "wireless  not reachable  -")) << text;
}

TEST_F(CliReporting, WithJsonEveryFailurePrintsOneDocument) {
    std::filesystem::create_directories(Path("folder.xml"));
    struct Case {
        Args args;
        int exit;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--virtual", "102", "--json", "dpi", "800", "--active", "4"},
         2,
         "dpi: --active must be a level from 1 to 1"},
        {{"--json", "frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"--json", "--frob"}, 2, "unknown option \"--frob\""},
        {{"--device", "--json"}, 2, "--device needs a device_type number"},
        {{"--virtual", "102", "--device", "201", "--json", "rate", "500"},
         1,
         "Quorvel F1 (device_type 201) is not connected"},
        {{"--virtual", "103:wireless,link=0", "--json", "rate", "500"}, 1, "did not answer the read-back"},
        {{"--virtual", "102", "--json", "profile", "import", Path("folder.xml")},
         1,
         "cannot read '" + Path("folder.xml") + "': Is a directory"},
        {{"--virtual", "102", "--json", "macro", "show", "7"}, 1, "no macro with id 7"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exit) << run;
        const json doc = run.Json();
        EXPECT_EQ(doc["error"]["exit"], c.exit) << doc.dump();
        EXPECT_TRUE(Has(doc["error"]["message"].get<std::string>(), c.message)) << doc.dump();
        EXPECT_TRUE(Has(run.err, c.message)) << run;  // the message stays on stderr too
    }
    // Without --json nothing goes to stdout.
    const CliRun plain = Run({"frobnicate"});
    EXPECT_TRUE(plain.out.empty()) << plain;
}

TEST_F(CliReporting, VersionAndUnknownOptions) {
    const CliRun version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0) << version;
    EXPECT_EQ(version.out, "quorvelctl 1.0.0\n");
    EXPECT_EQ(Run({"--json", "--version"}).Json(), json::parse(R"({"version": "1.0.0"})"));
    const CliRun option = Run({"--colour", "show"});
    EXPECT_EQ(option.exitCode, 2) << option;
    EXPECT_TRUE(Has(option.err, "unknown option \"--colour\"")) << option;
    EXPECT_TRUE(Has(Run({"--help"}).out, "sensor")) << "overview";
}

TEST_F(CliReporting, FileErrorsGiveTheSystemsReasonAndWhereXmlBreaks) {
    std::filesystem::create_directories(Path("folder.xml"));
    std::ofstream(Path("broken.xml"))
        << "<?xml version=\"1.0\"?>\n<profile>\n<profileinfo name=\"x\">\n</profile>\n";
    struct Case {
        Args command;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"profile", "import", Path("folder.xml")},
         "cannot read '" + Path("folder.xml") + "': Is a directory"},
        {{"macro", "import", Path("missing.xml")},
         "cannot read '" + Path("missing.xml") + "': No such file or directory"},
        {{"profile", "import", Path("broken.xml")},
         "'" + Path("broken.xml") +
             "' is not a well-formed XML document (line 4, column 3: start-end tags mismatch)"},
        {{"macro", "import-all", Path("broken.xml")}, "(line 4, column 3"},
        {{"profile", "export", Path("no/such/p.xml")},
         "cannot write '" + Path("no/such/p.xml") + "': No such file or directory"},
        {{"macro", "export-all", Path("folder.xml")},
         "cannot write '" + Path("folder.xml") + "': Is a directory"},
        {{"firmware", "flash", Path("folder.xml")},
         "cannot read '" + Path("folder.xml") + "': Is a directory"},
    };
    for (const Case& c : cases) {
        const CliRun run = On("102", c.command);
        EXPECT_EQ(run.exitCode, 1) << run;
        EXPECT_TRUE(Has(run.err, c.message)) << c.message << "\n" << run;
    }
}

TEST_F(CliReporting, AStateFileThatIsNotValidOrNotWritableIsReportedOnce) {
    std::ofstream(StatePath()) << "not json";
    const CliRun invalid = On("102", {"rate", "500"});
    EXPECT_EQ(invalid.exitCode, 0) << invalid;
    EXPECT_EQ(invalid.err, "quorvelctl: warning: virtual mouse state file " + StatePath() +
                               " is not a JSON object; ignored\n");
    // The run wrote a sound file: the next one is quiet and sees the mouse as it was left.
    const CliRun next = On("102", {"--json", "show"});
    EXPECT_EQ(next.err, "");
    EXPECT_EQ(next.Json()["settings"]["report_rate"], "2");

    const std::string unwritable = Path("no-such-folder/state.json");
    const CliRun lost = On("102", {"rate", "250"}, {{"QUORVEL_VIRTUAL_STATE", unwritable}});
    EXPECT_EQ(lost.exitCode, 0) << lost;
    EXPECT_EQ(lost.err, "quorvelctl: warning: cannot write virtual mouse state file " + unwritable +
                            ": No such file or directory\n");
}

}  // namespace
}  // namespace quorvel::test
