#include <cstdio>
#include <string_view>

#include "cli/CliOutput.h"
#include "cli/Commands.h"

namespace quorvel::cli {

namespace {

constexpr const char* kOverview =
    "Usage: quorvelctl [--product DIR] [--virtual SPEC]... [--device TYPE] [--json] COMMAND [ARGS]\n"
    "\n"
    "Configures the mice of the product: DPI levels, report rate, sensor and power options, buttons,\n"
    "lighting, profiles, macros, software and firmware updates. Every change is stored in the active\n"
    "profile and sent to the mouse.\n"
    "\n"
    "Global options (before or after the command):\n"
    "  --product DIR    folder with config.xml, device/ and language/ (default: the program's folder)\n"
    "  --virtual SPEC   attach a virtual mouse, TYPE[:wired|:wireless][,key=value...]; may be repeated\n"
    "  --device TYPE    the model to act on, by device_type (default: the remembered model when it is\n"
    "                   connected, else the first one found)\n"
    "  --json           machine-readable output on stdout\n"
    "  -h, --help       this help; after a command, that command's help\n"
    "  --version        the program's version\n"
    "\n"
    "Commands:\n";

constexpr const char* kEpilogue =
    "\n"
    "Exit status: 0 success, 1 the operation or the mouse failed, 2 a usage error. With --json a failure\n"
    "still prints one JSON document: {\"error\": {\"message\": ..., \"exit\": N}}.\n"
    "Environment: QUORVEL_VIRTUAL, QUORVEL_VIRTUAL_STATE, QUORVEL_HID_TRACE, XDG_CONFIG_HOME, XDG_DATA_HOME.\n"
    "Run 'quorvelctl COMMAND --help' for a command's arguments.\n";

const std::vector<CommandInfo> kCommands = {
    {"devices", "configured models and the mice found: link, state, battery, version, report rates",
     "Usage: quorvelctl devices\n"
     "\n"
     "Lists every model of config.xml and every mouse found: device_type, name, link (wired/wireless),\n"
     "state, battery, firmware version and the report rates the mouse offers. A wireless mouse its\n"
     "receiver cannot reach is 'not reachable' (no battery value). The model the other commands act on\n"
     "is marked with '*'. Succeeds also when no mouse is connected.\n",
     RunDevices},
    {"show", "the active profile: settings, buttons, lighting",
     "Usage: quorvelctl show\n"
     "\n"
     "Shows the active profile of the mouse's model: its number and name, the performance settings, all\n"
     "40 stored settings, the buttons with their functions and the lighting modes.\n",
     RunShow},
    {"read", "read the mouse's configuration back into the active profile, then show it",
     "Usage: quorvelctl read\n"
     "\n"
     "Finds the mouse, reads its configuration (report rate, DPI levels and colours, lighting, lift-off,\n"
     "sensor and power settings) into the active profile and shows the profile as 'show' does. Fails\n"
     "(exit 1) when the mouse does not answer.\n",
     RunRead},
    {"profile", "list, switch, rename, export, import profiles; bind them to applications",
     "Usage: quorvelctl profile list\n"
     "       quorvelctl profile switch N\n"
     "       quorvelctl profile rename N NAME\n"
     "       quorvelctl profile export FILE\n"
     "       quorvelctl profile import FILE\n"
     "       quorvelctl profile bind N APP\n"
     "       quorvelctl profile unbind N APP\n"
     "       quorvelctl profile bindings\n"
     "       quorvelctl profile follow\n"
     "\n"
     "A model has four profiles (N = 1-4); the active one is what the mouse carries. 'switch' makes N\n"
     "active and sends all of its settings to the mouse. 'export' writes the active profile to an XML\n"
     "file; 'import' loads such a file into the active profile (which takes the file's name) and sends it.\n"
     "\n"
     "'bind' makes profile N follow the application APP: while a window of APP is in front, N is the\n"
     "active profile. APP is compared, ignoring case, with both parts of the window's WM_CLASS (see\n"
     "'xprop WM_CLASS') and with the file name of its program. 'unbind' removes a binding, 'bindings'\n"
     "lists them. 'follow' watches the window in front until SIGINT or SIGTERM: a bound window that\n"
     "stays in front 300 ms makes its profile active; any other window brings back the profile that\n"
     "was active when 'follow' started. Needs an X11 or XWayland display.\n",
     RunProfile},
    {"dpi", "DPI levels: their values and the active level",
     "Usage: quorvelctl dpi V1 [V2 ... V6] [--active N]\n"
     "\n"
     "Sets the DPI levels in order; their number (1-6) becomes the level count. Each value is rounded\n"
     "down to the sensor's step and kept within its range, as the performance page does.\n"
     "  --active N   the active level, 1-based (default: the active level is kept, and moved to the last\n"
     "               level when the count drops below it)\n",
     RunDpi},
    {"dpi-colors", "indicator colours of the DPI levels",
     "Usage: quorvelctl dpi-colors C1 [C2 ... C6]\n"
     "\n"
     "Sets the colours of levels 1..n as #RRGGBB. A '-' keeps that level's colour. Pure black\n"
     "(#000000) cannot be chosen. The levels must be in use.\n",
     RunDpiColors},
    {"rate", "report rate in Hz",
     "Usage: quorvelctl rate HZ\n"
     "\n"
     "HZ is 125, 250, 500 or 1000; 2000, 4000 and 8000 only on a mouse that offers them.\n",
     RunRate},
    {"liftoff", "lift-off distance, 1 or 2 mm", "Usage: quorvelctl liftoff 1|2\n", RunLiftoff},
    {"sensor", "sensor options: angle snapping (4), ripple control (8), motion sync (16)",
     "Usage: quorvelctl sensor FLAGS\n"
     "       quorvelctl sensor +OPTION|-OPTION...\n"
     "\n"
     "The sensor options, as the performance page's three boxes:\n"
     "  4   angle-snapping   straightens slightly wavy movements into straight lines (helpful for\n"
     "                       drawing; usually left off for games)\n"
     "  8   ripple-control   smooths out cursor jitter at high DPI\n"
     "  16  motion-sync      times sensor readings to the report rate for steadier tracking\n"
     "FLAGS is the sum of the options wanted (0 clears all three). '+8' or '+ripple-control' switches one\n"
     "option on and '-4' one off, keeping the others: 'sensor +16 -4'.\n",
     RunSensor},
    {"power", "sleep time, wake on move, lights off while moving, button response time",
     "Usage: quorvelctl power [--sleep SECONDS] [--wake on|off] [--lights-off-moving on|off]\n"
     "                        [--response N]\n"
     "\n"
     "  --sleep SECONDS           10, 30, 60, 120, 300, 600, 1200 or 1800\n"
     "  --wake on|off             movement wakes the mouse\n"
     "  --lights-off-moving on|off  the lighting is off while the mouse moves\n"
     "  --response N              button response time, 0-20 (larger values become 20)\n"
     "At least one option is needed.\n",
     RunPower},
    {"button", "give a button another function",
     "Usage: quorvelctl button SLOT FUNCTION\n"
     "\n"
     "SLOT is the button's key code (see 'show'). FUNCTION is one of:\n"
     "  mouse:N  media:N  shortcut:N  dpi:N  special:N   a value of that function menu\n"
     "  macro:ID                 play a macro (see 'macro list'); it is uploaded with the button\n"
     "  click:A,B                the click function, A 5-255, B 0-255\n"
     "  fixed                    the fixed function\n"
     "  default                  the button's factory function\n"
     "  key:[ctrl+][shift+][alt+][win+]KEY\n"
     "                           a keyboard key with modifiers; KEY is a-z, 0-9, f1-f24, enter, esc,\n"
     "                           backspace, tab, space, lwin, rwin, or another key by its usual name\n"
     "                           (minus, equal, home, pageup, left, kp1, ...); rctrl, rshift, ralt and\n"
     "                           rwin are the right-hand modifiers (rwin last on its own is the key)\n"
     "The primary button (key code 0) keeps its function.\n",
     RunButton},
    {"buttons-reset", "every button back to its default function", "Usage: quorvelctl buttons-reset\n",
     RunButtonsReset},
    {"light", "lighting mode, brightness, speed and colour",
     "Usage: quorvelctl light MODE [--brightness 0-4] [--speed 0-4] [--color #RRGGBB] [--slot 1-7]\n"
     "\n"
     "Makes MODE the active lighting mode and changes its row as the lighting page does. Each mode\n"
     "offers only some adjustments; without other word from the model's descriptor, a profile's modes\n"
     "start as:\n"
     "  1 flowing, 2 breathing, 4 neon, 5 rainbow wave   brightness and speed\n"
     "  3 steady                                         brightness\n"
     "  0 off                                            nothing\n"
     "The sample models give breathing a row of seven colours and steady a colour.\n"
     "A mode whose row offers colours takes --color (with --slot for a row of seven colours); models with\n"
     "device_type above 200 take no lighting colours. 'show' lists what each mode of the active profile\n"
     "offers (column OFFERS).\n",
     RunLight},
    {"reset", "restore DPI levels, report rate, lighting or the factory state",
     "Usage: quorvelctl reset dpi|rate|lighting\n"
     "       quorvelctl reset factory [--yes]\n"
     "\n"
     "  dpi        the model's default DPI levels and colours, sent to the mouse\n"
     "  rate       the mouse restores its report rate\n"
     "  lighting   the mouse restores its lighting\n"
     "  factory    the mouse is reset and the model's database is recreated: all profiles, button\n"
     "             assignments, lighting rows and macros of the model are lost. On a terminal it asks\n"
     "             first; otherwise --yes must be given (without it nothing is touched, exit 2)\n",
     RunReset},
    {"macro", "macros: list, create, edit their events and play settings, import, export",
     "Usage: quorvelctl macro list\n"
     "       quorvelctl macro show ID\n"
     "       quorvelctl macro new [NAME]\n"
     "       quorvelctl macro rename ID NAME\n"
     "       quorvelctl macro delete ID\n"
     "       quorvelctl macro import FILE\n"
     "       quorvelctl macro import-all FILE\n"
     "       quorvelctl macro export ID FILE\n"
     "       quorvelctl macro export-all FILE\n"
     "       quorvelctl macro events ID\n"
     "       quorvelctl macro add ID [--at N] [--delay MS] EVENT...\n"
     "       quorvelctl macro type ID TEXT [--at N] [--delay MS]\n"
     "       quorvelctl macro change ID N delay:MS|key:NAME|button:NAME\n"
     "       quorvelctl macro move ID N up|down|top|bottom\n"
     "       quorvelctl macro delete-event ID N\n"
     "       quorvelctl macro clear ID\n"
     "       quorvelctl macro play ID [--times N] [--mode count|held|toggle]\n"
     "                                [--record-delays none|measured|fixed] [--fixed-delay MS]\n"
     "\n"
     "Macros belong to the model, not to a profile; a macro reaches the mouse when it is given to a\n"
     "button ('button SLOT macro:ID'), so give it again after editing it. 'import' reads a single-macro\n"
     "file, 'import-all' a file of several macros; imported macros get new numbers.\n"
     "\n"
     "Events are numbered from 1 ('macro events ID'). EVENT is one of:\n"
     "  key:NAME        press and release a key, with --delay MS (default 10, 0: none) after each\n"
     "  down:NAME up:NAME   press or release a key alone\n"
     "  click:BUTTON    press and release a mouse button (left, right, middle, back, forward)\n"
     "  press:BUTTON release:BUTTON   one of them alone\n"
     "  delay:MS        a pause of 1-10000 ms\n"
     "Key names as for 'button SLOT key:...', plus shift, rshift, ctrl, rctrl, alt, ralt, lwin, rwin.\n"
     "--at N inserts before event N (default: at the end). 'type' types TEXT (letters, digits, signs of\n"
     "a US keyboard, blank, tab, line end) as key pairs, with Shift where needed. A press and the release\n"
     "added with it stay a pair: 'change', 'move' and 'delete-event' act on both. The editor inserts\n"
     "nothing more once a macro holds 200 events.\n"
     "'play': --times N plays N times (1-999; 1-255 on models with device_type above 200); --mode held\n"
     "repeats while the button is held, toggle until it is pressed again; --record-delays and\n"
     "--fixed-delay are what the GUI's recorder uses.\n",
     RunMacro},
    {"update", "check for or install a newer software version",
     "Usage: quorvelctl update check\n"
     "       quorvelctl update install\n"
     "\n"
     "'check' asks the update server of config.xml for the newest version and tells whether it is newer.\n"
     "'install' checks first and, only when the server's version is newer, downloads the set-up program\n"
     "and starts it.\n",
     RunUpdate},
    {"firmware", "check for, download or flash mouse firmware",
     "Usage: quorvelctl firmware check\n"
     "       quorvelctl firmware update\n"
     "       quorvelctl firmware flash FILE [--force]\n"
     "\n"
     "'check' compares the mouse's firmware version with the newest one on the server of the model's\n"
     "descriptor. 'update' checks first and, only when the server's version is newer, downloads the image\n"
     "and sends it to the mouse. 'flash' sends a local image file: a missing, empty or oversized file is\n"
     "never sent; a ZIP archive, an XML or text file, a firmware-VERSION.bin that is not newer than the\n"
     "mouse's firmware, or a mouse connected through its receiver is refused unless --force. It says what\n"
     "it sends before it starts. A progress bar is drawn on a terminal.\n",
     RunFirmware},
};

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo& c : kCommands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

void PrintOverview() {
    std::string text = kOverview;
    for (const CommandInfo& c : kCommands) {
        std::string name = c.name;
        name.resize(16, ' ');
        text += "  " + name + c.summary + "\n";
    }
    text += kEpilogue;
    std::fputs(text.c_str(), stdout);
}

}  // namespace

const std::vector<CommandInfo>& CommandTable() { return kCommands; }

bool Invocation::Parse(const std::set<std::string>& valueOptions, const std::set<std::string>& flagOptions,
                       size_t minPositional, size_t maxPositional, int* exit) {
    std::string error;
    if (!args.Parse(valueOptions, flagOptions, &error)) {
        *exit = Usage(error);
        return false;
    }
    const size_t count = args.Positional().size();
    if (count < minPositional) {
        *exit = Usage("missing argument");
        return false;
    }
    if (count > maxPositional) {
        *exit = Usage("too many arguments (\"" + args.Positional()[maxPositional] + "\" is one too many)");
        return false;
    }
    return true;
}

int Invocation::Usage(const std::string& message) const {
    PrintUsageError(command, message);
    return kExitUsage;
}

namespace {

int RunWords(GlobalOptions options) {
    if (options.words.empty()) {
        if (options.help) {
            PrintOverview();
            return kExitOk;
        }
        PrintUsageError("", "no command given");
        return kExitUsage;
    }
    std::string name = options.words.front();
    std::vector<std::string> words(options.words.begin() + 1, options.words.end());
    if (name == "--version") {
        if (!words.empty()) {
            PrintUsageError("", "--version takes no argument");
            return kExitUsage;
        }
        if (options.json)
            PrintJson({{"version", QUORVEL_VERSION}});
        else
            PrintLine(std::string("quorvelctl ") + QUORVEL_VERSION);
        return kExitOk;
    }
    if (name == "help") {
        if (words.empty()) {
            PrintOverview();
            return kExitOk;
        }
        name = words.front();
        words.clear();
        options.help = true;
    }
    const CommandInfo* command = FindCommand(name);
    if (!command) {
        const bool option = name.size() > 1 && name[0] == '-';
        PrintUsageError("", std::string(option ? "unknown option" : "unknown command") + " \"" + name + "\"");
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(command->help, stdout);
        return kExitOk;
    }
    Invocation inv(options, name, std::move(words));
    return command->run(inv);
}

}  // namespace

int RunQuorvelctl(int argc, const char* const* argv) {
    GlobalOptions options;
    std::string error;
    int exit = kExitOk;
    if (!ParseGlobalOptions(argc, argv, &options, &error)) {
        PrintUsageError("", error);
        exit = kExitUsage;
        // --json may stand after the malformed option; the error document follows it all the same.
        for (int i = 1; i < argc; ++i) options.json = options.json || std::string_view(argv[i]) == "--json";
    } else {
        exit = RunWords(options);
    }
    if (options.json && exit != kExitOk) PrintErrorDocument(exit);
    return exit;
}

}  // namespace quorvel::cli
