// What each kind of command sends to the mouse, byte for byte, read from the HID trace of a real run.
// The expected requests are built from the request layouts of each family, not taken from a run.

#include <algorithm>
#include <fstream>

#include "CliRunner.h"
#include "TraceHelpers.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;

// A single-macro file: key down A, 50 ms, key up A; played once (play type 0, count 1).
constexpr const char* kMacroFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<macro>\r\n"
    "<macroinfo macro_name=\"Hello\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" delay_time=\"0\"/>\r\n"
    "<macroitems>\r\n"
    "<item desc=\"down A\" index=\"0\" type=\"2\" value=\"65\" timestamp=\"1\"/>\r\n"
    "<item desc=\"50 ms\" index=\"1\" type=\"1\" value=\"50\" timestamp=\"2\"/>\r\n"
    "<item desc=\"up A\" index=\"2\" type=\"3\" value=\"65\" timestamp=\"1\"/>\r\n"
    "</macroitems>\r\n"
    "</macro>\r\n";

const Args kSixLevels = {"dpi", "400", "800", "1600", "3200", "6400", "12000", "--active", "2"};

// The default lighting rows: red, green, blue, cyan, yellow, magenta, white as R, G, B bytes.
const std::vector<int> kDefaultColours = {0xFF, 0, 0, 0, 0xFF, 0,    0,    0,    0xFF, 0,    0xFF,
                                          0xFF, 0xFF, 0xFF, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF};

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct TraceCase {
    const char* name;
    const char* mouse;  // --virtual
    std::vector<Args> setup;
    Args command;
    std::vector<std::string> expected;
};

std::ostream& operator<<(std::ostream& os, const TraceCase& c) { return os << c.name; }

// Report family, sensor 149 (DPI -> raw d / 50 - 1): 400 7, 800 15, 1600 31, 3200 63, 6400 127, 12000 239.
// Feature family F1, sensor 53 (d / 100): 4, 8, 16, 32, 64, 120.
const TraceCase kCases[] = {
    {"ReportDpiLevels", "102", {}, kSixLevels, {ReportWrite({0x00, 0x03, 0x00, 0x01, 0x25, 0x16, 0x07, 0,
                                                             0x07, 0,    0x0F, 0,    0x0F, 0,    0x1F, 0,
                                                             0x1F, 0,    0x3F, 0,    0x3F, 0,    0x7F, 0,
                                                             0x7F, 0,    0xEF, 0,    0xEF, 0})}},
    {"ReportDpiColours",
     "102",
     {kSixLevels},
     {"dpi-colors", "#FF0000", "#00FF00", "#0000FF", "#FFFF00", "#FF00FF", "#00FFFF"},
     {ReportWrite({0x00, 0x04, 0x00, 0x01, 0x12, 0xFF, 0, 0,    0, 0xFF, 0,   0,
                   0,    0xFF, 0xFF, 0xFF, 0,    0xFF, 0, 0xFF, 0, 0xFF, 0xFF})}},
    {"ReportRate", "102", {}, {"rate", "500"}, {ReportWrite({0x00, 0x02, 0x00, 0x01, 0x01, 0x02})}},
    {"ReportAdvanced",
     "102",
     {{"sensor", "12"}},
     {"liftoff", "2"},
     {ReportWrite({0x00, 0x06, 0x00, 0x01, 0x05, 0x02, 0x01, 0x01})}},
    {"ReportPower",
     "102",
     {},
     {"power", "--sleep", "60", "--wake", "off", "--lights-off-moving", "on", "--response", "12"},
     {ReportWrite({0x00, 0x07, 0x00, 0x01, 0x04, 0x06, 0x00, 0x01, 0x0C})}},
    {"ReportKeyCombination",
     "102",
     {},
     {"button", "2", "key:ctrl+a"},
     {ReportWrite({0x00, 0x09, 0x00, 0x01, 0x0F, 0x10, 0x01, 0, 0x10, 0x02, 0, 0x70,
                   0x01, 0x04, 0x10, 0x08, 0,    0x10, 0x10, 0, 0x40, 0x01, 0})}},
    {"ReportDefaultKeys",
     "102",
     {{"button", "3", "media:1"}},
     {"buttons-reset"},
     {ReportWrite({0x00, 0x09, 0x00, 0x01, 0x0F, 0x10, 0x01, 0, 0x10, 0x02, 0, 0x10,
                   0x04, 0,    0x10, 0x08, 0,    0x10, 0x10, 0, 0x40, 0x01, 0})}},
    {"ReportMacroUpload",
     "102",
     {{"macro", "import", "@macro.xml"}},
     {"button", "3", "macro:1"},
     {ReportWrite({0x00, 0x08, 0x00, 0x01, 0x09, 0x03, 0x30, 0x32, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}),
      ReportWrite({0x00, 0x09, 0x00, 0x01, 0x0F, 0x10, 0x01, 0, 0x10, 0x02, 0, 0x10,
                   0x04, 0,    0x90, 0x23, 0x01, 0x10, 0x10, 0, 0x40, 0x01, 0})}},
    // The same macro written with the event commands sends the same bytes.
    {"ReportMacroFromCommands",
     "102",
     {{"macro", "new", "Hello"}, {"macro", "add", "1", "down:a", "delay:50", "up:a"}},
     {"button", "3", "macro:1"},
     {ReportWrite({0x00, 0x08, 0x00, 0x01, 0x09, 0x03, 0x30, 0x32, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}),
      ReportWrite({0x00, 0x09, 0x00, 0x01, 0x0F, 0x10, 0x01, 0, 0x10, 0x02, 0, 0x10,
                   0x04, 0,    0x90, 0x23, 0x01, 0x10, 0x10, 0, 0x40, 0x01, 0})}},
    {"ReportLighting",
     "102",
     {},
     {"light", "2", "--brightness", "1", "--speed", "3"},
     {ReportWrite(Concat({0x00, 0x05, 0x00, 0x01, 0x18, 0x02, 0x13, 0x07}, kDefaultColours))}},
    // Steady takes one colour, breathing a colour in any of its seven slots: 0xFF8000 goes out as FF 80 00.
    // (Breathing is the mouse's active mode, read back at brightness 2, speed 2.)
    {"ReportSteadyColour",
     "102",
     {},
     {"light", "3", "--color", "#FF8000"},
     {ReportWrite({0x00, 0x05, 0x00, 0x01, 0x05, 0x03, 0x42, 0xFF, 0x80, 0x00})}},
    {"ReportBreathingColourSlot",
     "102",
     {},
     {"light", "2", "--color", "#FF8000", "--slot", "3"},
     {ReportWrite(
         Concat({0x00, 0x05, 0x00, 0x01, 0x18, 0x02, 0x22, 0x07, 0xFF, 0, 0, 0, 0xFF, 0, 0xFF, 0x80, 0},
                std::vector<int>(kDefaultColours.begin() + 9, kDefaultColours.end())))}},
    {"ReportRateReset",
     "102",
     {},
     {"reset", "rate"},
     {ReportWrite({0x00, 0x0D, 0x00, 0x01, 0x01, 0x01}), ReportWrite({0x00, 0x12})}},
    {"ReportFactoryReset",
     "102",
     {},
     {"reset", "factory", "--yes"},
     {ReportWrite({0x00, 0x0F, 0x00, 0x01, 0x01, 0xFF}), ReportWrite({0x00, 0x11}), ReportWrite({0x00, 0x12}),
      ReportWrite({0x00, 0x13}), ReportWrite({0x00, 0x13}), ReportWrite({0x00, 0x14}),
      ReportWrite({0x00, 0x15}), ReportWrite({0x00, 0x16}), ReportWrite({0x00, 0x17})}},

    {"FeatureDpiLevels", "201", {}, kSixLevels, {FeatureSend({0x0C, 0x01, 0x05, 0x00, 0x00, 0x01, 0x12,
                                                              0x26, 0x3F, 4,    0,    8,    0,    0x10,
                                                              0,    0x20, 0,    0x40, 0,    0x78, 0})}},
    {"FeatureRate",
     "201",
     {},
     {"rate", "500"},
     {FeatureSend({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02})}},
    {"FeaturePower",
     "201",
     {},
     {"power", "--sleep", "60", "--wake", "off", "--lights-off-moving", "on", "--response", "12"},
     {FeatureSend({0x0C, 0x01, 0x0B, 0x00, 0x00, 0x01, 0x02, 0x06, 0x01}),
      FeatureSend({0x0C, 0x01, 0x0C, 0x00, 0x01, 0x01, 0x01, 0x00})}},
    {"FeatureKeyCombination",
     "201",
     {},
     {"button", "2", "key:ctrl+a"},
     {FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x00, 0x01, 0x04, 0x02, 0x70, 0x01, 0x04})}},
    {"FeatureDefaultKeys",
     "201",
     {},
     {"buttons-reset"},
     {FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x00, 0x01, 0x04, 0x00, 0x10, 0x01, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x01, 0x01, 0x04, 0x01, 0x10, 0x02, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x02, 0x01, 0x04, 0x02, 0x10, 0x04, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x03, 0x01, 0x04, 0x03, 0x10, 0x08, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x04, 0x01, 0x04, 0x04, 0x10, 0x10, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x05, 0x01, 0x04, 0x05, 0x40, 0x01, 0x00}),
      // every button of the model: 6 and 7 too, with the single-key default
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x06, 0x01, 0x04, 0x06, 0x10, 0x00, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x07, 0x01, 0x04, 0x07, 0x10, 0x00, 0x00})}},
    {"FeatureMacroUpload",
     "201",
     {{"macro", "import", "@macro.xml"}},
     {"button", "3", "macro:1"},
     {FeatureSend({0x0C, 0x01, 0x0E, 0x00, 0x00, 0x01, 0x07, 0x03, 0x30, 0x32, 0x04, 0xB0, 0x00, 0x04}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x01, 0x01, 0x04, 0x03, 0x90, 0x23, 0x01})}},
    {"FeatureMacroFromCommands",
     "201",
     {{"macro", "new", "Hello"}, {"macro", "add", "1", "down:a", "delay:50", "up:a"}},
     {"button", "3", "macro:1"},
     {FeatureSend({0x0C, 0x01, 0x0E, 0x00, 0x00, 0x01, 0x07, 0x03, 0x30, 0x32, 0x04, 0xB0, 0x00, 0x04}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x01, 0x01, 0x04, 0x03, 0x90, 0x23, 0x01})}},
    {"FeatureLighting",
     "201",
     {},
     {"light", "2", "--brightness", "1", "--speed", "3"},
     {FeatureSend(Concat({0x0C, 0x01, 0x08, 0x00, 0x00, 0x01, 0x18, 0x02, 0x13, 0x07}, kDefaultColours))}},
    // The mouse's reset, then the feature family's lighting reset on the recreated profile: mode 2 at
    // brightness 2, speed 2.
    {"FeatureFactoryReset",
     "201",
     {},
     {"reset", "factory", "--yes"},
     {FeatureSend({0x0C, 0x01, 0x0F, 0x00, 0x00, 0x01, 0x01, 0xFF}),
      FeatureSend(Concat({0x0C, 0x01, 0x08, 0x00, 0x01, 0x01, 0x18, 0x02, 0x22, 0x07}, kDefaultColours))}},
    // A new profile from the model's defaults: each of the eight buttons with its own function, lighting
    // mode 1 (brightness 4, speed 2), the descriptor's six levels 400-12000 and 26000 cut to the sensor's
    // 16000 with the third active, its six colours, 1000 Hz, lift-off 1 with sensor option 4 of 53, sleep 6
    // (one minute) and lights kept on while moving.
    {"FeatureWholeProfile",
     "201",
     {},
     {"profile", "switch", "2"},
     {FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x00, 0x01, 0x04, 0x00, 0x10, 0x01, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x01, 0x01, 0x04, 0x01, 0x10, 0x02, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x02, 0x01, 0x04, 0x02, 0x10, 0x04, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x03, 0x01, 0x04, 0x03, 0x10, 0x08, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x04, 0x01, 0x04, 0x04, 0x10, 0x10, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x05, 0x01, 0x04, 0x05, 0x40, 0x01, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x06, 0x01, 0x04, 0x06, 0x10, 0x00, 0x00}),
      FeatureSend({0x0C, 0x01, 0x04, 0x00, 0x07, 0x01, 0x04, 0x07, 0x10, 0x00, 0x00}),
      FeatureSend({0x0C, 0x01, 0x08, 0x00, 0x08, 0x01, 0x03, 0x01, 0x42, 0x00}),
      FeatureSend({0x0C, 0x01, 0x05, 0x00, 0x09, 0x01, 0x12, 0x36, 0x3F, 4, 0,
                   8,    0,    0x10, 0,    0x20, 0,    0x40, 0,    0xA0, 0}),
      FeatureSend({0x0C, 0x01, 0x06, 0x00, 0x0A, 0x01, 0x18, 0xFF, 0,    0, 0,    0,   0xFF,
                   0,    0xFF, 0,    0xFF, 0xFF, 0,    0xFF, 0,    0xFF, 0, 0xFF, 0xFF}),
      FeatureSend({0x0C, 0x01, 0x07, 0x00, 0x0B, 0x01, 0x01, 0x01}),
      FeatureSend({0x0C, 0x01, 0x07, 0x00, 0x0C, 0x01, 0x02, 0x01, 0x01}),
      FeatureSend({0x0C, 0x01, 0x0B, 0x00, 0x0D, 0x01, 0x02, 0x06, 0x00}),
      FeatureSend({0x0C, 0x01, 0x0C, 0x00, 0x0E, 0x01, 0x01, 0x00})}},
};

class CommandTrace : public CliTest, public ::testing::WithParamInterface<TraceCase> {};

TEST_P(CommandTrace, SendsExactlyTheseRequests) {
    const TraceCase& c = GetParam();
    {
        std::ofstream(Path("macro.xml"), std::ios::binary) << kMacroFile;
    }
    auto withMouse = [&](Args args) {
        for (std::string& a : args) {
            if (a == "@macro.xml") a = Path("macro.xml");
        }
        args.insert(args.begin(), {"--virtual", c.mouse});
        return args;
    };
    for (const Args& step : c.setup) {
        const CliRun run = Run(withMouse(step));
        ASSERT_EQ(run.exitCode, 0) << run;
    }
    TakeTrace();

    const CliRun run = Run(withMouse(c.command));
    ASSERT_EQ(run.exitCode, 0) << run;
    const std::vector<std::string> trace = TakeTrace();
    EXPECT_EQ(CommandRequests(trace), c.expected);
    EXPECT_TRUE(UnconfirmedWrites(trace).empty());
}

// A profile first used on a mouse that was read (report family) runs at the model's 1000 Hz like the one
// the mouse was read into, not at the built-in 500 Hz.
TEST_F(CliTest, ANewProfileSendsTheModelsReportRate) {
    TakeTrace();
    const CliRun run = Run({"--virtual", "102", "profile", "switch", "2"});
    ASSERT_EQ(run.exitCode, 0) << run;
    const std::vector<std::string> requests = CommandRequests(TakeTrace());
    const std::string rate1000 = ReportWrite({0x00, 0x02, 0x00, 0x01, 0x01, 0x01});
    EXPECT_EQ(std::count(requests.begin(), requests.end(), rate1000), 1)
        << ::testing::PrintToString(requests);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, CommandTrace, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TraceCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quorvel::test
