#pragma once
// The command line of quorvelctl: the global options (accepted before or after the command), the command
// words, and each command's own options and positional arguments.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,  // the operation or the mouse failed
    kExitUsage = 2,   // the command line was wrong
};

struct GlobalOptions {
    std::string productDir;                 // empty: the program directory
    std::vector<std::string> virtualSpecs;  // each --virtual, in order
    std::optional<int> deviceType;          // --device
    bool json = false;
    bool help = false;                      // --help / -h anywhere
    std::vector<std::string> words;         // the command and its arguments, globals removed
};

// Takes the global options out of argv[1..]; false with *error for a malformed one. Everything after a
// bare "--" is left to the command.
bool ParseGlobalOptions(int argc, const char* const* argv, GlobalOptions* out, std::string* error);

// A command's own arguments: "--name value", "--name=value", flags, and positional words.
class CommandArgs {
public:
    explicit CommandArgs(std::vector<std::string> words) : words_(std::move(words)) {}

    // valueOptions take a value, flagOptions none (names without "--"). False with *error for an unknown
    // option or a missing value.
    bool Parse(const std::set<std::string>& valueOptions, const std::set<std::string>& flagOptions,
               std::string* error);

    // The words as given, before parsing.
    const std::vector<std::string>& Words() const { return words_; }
    const std::vector<std::string>& Positional() const { return positional_; }
    std::optional<std::string> Value(const std::string& name) const;
    bool Flag(const std::string& name) const { return flags_.count(name) != 0; }

private:
    std::vector<std::string> words_;
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
};

// Whole-text decimal integer with an optional leading '-'; false for blanks, other characters, overflow.
bool ParseInt(std::string_view text, int* value);
// "on"/"off" (also 1/0, yes/no, true/false).
bool ParseOnOff(std::string_view text, bool* value);

}  // namespace quorvel::cli
