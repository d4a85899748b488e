#include "GuiProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QString>

#include "app/SingleInstance.h"

namespace quorvel::test {

pid_t SpawnProcess(const std::string& binary, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env, int stdoutFd, const std::string& errPath) {
    std::vector<std::string> envText;
    for (const auto& [k, v] : env) envText.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (std::string& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argText = {binary};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, binary.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : -1;
}

GuiProcess::GuiProcess(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                       const std::string& errPath)
    : pid_(SpawnProcess(std::string(QUORVEL_BIN_DIR) + "/quorvel", args, env, -1, errPath)) {}

GuiProcess::~GuiProcess() {
    if (pid_ > 0 && status_ < 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

int GuiProcess::Wait(std::chrono::milliseconds timeout) {
    if (pid_ <= 0 || status_ >= 0) return status_;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int raw = 0;
        const pid_t done = ::waitpid(pid_, &raw, WNOHANG);
        if (done == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return status_;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= deadline) return -1;
        const timespec pause{0, 5'000'000};  // polls the child's end; no fixed wait
        ::nanosleep(&pause, nullptr);
    }
}

void GuiProcess::Signal(int signal) {
    if (pid_ > 0 && status_ < 0) ::kill(pid_, signal);
}

std::string AskInstance(const std::string& socketPath, const std::string& request,
                        std::chrono::milliseconds timeout) {
    return SingleInstance::Ask(QString::fromStdString(socketPath), QString::fromStdString(request), timeout)
        .toStdString();
}

}  // namespace quorvel::test
