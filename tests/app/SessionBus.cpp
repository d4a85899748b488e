#include "SessionBus.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace quorvel::test {

namespace {

// Everyone may talk to everyone and own any name; nothing is activated.
constexpr const char* kConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

constexpr int kStartMs = 10000;

}  // namespace

SessionBus::SessionBus() {
    const char* daemon = "/usr/bin/dbus-daemon";
    installed_ = ::access(daemon, X_OK) == 0;
    if (!installed_) {
        why_ = "dbus-daemon is not installed (Debian package dbus-daemon)";
        return;
    }
    char configPath[] = "/tmp/quorvel-bus-XXXXXX";
    const int configFd = ::mkstemp(configPath);
    if (configFd < 0) {
        why_ = "no temporary file for the bus configuration";
        return;
    }
    config_ = configPath;
    const std::string text = kConfig;
    const bool written = ::write(configFd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(configFd);
    if (!written) {
        why_ = "cannot write the bus configuration";
        return;
    }
    int out[2];
    if (::pipe(out) != 0) {
        why_ = "no pipe";
        return;
    }
    const std::string configArg = "--config-file=" + config_;
    const std::string printArg = "--print-address=" + std::to_string(out[1]);
    std::vector<char*> argv = {const_cast<char*>(daemon), const_cast<char*>(configArg.c_str()),
                               const_cast<char*>("--nofork"), const_cast<char*>("--nopidfile"),
                               const_cast<char*>(printArg.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, daemon, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        why_ = "dbus-daemon did not start";
        return;
    }
    pid_ = pid;
    // The daemon prints its address once it listens: that line is the event to wait for.
    std::string line;
    const QDeadlineTimer deadline(kStartMs);
    while (line.find('\n') == std::string::npos && !deadline.hasExpired()) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(deadline.remainingTime())) <= 0) break;
        char buffer[256];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        line.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    const size_t end = line.find('\n');
    if (end == std::string::npos) {
        why_ = "dbus-daemon printed no address";
        return;
    }
    address_ = line.substr(0, end);
}

SessionBus::~SessionBus() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (!config_.empty()) ::unlink(config_.c_str());
}

QDBusConnection SessionBus::Connect(const QString& name) const {
    // Qt keeps connections by name for the whole process: the daemon's pid makes the name this bus's own.
    return QDBusConnection::connectToBus(QString::fromStdString(address_), name + QString::number(pid_));
}

bool NotificationServer::Register(QDBusConnection bus) {
    return bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                              QDBusConnection::ExportAllSlots) &&
           bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

bool NotificationServer::WaitFor(size_t count, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (notices_.size() < count && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return notices_.size() >= count;
}

uint NotificationServer::Notify(const QString& app, uint replaces, const QString&, const QString& summary,
                                const QString& body, const QStringList&, const QVariantMap& hints, int timeout) {
    const uint id = replaces != 0 ? replaces : nextId_++;
    notices_.push_back({app, replaces, summary, body, hints, timeout, id});
    return id;
}

QString NotificationServer::GetServerInformation(QString& vendor, QString& version, QString& spec) {
    vendor = QStringLiteral("quorvel tests");
    version = QStringLiteral("1");
    spec = QStringLiteral("1.2");
    return QStringLiteral("stand-in");
}

}  // namespace quorvel::test
