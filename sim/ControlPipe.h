#pragma once
// A named pipe through which another process drives the virtual mice of a running program: unplug and
// replug them, cut the wireless link, change the battery, press the DPI button. It lets an end-to-end run of
// the GUI (or a person at a second terminal) do to the virtual mouse what a user does to a real one.
//
// One command per line, the mouse named by its place in the QUORVEL_VIRTUAL list (from 1):
//   unplug K | replug K | link K 0|1 | battery K LEVEL STATUS | dpi K
// Unknown or malformed lines are ignored (and counted), so a typo never stops the program; so is a line
// longer than kControlLineLimit bytes (the rest up to its newline is skipped).
// The pipe must be the user's own and closed to everyone else; it is never opened through a link.

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace quorvel {

class VirtualMouse;

inline constexpr const char* kVirtualControlEnv = "QUORVEL_VIRTUAL_CONTROL";
inline constexpr size_t kControlLineLimit = 256;

// One understood line: the verb, the mouse's place (from 1) and the numbers after it, checked for range.
struct ControlCommand {
    std::string verb;
    size_t mouse = 0;
    std::vector<int> args;
};
// Parses one line (without its newline); false when it is not a command. Pure: no mouse is touched.
bool ParseControlLine(const std::string& line, ControlCommand* command);

class ControlPipe {
public:
    // mouse(k): the k-th mouse (1-based), or null when there is none.
    using MouseLookup = std::function<VirtualMouse*(size_t)>;

    ControlPipe(std::string path, MouseLookup mouse);
    ~ControlPipe();  // stops the reader before the mice it drives go away
    ControlPipe(const ControlPipe&) = delete;
    ControlPipe& operator=(const ControlPipe&) = delete;

    // False when the pipe could not be created or opened (*error says why); nothing runs then.
    bool Start(std::string* error);
    // Carries out one command line; false when it was not understood.
    bool Execute(const std::string& line);
    int Ignored() const { return ignored_; }

private:
    void Run();

    std::string path_;
    MouseLookup mouse_;
    int fd_ = -1;
    int wake_[2] = {-1, -1};
    std::thread reader_;
    std::atomic<int> ignored_{0};
};

}  // namespace quorvel
