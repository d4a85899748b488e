#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <future>

#include "app/SingleInstance.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// Runs a client request on another thread while this one serves the instance's socket.
std::string AskServed(const QString& socket, const QString& request) {
    auto answer = std::async(std::launch::async, [&] { return SingleInstance::Ask(socket, request, 5s); });
    while (answer.wait_for(0ms) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return answer.get().toStdString();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QString Lock() const { return dir_.filePath("run/app.lock"); }
    QString Socket() const { return dir_.filePath("run/app.socket"); }
    QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, FirstServesTheSecondHandsOver) {
    SingleInstance first(Lock(), Socket());
    ASSERT_EQ(first.Claim(), SingleInstance::Role::kFirst);
    EXPECT_FALSE(first.Serving());  // the socket comes once the window is up
    ASSERT_TRUE(first.Serve());
    EXPECT_TRUE(first.Serving());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(dir_.filePath("run")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);  // the folder was made, user-only
    ASSERT_EQ(::stat(QFile::encodeName(Socket()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);  // nobody else may connect
    ASSERT_EQ(::stat(QFile::encodeName(Lock()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);

    bool visible = false;
    first.SetVisibilityQuery([&visible] { return visible; });
    QSignalSpy shows(&first, &SingleInstance::ShowRequested);
    QObject::connect(&first, &SingleInstance::ShowRequested, [&visible] { visible = true; });

    SingleInstance second(Lock(), Socket());
    EXPECT_EQ(second.Claim(), SingleInstance::Role::kSecond);
    EXPECT_FALSE(second.Serve());  // never takes the first one's socket
    const std::string pid = std::to_string(QCoreApplication::applicationPid());
    EXPECT_EQ(AskServed(Socket(), "status"), "quorvel " + pid + " hidden");
    EXPECT_EQ(AskServed(Socket(), "show"), "ok");
    EXPECT_EQ(shows.count(), 1);
    EXPECT_EQ(AskServed(Socket(), "status"), "quorvel " + pid + " visible");
    EXPECT_EQ(AskServed(Socket(), "exit"), "unknown");

    first.Release();
    EXPECT_FALSE(QFile::exists(Socket()));
    EXPECT_FALSE(QFile::exists(Lock()));  // an older quorvel, which judges the file's content, finds none
    EXPECT_EQ(second.Claim(), SingleInstance::Role::kFirst);  // the lock is free again
    EXPECT_TRUE(second.Serve());
}

// A second start passes its activation token on; only what a compositor could have issued reaches the
// window (it ends up in the environment), anything else shows the window without one.
TEST_F(SingleInstanceTest, ShowCarriesTheLaunchsActivationToken) {
    SingleInstance first(Lock(), Socket());
    ASSERT_EQ(first.Claim(), SingleInstance::Role::kFirst);
    ASSERT_TRUE(first.Serve());
    QSignalSpy shows(&first, &SingleInstance::ShowRequested);
    const struct {
        const char* request;
        const char* token;
    } cases[] = {
        {"show", ""},
        {"show weston-1234_abc", "weston-1234_abc"},
        {"show  padded ", "padded"},
        {"show two words", ""},
        {"show t\x01ken", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        shows.clear();
        EXPECT_EQ(AskServed(Socket(), QString::fromLatin1(c.request)), "ok");
        ASSERT_EQ(shows.count(), 1);
        EXPECT_EQ(shows.at(0).at(0).toString().toStdString(), c.token);
    }
    EXPECT_EQ(AskServed(Socket(), "shower"), "unknown");

    qputenv("XDG_ACTIVATION_TOKEN", "launch-token");
    EXPECT_EQ(SingleInstance::LaunchToken(), "launch-token");
    qputenv("XDG_ACTIVATION_TOKEN", "bad token");
    EXPECT_EQ(SingleInstance::LaunchToken(), "");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    EXPECT_EQ(SingleInstance::LaunchToken(), "");
}

TEST_F(SingleInstanceTest, ASocketFileLeftBehindIsServedAgain) {
    QDir().mkpath(dir_.filePath("run"));
    const QByteArray path = QFile::encodeName(Socket());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);  // a crashed instance's socket file: nobody listens

    SingleInstance instance(Lock(), Socket());
    ASSERT_EQ(instance.Claim(), SingleInstance::Role::kFirst);
    EXPECT_TRUE(instance.Serve());
    EXPECT_EQ(AskServed(Socket(), "show"), "ok");
}

// A raw client: connects, sends `bytes`, and reads until the server ends the connection (serving this
// thread's events meanwhile). What it read; "<still open>" when the server did not end it within the
// bound, which is only there so a fault fails instead of hanging.
std::string TalkUntilClosed(const QString& socket, const std::string& bytes) {
    const QByteArray path = QFile::encodeName(socket);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), path.size());
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return "<no connection>";
    if (!bytes.empty() && ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        return "<not written>";
    std::string read;
    for (int i = 0; i < 3000; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) read.append(buffer, static_cast<size_t>(n));
        if (n == 0 || (n < 0 && errno != EAGAIN)) {
            ::close(fd);
            return read;
        }
    }
    ::close(fd);
    return read + "<still open>";
}

// One request per connection, and no client keeps a connection without asking or floods it: the server
// ends them all, and goes on serving.
TEST_F(SingleInstanceTest, EachConnectionCarriesOneRequestAndIdleClientsAreClosed) {
    SingleInstance instance(Lock(), Socket());
    ASSERT_EQ(instance.Claim(), SingleInstance::Role::kFirst);
    ASSERT_TRUE(instance.Serve());
    QSignalSpy shows(&instance, &SingleInstance::ShowRequested);
    const std::string status = "quorvel " + std::to_string(QCoreApplication::applicationPid()) + " hidden\n";
    struct Case {
        const char* what;
        std::chrono::milliseconds idle;  // injected: 0 closes a silent client at the next turn of the loop
        std::string sent;
        std::string answered;
        int shows;
    } cases[] = {
        {"two requests in one connection: the first is answered, the second never read", 60s,
         "status\nshow\n", status, 0},
        {"a whole request, then the connection ends", 60s, "show\n", "ok\n", 1},
        {"a client that sends nothing", 0ms, "", "", 0},
        {"a client that never ends its line", 0ms, "stat", "", 0},
        {"a client that floods without a line end", 60s, std::string(4096, 'x'), "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shows.clear();
        instance.SetIdleTime(c.idle);
        EXPECT_EQ(TalkUntilClosed(Socket(), c.sent), c.answered);
        EXPECT_EQ(shows.count(), c.shows);
    }
    instance.SetIdleTime(60s);
    EXPECT_EQ(AskServed(Socket(), "show"), "ok");  // still serving
}

// "view" keeps its answer for the scripts that compare it whole; "view fill" adds the page's state.
TEST_F(SingleInstanceTest, ViewAnswersWithOrWithoutThePagesFillState) {
    SingleInstance instance(Lock(), Socket());
    ASSERT_EQ(instance.Claim(), SingleInstance::Role::kFirst);
    ASSERT_TRUE(instance.Serve());
    EXPECT_EQ(AskServed(Socket(), "view"), "none");  // before the window answers
    EXPECT_EQ(AskServed(Socket(), "view fill"), "none unfilled");

    bool filled = false;
    instance.SetViewQuery([] { return QStringLiteral("device tab 2 model 102"); });
    instance.SetFillQuery([&filled] { return filled; });
    const struct {
        bool filled;
        const char* request;
        const char* answered;
    } cases[] = {
        {false, "view", "device tab 2 model 102"},
        {false, "view fill", "device tab 2 model 102 unfilled"},
        {true, "view", "device tab 2 model 102"},
        {true, "view fill", "device tab 2 model 102 filled"},
        {true, "view filled", "unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        filled = c.filled;
        EXPECT_EQ(AskServed(Socket(), c.request), c.answered);
    }
}

// Nobody holds a lock file that outlived its process, whatever it says: an instance that crashed (the
// window's own), or an older quorvel's lock file with its process id, name and host.
TEST_F(SingleInstanceTest, ALockFileLeftBehindIsTaken) {
    for (const char* left : {"quorvel 999999\n", "999999\nquorvel\nsomehost\n", ""}) {
        SCOPED_TRACE(left);
        ASSERT_TRUE(QDir().mkpath(dir_.filePath("run")));
        QFile file(Lock());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(left);
        file.close();
        SingleInstance instance(Lock(), Socket());
        EXPECT_EQ(instance.Claim(), SingleInstance::Role::kFirst);
        SingleInstance second(Lock(), Socket());
        EXPECT_EQ(second.Claim(), SingleInstance::Role::kSecond);
    }
}

TEST_F(SingleInstanceTest, NoPlaceForTheLockRunsUnguarded) {
    QFile blocker(dir_.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    SingleInstance instance(dir_.filePath("file/run/app.lock"), dir_.filePath("file/run/app.socket"));
    EXPECT_EQ(instance.Claim(), SingleInstance::Role::kUnguarded);
    EXPECT_FALSE(instance.Serve());
}

TEST_F(SingleInstanceTest, AnEmptyPathRunsUnguarded) {
    SingleInstance instance{QString(), QString()};
    EXPECT_EQ(instance.Claim(), SingleInstance::Role::kUnguarded);
}

}  // namespace
}  // namespace quorvel
