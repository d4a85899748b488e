// Writing a macro from the command line: the event commands, what they store (byte for byte in the
// exported file), the round trip through export and import, and their refusals.

#include <fstream>

#include "CliRunner.h"
#include "TraceHelpers.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;
using nlohmann::json;

class CliMacroEvents : public CliTest {
protected:
    CliRun On(Args args, const std::string& mouse = "102") {
        args.insert(args.begin(), {"--virtual", mouse});
        return Run(args);
    }
    void Ok(const Args& args, const std::string& mouse = "102") {
        const CliRun run = On(args, mouse);
        ASSERT_EQ(run.exitCode, 0) << run;
    }
};

// What the commands below leave in macro 1, as the macro file writes it.
constexpr const char* kExpectedFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<macro>\r\n"
    "<macroinfo macro_name=\"Combo\" macro_type=\"0\" play_times=\"3\" delay_type=\"1\" "
    "delay_time=\"0\"/>\r\n"
    "<macroitems>\r\n"
    "<item desc=\"↓  E\" index=\"0\" type=\"2\" value=\"69\" timestamp=\"1\"/>\r\n"
    "<item desc=\"20 ms\" index=\"1\" type=\"1\" value=\"20\" timestamp=\"2\"/>\r\n"
    "<item desc=\"↑  E\" index=\"2\" type=\"3\" value=\"69\" timestamp=\"1\"/>\r\n"
    "<item desc=\"↓  Shift\" index=\"3\" type=\"2\" value=\"160\" timestamp=\"5\"/>\r\n"
    "<item desc=\"↓  A\" index=\"4\" type=\"2\" value=\"65\" timestamp=\"6\"/>\r\n"
    "<item desc=\"↑  A\" index=\"5\" type=\"3\" value=\"65\" timestamp=\"6\"/>\r\n"
    "<item desc=\"↑  Shift\" index=\"6\" type=\"3\" value=\"160\" timestamp=\"5\"/>\r\n"
    "<item desc=\"↓  LB\" index=\"7\" type=\"4\" value=\"1\" timestamp=\"4\"/>\r\n"
    "<item desc=\"↑  LB\" index=\"8\" type=\"5\" value=\"1\" timestamp=\"4\"/>\r\n"
    "</macroitems>\r\n"
    "</macro>\r\n";

TEST_F(CliMacroEvents, EditsRoundTripThroughExportAndImport) {
    Ok({"macro", "new", "Combo"});
    Ok({"macro", "add", "1", "key:r", "--delay", "50"});                   // R down, 50, R up, 50
    Ok({"macro", "add", "1", "--at", "1", "click:left", "--delay", "0"});  // a button pair in front
    Ok({"macro", "type", "1", "A", "--delay", "0"});                       // Shift, A, A, Shift
    Ok({"macro", "change", "1", "4", "delay:20"});
    Ok({"macro", "change", "1", "5", "key:e"});  // the release of R: its press follows
    Ok({"macro", "move", "1", "1", "bottom"});   // the button pair goes to the end together
    Ok({"macro", "delete-event", "1", "4"});     // the 50 ms after the E pair
    const CliRun play = On({"--json", "macro", "play", "1", "--times", "3"});
    ASSERT_EQ(play.exitCode, 0) << play;
    EXPECT_EQ(play.Json()["macro"]["play_times"], 3);

    const std::string file = Path("combo.xml");
    Ok({"macro", "export", "1", file});
    EXPECT_EQ(ReadWhole(file), kExpectedFile);

    const CliRun imported = On({"--json", "macro", "import", file});
    ASSERT_EQ(imported.exitCode, 0) << imported;
    EXPECT_EQ(imported.Json()["imported"][0]["macro_id"], 2);
    const json original = On({"--json", "macro", "events", "1"}).Json();
    const json copy = On({"--json", "macro", "events", "2"}).Json();
    ASSERT_EQ(original.size(), 9u);
    EXPECT_EQ(copy, original);
    EXPECT_EQ(original[0], json::parse(R"({"position": 1, "record_index": 0, "type": 2, "event": "key down",
        "value": 69, "delay_time": 1, "desc": "↓  E", "paired_with": 3})"));

    const CliRun listed = On({"macro", "events", "1"});
    EXPECT_NE(listed.out.find("2  20 ms     delay        20\n"), std::string::npos) << listed;
    // None of this talked to the mouse.
    EXPECT_TRUE(CommandRequests(TakeTrace()).empty());
}

TEST_F(CliMacroEvents, PlayCountIsClampedByFamily) {
    struct Case {
        std::string mouse;
        Args options;
        json expected;  // play_type, play_times, delay_type, delay_time
        std::string note;
    };
    const std::vector<Case> cases = {
        {"102", {"--times", "1500"}, {0, 999, 1, 0}, "play count 1500 -> 999 (1-999 on this mouse)"},
        {"201", {"--times", "1500"}, {0, 255, 1, 0}, "play count 1500 -> 255 (1-255 on this mouse)"},
        {"102", {"--times", "0"}, {0, 1, 1, 0}, "play count 0 -> 1"},
        {"102", {"--mode", "held"}, {1, 1, 1, 0}, ""},
        {"102", {"--mode", "toggle", "--record-delays", "fixed"}, {2, 1, 2, 10}, ""},
        {"102", {"--fixed-delay", "20000"}, {0, 1, 2, 10000}, "fixed delay 20000 -> 10000 ms"},
    };
    for (const Case& c : cases) {
        const CliRun made = On({"--json", "macro", "new"}, c.mouse);
        ASSERT_EQ(made.exitCode, 0) << made;
        Args args = {"--json", "macro", "play", std::to_string(made.Json()["macro"]["macro_id"].get<int>())};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun run = On(args, c.mouse);
        ASSERT_EQ(run.exitCode, 0) << run;
        const json macro = run.Json()["macro"];
        EXPECT_EQ(json({macro["play_type"], macro["play_times"], macro["delay_type"], macro["delay_time"]}),
                  c.expected)
            << c.mouse << " " << c.options[0];
        const std::string note = run.Json().value("note", "");
        EXPECT_NE(note.find(c.note), std::string::npos) << run;
    }
}

TEST_F(CliMacroEvents, MistakesAreRefusedAndChangeNothing) {
    Ok({"macro", "new", "M"});
    Ok({"macro", "add", "1", "key:a"});
    struct Case {
        Args command;
        int exit;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"macro", "add", "1", "key:nosuchkey"}, 2, "unknown key name \"nosuchkey\""},
        {{"macro", "add", "1", "click:thumb"}, 2, "unknown mouse button \"thumb\""},
        {{"macro", "add", "1", "delay:0"}, 2, "a delay is 1-10000 ms"},
        {{"macro", "add", "1", "wiggle"}, 2, "is not an event"},
        {{"macro", "add", "1"}, 2, "missing argument"},
        {{"macro", "add", "1", "--delay", "-1", "key:a"}, 2, "--delay is 0-10000"},
        {{"macro", "type", "1", "caf\xC3\xA9"}, 1, "character 4 (\"\xC3\xA9\") cannot be typed"},
        {{"macro", "change", "1", "2", "key:b"}, 1, "event 2 is a delay; give delay:MS"},
        {{"macro", "change", "1", "1", "delay:5"}, 1, "event 1 is a key down; give key:NAME"},
        {{"macro", "change", "1", "9", "delay:5"}, 1, "event 9 does not exist (macro 1 has 4 events)"},
        {{"macro", "move", "1", "1", "sideways"}, 2, "is not up, down, top or bottom"},
        {{"macro", "delete-event", "1", "0"}, 2, "is not an event number"},
        {{"macro", "add", "2", "key:a"}, 1, "no macro with id 2"},
        {{"macro", "play", "1"}, 2, "give at least one of"},
        {{"macro", "play", "1", "--mode", "held", "--times", "2"},
         1,
         "a play count goes with play type 0 only"},
        {{"macro", "play", "1", "--mode", "loop"}, 2, "--mode is one of count, held, toggle"},
    };
    const json before = On({"--json", "macro", "show", "1"}).Json();
    for (const Case& c : cases) {
        const CliRun run = On(c.command);
        EXPECT_EQ(run.exitCode, c.exit) << run;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << "\n" << run;
    }
    EXPECT_EQ(On({"--json", "macro", "show", "1"}).Json(), before);
}

TEST_F(CliMacroEvents, TheEditorsLimitStopsInsertion) {
    Ok({"macro", "new", "Long"});
    // 50 letters make 200 events with their delays.
    Ok({"macro", "type", "1", std::string(50, 'x')});
    const CliRun full = On({"macro", "add", "1", "delay:5"});
    EXPECT_EQ(full.exitCode, 1) << full;
    EXPECT_NE(full.err.find("already holds 200 events"), std::string::npos) << full;
}

TEST_F(CliMacroEvents, WrongFileFormsAndEmptyMacrosAreCalledOut) {
    Ok({"macro", "new", "Empty"});
    const std::string single = Path("single.xml"), list = Path("list.xml");
    Ok({"macro", "export", "1", single});
    Ok({"macro", "export-all", list});

    const CliRun asList = On({"macro", "import-all", single});
    EXPECT_EQ(asList.exitCode, 1) << asList;
    EXPECT_NE(asList.err.find("holds a single macro"), std::string::npos) << asList;
    EXPECT_NE(asList.err.find("'quorvelctl macro import FILE'"), std::string::npos) << asList;
    const CliRun asSingle = On({"macro", "import", list});
    EXPECT_EQ(asSingle.exitCode, 1) << asSingle;
    EXPECT_NE(asSingle.err.find("'quorvelctl macro import-all FILE'"), std::string::npos) << asSingle;
    EXPECT_EQ(On({"--json", "macro", "list"}).Json().size(), 1u);  // nothing was added

    const CliRun empty = On({"button", "3", "macro:1"});
    EXPECT_EQ(empty.exitCode, 0) << empty;
    EXPECT_NE(empty.err.find("warning: macro 1 has no events"), std::string::npos) << empty;
    Ok({"macro", "add", "1", "key:a"});
    const CliRun filled = On({"button", "3", "macro:1"});
    EXPECT_EQ(filled.err, "") << filled;
}

}  // namespace
}  // namespace quorvel::test
