#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
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
    EXPECT_EQ(second.Claim(), SingleInstance::Role::kFirst);  // the lock is free again
    EXPECT_TRUE(second.Serve());
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

TEST_F(SingleInstanceTest, AClientThatFloodsIsDropped) {
    SingleInstance instance(Lock(), Socket());
    ASSERT_EQ(instance.Claim(), SingleInstance::Role::kFirst);
    ASSERT_TRUE(instance.Serve());
    QLocalSocket client;
    client.connectToServer(Socket());
    ASSERT_TRUE(client.waitForConnected(5000));
    client.write(QByteArray(4096, 'x'));  // no line end, ever
    client.flush();
    for (int i = 0; i < 500 && client.state() == QLocalSocket::ConnectedState; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(client.state(), QLocalSocket::UnconnectedState);
    EXPECT_EQ(AskServed(Socket(), "show"), "ok");  // the server still answers others
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
