// quorvelctl end to end: what the commands store and print, and how they fail.

#include <filesystem>
#include <fstream>

#include "CliRunner.h"
#include "TraceHelpers.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;
using nlohmann::json;

class Cli : public CliTest {
protected:
    // Runs against one virtual mouse (report family unless told).
    CliRun On(const std::string& mouse, Args args, const std::map<std::string, std::string>& env = {}) {
        args.insert(args.begin(), {"--virtual", mouse});
        return Run(args, env);
    }
    json Settings(const std::string& mouse, const std::map<std::string, std::string>& env = {}) {
        const CliRun run = On(mouse, {"--json", "show"}, env);
        EXPECT_EQ(run.exitCode, 0) << run;
        return run.Json()["settings"];
    }
};

TEST_F(Cli, DevicesListsEveryModelAndTheMiceOfBothFamilies) {
    const CliRun run = Run({"--virtual", "102", "--virtual", "201:wireless,battery=40,release=0x0210", "--json",
                            "devices"});
    ASSERT_EQ(run.exitCode, 0) << run;
    const json list = run.Json();
    ASSERT_EQ(list.size(), 3u) << list.dump(2);
    std::map<int, json> byType;
    for (const json& d : list) {
        for (const char* key : {"device_type", "name", "link_mode", "link_state", "battery_level", "battery_status",
                                "release"})
            EXPECT_TRUE(d.contains(key)) << key << " missing in " << d.dump();
        byType[d["device_type"].get<int>()] = d;
    }
    EXPECT_EQ(byType[102]["name"], "Quorvel R2");
    EXPECT_EQ(byType[102]["link_mode"], 0);
    EXPECT_EQ(byType[102]["link_state"], 1);
    // The wired-only R2 has no battery, whatever its info block says; the wireless ones do.
    EXPECT_TRUE(byType[102]["battery_level"].is_null());
    EXPECT_TRUE(byType[102]["battery_status"].is_null());
    EXPECT_EQ(byType[102]["features"], json::parse(R"({"wireless": false, "battery": false, "lights": true,
        "sleep_time": false, "wake_on_move": false, "lights_off_moving": true, "button_response": true})"));
    EXPECT_EQ(byType[103]["features"], json::parse(R"({"wireless": true, "battery": true, "lights": false,
        "sleep_time": true, "wake_on_move": true, "lights_off_moving": false, "button_response": true})"))
        << "a model that is not there still says what it has";
    EXPECT_EQ(byType[201]["features"], json::parse(R"({"wireless": true, "battery": true, "lights": true,
        "sleep_time": true, "wake_on_move": false, "lights_off_moving": true, "button_response": false})"));
    EXPECT_EQ(byType[102]["release"], 0x0105);
    EXPECT_EQ(byType[102]["version"], "1.05");
    EXPECT_EQ(byType[201]["link_mode"], 1);
    EXPECT_EQ(byType[201]["battery_level"], 40);
    EXPECT_EQ(byType[201]["release"], 0x0210);
    EXPECT_EQ(byType[103]["link_state"], 0);
    EXPECT_TRUE(byType[103]["release"].is_null());
    // Without --device the first mouse found is the one commands act on; --device picks another.
    EXPECT_EQ(byType[102]["selected"], true);
    EXPECT_EQ(byType[201]["selected"], false);
    const json picked =
        Run({"--virtual", "102", "--virtual", "201:wireless", "--device", "201", "--json", "devices"}).Json();
    for (const json& d : picked) EXPECT_EQ(d["selected"], d["device_type"] == 201) << d.dump();

    // No mouse at all is not an error for devices, but is for a command that needs one.
    const CliRun none = Run({"devices"}, {{"QUORVEL_VIRTUAL", ";"}});
    EXPECT_EQ(none.exitCode, 0) << none;
    EXPECT_NE(none.out.find("not found"), std::string::npos) << none;
    const CliRun show = Run({"show"}, {{"QUORVEL_VIRTUAL", ";"}});
    EXPECT_EQ(show.exitCode, 1) << show;
    EXPECT_NE(show.err.find("no mouse found"), std::string::npos) << show;
}

TEST_F(Cli, UnknownOrAbsentDeviceExits1) {
    const CliRun unknown = On("102", {"--device", "999", "show"});
    EXPECT_EQ(unknown.exitCode, 1) << unknown;
    EXPECT_NE(unknown.err.find("unknown device"), std::string::npos) << unknown;
    const CliRun absent = On("102", {"--device", "201", "rate", "500"});
    EXPECT_EQ(absent.exitCode, 1) << absent;
    EXPECT_NE(absent.err.find("Quorvel F1 (device_type 201) is not connected"), std::string::npos) << absent;
    // Nothing was sent to the mouse that is there.
    EXPECT_TRUE(CommandRequests(TakeTrace()).empty());
}

TEST_F(Cli, ShowPrintsTheWholeActiveProfileAsJson) {
    ASSERT_EQ(On("102", {"button", "2", "key:ctrl+a"}).exitCode, 0);
    const CliRun run = On("102", {"--json", "show"});
    ASSERT_EQ(run.exitCode, 0) << run;
    const json doc = run.Json();
    EXPECT_EQ(doc["profile"]["number"], 1);
    EXPECT_EQ(doc["profile"]["name"], "Profile 1");
    ASSERT_EQ(doc["settings"].size(), 40u);
    for (const auto& [key, value] : doc["settings"].items()) EXPECT_TRUE(value.is_string()) << key;
    EXPECT_EQ(doc["settings"]["version"], "1.0.1");
    EXPECT_EQ(doc["settings"]["doubleclick_time"], "550");
    // The key combination panel's description: modifier words, " + ", the key name.
    EXPECT_EQ(doc["buttons"], json::parse(R"([{"key_code": 2, "macro_type": 2, "macro_value": 4, "macro_value2": 1,
                                              "macro_value3": 0, "macro_desc": "Ctrl + A"}])"));
    // The model enables six lighting modes; each row carries every field of the lighting table.
    ASSERT_EQ(doc["lighting"].size(), 6u);
    for (const json& row : doc["lighting"]) {
        for (const char* key : {"mode", "brightness", "speed", "direction", "colorful", "colorindex", "color_value1",
                                "color_value7", "config_func", "reserved", "status"})
            EXPECT_TRUE(row[key].is_number()) << key << " in " << row.dump();
    }
}

TEST_F(Cli, TwoMiceKeepTheirOwnDatabasesAndTheChosenOneIsRemembered) {
    const Args both = {"--virtual", "102", "--virtual", "201:wireless"};
    auto run = [&](Args args) {
        args.insert(args.begin(), both.begin(), both.end());
        return Run(args);
    };
    ASSERT_EQ(run({"profile", "rename", "1", "Keep"}).exitCode, 0);
    ASSERT_EQ(run({"--device", "201", "profile", "rename", "1", "Gone"}).exitCode, 0);
    // Without --device the model named last is used again.
    EXPECT_EQ(run({"--json", "show"}).Json()["model"]["device_type"], 201);

    const CliRun reset = run({"--device", "201", "reset", "factory", "--yes"});
    ASSERT_EQ(reset.exitCode, 0) << reset;
    EXPECT_EQ(run({"--device", "201", "--json", "profile", "list"}).Json()[0]["name"], "Profile 1");
    EXPECT_EQ(run({"--device", "102", "--json", "profile", "list"}).Json()[0]["name"], "Keep");
}

TEST_F(Cli, ChangesAreStoredAsThePageStoresThem) {
    struct Case {
        Args command;
        std::map<std::string, std::string> settings;
    };
    const std::vector<Case> cases = {
        // Rounded down to the sensor's step (50) and kept in its range; the count follows the values.
        {{"dpi", "830", "20", "30000", "--active", "1"},
         {{"dpi_group0_value", "800"}, {"dpi_group1_value", "50"}, {"dpi_group2_value", "26000"},
          {"dpi_count", "3"}, {"dpi_index", "0"}}},
        // Without --active the active level moves inside the smaller count.
        {{"dpi", "400", "800", "1600", "3200", "6400", "12000", "--active", "6"}, {{"dpi_index", "5"}}},
        {{"dpi", "400", "800"}, {{"dpi_count", "2"}, {"dpi_index", "1"}}},
        {{"dpi-colors", "#FF8000", "-"}, {{"dpi_group0_rgb", "33023"}}},
        {{"rate", "250"}, {{"report_rate", "4"}, {"report_rate_wireless", "4"}}},
        {{"rate", "8000"}, {{"report_rate", "64"}, {"report_rate_wireless", "64"}}},
        {{"sensor", "12"}, {{"sensor_flag", "12"}}},
        {{"liftoff", "2"}, {{"liftoff_height", "2"}}},
        {{"power", "--sleep", "1800", "--response", "35"}, {{"sleep_light", "180"}, {"button_respondtime", "20"}}},
        {{"power", "--wake", "off", "--lights-off-moving", "on"}, {{"move_wakeup", "0"}, {"move_closelight", "1"}}},
    };
    for (const Case& c : cases) {
        const CliRun run = On("102", c.command);
        ASSERT_EQ(run.exitCode, 0) << c.command[0] << "\n" << run;
        const json settings = Settings("102");
        for (const auto& [key, value] : c.settings) EXPECT_EQ(settings[key], value) << c.command[0] << " " << key;
    }
}

TEST_F(Cli, ChangeOutputNamesTheStoredRowsAndTheConfirmedTask) {
    const CliRun run = On("102", {"--json", "power", "--response", "35"});
    ASSERT_EQ(run.exitCode, 0) << run;
    const json doc = run.Json();
    EXPECT_EQ(doc["stored"], (json{{"button_respondtime", "20"}}));
    EXPECT_EQ(doc["tasks"], json::parse(R"([{"task": 13, "name": "power settings", "status": "confirmed"}])"));
    EXPECT_NE(doc["note"].get<std::string>().find("35 -> 20"), std::string::npos);
}

TEST_F(Cli, SuccessiveRunsSeeTheSameMouse) {
    ASSERT_EQ(On("102", {"rate", "250"}).exitCode, 0);
    ASSERT_EQ(On("102", {"dpi", "400", "800", "1600"}).exitCode, 0);
    // Another user's data folder has no stored profile: what it shows was read back from the mouse.
    const std::map<std::string, std::string> elsewhere = {{"XDG_DATA_HOME", Path("other-data")},
                                                          {"XDG_CONFIG_HOME", Path("other-config")}};
    const json settings = Settings("102", elsewhere);
    EXPECT_EQ(settings["report_rate"], "4");
    EXPECT_EQ(settings["dpi_count"], "3");
    EXPECT_EQ(settings["dpi_group2_value"], "1600");
}

TEST_F(Cli, RefusedChangesExit1AndChangeNothing) {
    struct Case {
        std::string mouse;
        Args command;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"102,rate_cap=0x10", {"rate", "2000"}, "up to 1000 Hz"},
        {"201", {"rate", "8000"}, "up to 1000 Hz"},
        {"102", {"button", "0", "fixed"}, ""},
        {"102", {"button", "9", "fixed"}, "no button with key code 9"},
        {"102", {"button", "2", "macro:7"}, "no macro with id 7"},
        {"102", {"button", "2", "mouse:99"}, ""},
        {"102", {"dpi-colors", "#FF0000", "#FF0000", "#FF0000", "#FF0000", "#FF0000", "#FF0000"}, "not in use"},
        {"102", {"light", "9"}, "no lighting mode 9"},
        {"102", {"light", "3", "--speed", "4"}, "no speed"},
        {"201", {"light", "2", "--color", "#102030"}, "no lighting colours"},
    };
    for (const Case& c : cases) {
        const CliRun run = On(c.mouse, c.command);
        EXPECT_EQ(run.exitCode, 1) << c.command[0] << "\n" << run;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run;
        EXPECT_TRUE(CommandRequests(TakeTrace()).empty()) << c.command[0] << " " << c.command[1];
    }
    EXPECT_EQ(Settings("102")["report_rate"], "1");
}

TEST_F(Cli, MouseThatDoesNotAnswer) {
    // The receiver answers, the mouse behind it does not: nothing is stored or sent.
    for (const std::string mouse : {"103:wireless,link=0", "201:wireless,link=0"}) {
        for (const Args& command : {Args{"read"}, Args{"rate", "500"}, Args{"profile", "switch", "2"}}) {
            const CliRun run = On(mouse, command);
            EXPECT_EQ(run.exitCode, 1) << mouse << " " << command[0] << "\n" << run;
            EXPECT_NE(run.err.find("did not answer"), std::string::npos) << run;
        }
        EXPECT_TRUE(CommandRequests(TakeTrace()).empty()) << mouse;
        // The stored profile can still be looked at.
        const CliRun show = On(mouse, {"--json", "show"});
        EXPECT_EQ(show.exitCode, 0) << show;
        EXPECT_EQ(show.Json()["profile"]["number"], 1);
        EXPECT_NE(show.err.find("warning"), std::string::npos) << show;
    }
}

TEST_F(Cli, ProfilesSwitchRenameExportImport) {
    ASSERT_EQ(On("102", {"profile", "rename", "1", "My Setup"}).exitCode, 0);
    ASSERT_EQ(On("102", {"dpi", "400", "800", "1600", "3200", "6400", "12000", "--active", "3"}).exitCode, 0);
    const std::string file = Path("exported.xml");
    const CliRun exported = On("102", {"profile", "export", file});
    ASSERT_EQ(exported.exitCode, 0) << exported;
    // The stored name goes into the file, not the name as a list would show it.
    const std::string text = ReadWhole(file);
    EXPECT_NE(text.find("<profileinfo name=\"My Setup\">\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("<DPI6 value=\"12000\" color="), std::string::npos) << text;

    const CliRun switched = On("102", {"--json", "profile", "switch", "2"});
    ASSERT_EQ(switched.exitCode, 0) << switched;
    EXPECT_EQ(switched.Json()["tasks"][0]["task"], 5);
    const CliRun imported = On("102", {"profile", "import", file});
    ASSERT_EQ(imported.exitCode, 0) << imported;

    const json list = On("102", {"--json", "profile", "list"}).Json();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]["name"], "My Setup");
    EXPECT_EQ(list[1]["name"], "exported");  // an import names the profile after its file
    EXPECT_EQ(list[1]["active"], true);
    EXPECT_EQ(list[0]["active"], false);
    for (const json& p : list) {
        for (const char* key : {"number", "name", "active"}) EXPECT_TRUE(p.contains(key)) << p.dump();
    }
    const json settings = Settings("102");
    EXPECT_EQ(settings["dpi_group5_value"], "12000");
    EXPECT_EQ(settings["dpi_index"], "2");
}

TEST_F(Cli, RefusedFilesExit1AndLeaveTheProfileAlone) {
    {
        std::ofstream(Path("macro.xml")) << "<?xml version=\"1.0\"?>\n<macro>\n</macro>\n";
        std::ofstream(Path("broken.xml")) << "<profile><profileinfo";
        std::filesystem::create_directories(Path("folder.xml"));
    }
    for (const std::string name : {"missing.xml", "macro.xml", "broken.xml", "folder.xml"}) {
        const CliRun run = On("102", {"profile", "import", Path(name)});
        EXPECT_EQ(run.exitCode, 1) << name << "\n" << run;
        EXPECT_FALSE(run.err.empty()) << name;
    }
    const json list = On("102", {"--json", "profile", "list"}).Json();
    EXPECT_EQ(list[0]["name"], "Profile 1");
    const CliRun write = On("102", {"profile", "export", Path("no-such-folder/p.xml")});
    EXPECT_EQ(write.exitCode, 1) << write;
    const CliRun macro = On("102", {"macro", "import", Path("broken.xml")});
    EXPECT_EQ(macro.exitCode, 1) << macro;
}

TEST_F(Cli, MacroLibrary) {
    ASSERT_EQ(On("102", {"macro", "new"}).exitCode, 0);
    const CliRun second = On("102", {"--json", "macro", "new", "Second"});
    ASSERT_EQ(second.exitCode, 0) << second;
    EXPECT_EQ(second.Json()["macro"]["macro_id"], 2);
    ASSERT_EQ(On("102", {"macro", "rename", "1", "First"}).exitCode, 0);

    const std::string one = Path("one.xml"), all = Path("all.xml");
    ASSERT_EQ(On("102", {"macro", "export", "1", one}).exitCode, 0);
    ASSERT_EQ(On("102", {"macro", "export-all", all}).exitCode, 0);
    const CliRun imported = On("102", {"--json", "macro", "import", one});
    ASSERT_EQ(imported.exitCode, 0) << imported;
    EXPECT_EQ(imported.Json()["imported"][0]["macro_id"], 3);
    ASSERT_EQ(On("102", {"macro", "import-all", all}).exitCode, 0);
    ASSERT_EQ(On("102", {"macro", "delete", "2"}).exitCode, 0);

    const json list = On("102", {"--json", "macro", "list"}).Json();
    std::vector<std::pair<int, std::string>> got;
    for (const json& m : list) {
        for (const char* key : {"macro_id", "name", "play_type", "play_times", "delay_type", "delay_time"})
            EXPECT_TRUE(m.contains(key)) << m.dump();
        got.emplace_back(m["macro_id"].get<int>(), m["name"].get<std::string>());
    }
    const std::vector<std::pair<int, std::string>> expected = {{1, "First"}, {3, "First"}, {4, "First"}, {5, "Second"}};
    EXPECT_EQ(got, expected);

    const CliRun gone = On("102", {"macro", "show", "2"});
    EXPECT_EQ(gone.exitCode, 1) << gone;
    const CliRun shown = On("102", {"--json", "macro", "show", "1"});
    ASSERT_EQ(shown.exitCode, 0) << shown;
    EXPECT_EQ(shown.Json()["events"], json::array());
    // Macros never go to the mouse by themselves.
    EXPECT_TRUE(CommandRequests(TakeTrace()).empty());
}

}  // namespace
}  // namespace quorvel::test
