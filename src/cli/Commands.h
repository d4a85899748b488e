#pragma once
// The commands of quorvelctl. Each command first checks its arguments (a usage error exits 2 before
// anything is touched), then opens the session as far as it needs and does its work.

#include <set>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/CliSession.h"

namespace quorvel::cli {

struct Invocation {
    Invocation(const GlobalOptions& global, std::string name, std::vector<std::string> words)
        : options(global), command(std::move(name)), args(std::move(words)), session(global) {}

    GlobalOptions options;
    std::string command;  // "dpi", "profile", ...
    CommandArgs args;     // the words after the command
    Session session;

    // Parses the command's options and checks the number of positional words; on error prints the usage
    // message and sets *exit to kExitUsage.
    bool Parse(const std::set<std::string>& valueOptions, const std::set<std::string>& flagOptions,
               size_t minPositional, size_t maxPositional, int* exit);
    // Prints "quorvelctl COMMAND: message" and the help hint; returns kExitUsage.
    int Usage(const std::string& message) const;
};

using CommandFn = int (*)(Invocation&);

struct CommandInfo {
    const char* name;
    const char* summary;  // one line for the overview
    const char* help;     // the full help text
    CommandFn run;
};

const std::vector<CommandInfo>& CommandTable();
// The whole program: parses argv, runs the command, returns the exit status.
int RunQuorvelctl(int argc, const char* const* argv);

// Commands, by group.
int RunDevices(Invocation& inv);
int RunShow(Invocation& inv);
int RunRead(Invocation& inv);
int RunDpi(Invocation& inv);
int RunDpiColors(Invocation& inv);
int RunRate(Invocation& inv);
int RunLiftoff(Invocation& inv);
int RunSensor(Invocation& inv);
int RunPower(Invocation& inv);
int RunReset(Invocation& inv);
int RunButton(Invocation& inv);
int RunButtonsReset(Invocation& inv);
int RunLight(Invocation& inv);
int RunProfile(Invocation& inv);
// A profile number argument (1-4); false with *exit set to the usage error otherwise.
bool ProfileNumber(Invocation& inv, const std::string& word, int* number, int* exit);
// Profiles that follow the application in front (profile bind, unbind, bindings, follow).
bool IsProfileFollowCommand(const std::string& sub);
int RunProfileFollowCommand(Invocation& inv, const std::string& sub);
int RunMacro(Invocation& inv);
// The event list and play settings of a macro (macro events, add, type, change, move, delete-event,
// clear, play).
bool IsMacroEventCommand(const std::string& sub);
int RunMacroEventCommand(Invocation& inv, const std::string& sub);
int RunUpdate(Invocation& inv);
int RunFirmware(Invocation& inv);

}  // namespace quorvel::cli
