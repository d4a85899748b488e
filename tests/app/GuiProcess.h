#pragma once
// quorvel as a separate process in the throw-away home of a CliTest (same XDG folders, virtual mouse
// state and HID trace as the quorvelctl runs beside it): started, asked over its instance socket, sent
// signals, and waited for with a time-out, so a hung program fails the test instead of hanging CI.

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace quorvel::test {

inline constexpr std::chrono::seconds kProcessTimeout{20};

// Starts `binary` with these arguments and exactly this environment: standard input from /dev/null,
// standard output to stdoutFd (/dev/null when negative), standard error appended to errPath. The child's
// pid, or -1.
pid_t SpawnProcess(const std::string& binary, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env, int stdoutFd, const std::string& errPath);

class GuiProcess {
public:
    // env: the whole environment of the child; stderr goes to errPath.
    GuiProcess(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
               const std::string& errPath);
    ~GuiProcess();  // a child still running is killed
    GuiProcess(const GuiProcess&) = delete;
    GuiProcess& operator=(const GuiProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool Started() const { return pid_ > 0; }
    // The exit status (128 + signal when killed), or -1 when it did not end in time.
    int Wait(std::chrono::milliseconds timeout = kProcessTimeout);
    void Signal(int signal);

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Asks the running instance over its socket ("status", "show"); empty when nobody answered in time.
std::string AskInstance(const std::string& socketPath, const std::string& request,
                        std::chrono::milliseconds timeout = kProcessTimeout);

}  // namespace quorvel::test
