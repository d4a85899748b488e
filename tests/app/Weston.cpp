#include "Weston.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <vector>

namespace quorvel::test {

namespace {

constexpr int kStartMs = 15000;

// Starts `argv` with the environment `env`, standard output and error appended to `log`, in `dir` when
// given. The pid, or -1.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& log,
            const std::string& dir = {}) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

std::vector<std::string> BaseEnvironment(const std::string& runtimeDir) {
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "XDG_RUNTIME_DIR=" + runtimeDir, "HOME=" + runtimeDir};
    for (const char* keep : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* v = std::getenv(keep)) env.push_back(std::string(keep) + "=" + v);
    }
    return env;
}

}  // namespace

Weston::Weston(const std::string& runtimeDir, int width, int height) : runtimeDir_(runtimeDir) {
    installed_ = ::access("/usr/bin/weston", X_OK) == 0;
    if (!installed_) {
        why_ = "weston is not installed (Debian package weston)";
        return;
    }
    QDir().mkpath(QString::fromStdString(runtimeDir));
    ::chmod(runtimeDir.c_str(), 0700);  // weston refuses a runtime folder others can read
    socket_ = "quorvel-wayland-" + std::to_string(::getpid());
    log_ = runtimeDir + "/weston.log";
    pid_ = Spawn({"/usr/bin/weston", "--backend=headless-backend.so", "--use-pixman", "--socket=" + socket_,
                  "--debug", "--idle-time=0", "--width=" + std::to_string(width),
                  "--height=" + std::to_string(height)},
                 BaseEnvironment(runtimeDir), log_);
    if (pid_ <= 0) {
        why_ = "weston did not start";
        return;
    }
    // The compositor is ready for clients once its socket exists (they queue until its loop runs).
    const std::string path = runtimeDir + "/" + socket_;
    const QDeadlineTimer deadline(kStartMs);
    while (::access(path.c_str(), F_OK) != 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            why_ = "weston ended at start; see " + log_;
            return;
        }
        if (deadline.hasExpired()) {
            why_ = "weston made no socket; see " + log_;
            return;
        }
        QThread::msleep(10);  // polls for the socket file, bounded by the deadline
    }
}

Weston::~Weston() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

QImage Weston::Screenshot() {
    if (pid_ <= 0) return {};
    const QString dir = QString::fromStdString(runtimeDir_) + QStringLiteral("/shots");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    std::vector<std::string> env = BaseEnvironment(runtimeDir_);
    env.push_back("WAYLAND_DISPLAY=" + socket_);
    const pid_t shooter =
        Spawn({"/usr/bin/weston-screenshooter"}, env, runtimeDir_ + "/screenshooter.log", dir.toStdString());
    if (shooter <= 0) return {};
    int status = 0;
    ::waitpid(shooter, &status, 0);  // it ends once the picture is written
    const QStringList files = QDir(dir).entryList({QStringLiteral("*.png")}, QDir::Files);
    return files.isEmpty() ? QImage() : QImage(dir + QLatin1Char('/') + files.first());
}

}  // namespace quorvel::test
