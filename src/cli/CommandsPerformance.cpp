// dpi, dpi-colors, rate, liftoff, sensor, power: the performance page's changes.

#include "actions/PerformanceActions.h"
#include "cli/Commands.h"

namespace quorvel::cli {

namespace {

constexpr int kMaxLevels = 6;
constexpr int kSleepChoices[] = {10, 30, 60, 120, 300, 600, 1200, 1800};

}  // namespace

int RunDpi(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({"active"}, {}, 1, kMaxLevels, &exit)) return exit;
    std::vector<int> values;
    for (const std::string& word : inv.args.Positional()) {
        int v = 0;
        if (!ParseInt(word, &v) || v < 0) return inv.Usage("\"" + word + "\" is not a DPI value");
        values.push_back(v);
    }
    std::optional<int> active;
    if (auto text = inv.args.Value("active")) {
        int level = 0;
        if (!ParseInt(*text, &level) || level < 1 || level > static_cast<int>(values.size()))
            return inv.Usage("--active must be a level from 1 to " + std::to_string(values.size()));
        active = level - 1;
    }
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    return inv.session.FinishAction(SetDpiLevels(inv.session.Context(), values, active));
}

int RunDpiColors(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, kMaxLevels, &exit)) return exit;
    std::vector<std::optional<std::string>> colours;
    for (const std::string& word : inv.args.Positional()) {
        if (word == "-") {
            colours.emplace_back();
            continue;
        }
        int colour = 0;
        if (!ParseColourText(word, &colour)) return inv.Usage("\"" + word + "\" is not a colour of the form #RRGGBB");
        if (colour == 0) return inv.Usage("pure black (#000000) cannot be a level colour");
        colours.emplace_back(word);
    }
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    return inv.session.FinishAction(SetDpiColours(inv.session.Context(), colours));
}

int RunRate(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 1, &exit)) return exit;
    int hertz = 0;
    const std::string& word = inv.args.Positional()[0];
    if (!ParseInt(word, &hertz) || ReportRateCodeOfHz(hertz) == 0)
        return inv.Usage("\"" + word + "\" is not a report rate (125, 250, 500, 1000, 2000, 4000 or 8000)");
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    return inv.session.FinishAction(SetReportRate(inv.session.Context(), hertz));
}

int RunLiftoff(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 1, &exit)) return exit;
    int mm = 0;
    const std::string& word = inv.args.Positional()[0];
    if (!ParseInt(word, &mm) || (mm != 1 && mm != 2)) return inv.Usage("the lift-off distance is 1 or 2 (mm)");
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    return inv.session.FinishAction(SetLiftOff(inv.session.Context(), mm));
}

namespace {

struct SensorWord {
    const char* name;
    int bit;
};
constexpr SensorWord kSensorWords[] = {{"4", 4},   {"angle-snapping", 4}, {"8", 8}, {"ripple-control", 8},
                                       {"16", 16}, {"motion-sync", 16}};

// "+8", "-angle-snapping": the option bit and whether it is switched on; false for anything else.
bool SensorSwitch(const std::string& word, int* bit, bool* on) {
    if (word.size() < 2 || (word[0] != '+' && word[0] != '-')) return false;
    *on = word[0] == '+';
    for (const SensorWord& w : kSensorWords) {
        if (word.substr(1) == w.name) {
            *bit = w.bit;
            return true;
        }
    }
    return false;
}

}  // namespace

int RunSensor(Invocation& inv) {
    // "+8 -4" switches options one at a time; they look like options, so they are read before the parser.
    int setBits = 0, clearBits = 0;
    bool switches = !inv.args.Words().empty();
    for (const std::string& word : inv.args.Words()) {
        int bit = 0;
        bool on = false;
        if (!SensorSwitch(word, &bit, &on)) {
            switches = false;
            break;
        }
        (on ? setBits : clearBits) |= bit;
    }
    if (switches) {
        if (setBits & clearBits) return inv.Usage("an option cannot be switched on and off at once");
        if (int rc = inv.session.Open(Need::kMouse)) return rc;
        PerformanceSettings now;
        const ActionResult read = ReadPerformance(inv.session.Context(), &now);
        if (!read.ok) return inv.session.FinishAction(read);
        return inv.session.FinishAction(
            SetSensorFlags(inv.session.Context(), (now.sensorFlags | setBits) & ~clearBits));
    }
    int exit = kExitOk;
    if (!inv.Parse({}, {}, 1, 1, &exit)) return exit;
    int flags = 0;
    const std::string& word = inv.args.Positional()[0];
    if (!ParseInt(word, &flags) || flags < 0 || (flags & ~(4 | 8 | 16)) != 0)
        return inv.Usage("\"" + word + "\" is not a sum of 4, 8 and 16, nor +N / -N switches");
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    return inv.session.FinishAction(SetSensorFlags(inv.session.Context(), flags));
}

int RunPower(Invocation& inv) {
    int exit = kExitOk;
    if (!inv.Parse({"sleep", "wake", "lights-off-moving", "response"}, {}, 0, 0, &exit)) return exit;
    PowerChange change;
    if (auto text = inv.args.Value("sleep")) {
        int seconds = 0;
        bool offered = ParseInt(*text, &seconds);
        if (offered) {
            offered = false;
            for (int s : kSleepChoices) offered = offered || s == seconds;
        }
        if (!offered) return inv.Usage("--sleep is one of 10, 30, 60, 120, 300, 600, 1200, 1800 (seconds)");
        change.sleepSeconds = seconds;
    }
    for (const char* name : {"wake", "lights-off-moving"}) {
        auto text = inv.args.Value(name);
        if (!text) continue;
        bool on = false;
        if (!ParseOnOff(*text, &on)) return inv.Usage(std::string("--") + name + " is on or off");
        (std::string(name) == "wake" ? change.wakeOnMove : change.lightsOffMoving) = on;
    }
    if (auto text = inv.args.Value("response")) {
        int time = 0;
        if (!ParseInt(*text, &time)) return inv.Usage("--response needs a number (0-20)");
        change.buttonResponseTime = time;
    }
    if (!change.sleepSeconds && !change.wakeOnMove && !change.lightsOffMoving && !change.buttonResponseTime)
        return inv.Usage("give at least one of --sleep, --wake, --lights-off-moving, --response");
    if (int rc = inv.session.Open(Need::kMouse)) return rc;
    return inv.session.FinishAction(SetPower(inv.session.Context(), change));
}

}  // namespace quorvel::cli
