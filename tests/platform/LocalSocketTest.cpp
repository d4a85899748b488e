#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/LocalSocket.h"
#include "platform/TempHome.h"

namespace quorvel {
namespace {

using testing::TempHome;

// A listening socket at `path`; closing it leaves the file behind, as a crashed program does.
int Listen(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0) << path;
    EXPECT_EQ(::listen(fd, 4), 0);
    return fd;
}

TEST(LocalSocketTest, FindsTheListenerAndItsProcess) {
    TempHome home;
    const std::string path = home.Root() + "/app.socket";
    const int listener = Listen(path);
    int pid = 0;
    EXPECT_TRUE(ProbeLocalSocket(path, &pid));
    EXPECT_EQ(pid, ::getpid());
    EXPECT_TRUE(ProbeLocalSocket(path, nullptr));

    ::close(listener);  // the file stays: nobody listens any more
    EXPECT_FALSE(ProbeLocalSocket(path, &pid));
    EXPECT_EQ(pid, 0);
}

TEST(LocalSocketTest, NothingToConnectToIsNoListener) {
    TempHome home;
    testing::WriteFileBytes(home.Root() + "/plain", "not a socket");
    const std::string tooLong = home.Root() + "/" + std::string(MaxLocalSocketPath(), 'x');
    for (const std::string& path :
         {home.Root() + "/missing.socket", home.Root() + "/plain", tooLong, std::string()}) {
        int pid = 7;
        EXPECT_FALSE(ProbeLocalSocket(path, &pid)) << path;
        EXPECT_EQ(pid, 0);
    }
}

// The server side replaces a file left behind, user-only, and a client gets the first line answered.
TEST(LocalSocketTest, ServesUserOnlyInPlaceOfAFileLeftBehind) {
    TempHome home;
    const std::string path = home.Root() + "/app.socket";
    ::close(Listen(path));  // left by a crashed program
    std::string why;
    const int server = ListenLocalSocket(path, &why);
    ASSERT_GE(server, 0) << why;
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    std::thread answering([server] {
        pollfd p{server, POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 10000), 1);
        const int client = AcceptLocalClient(server);
        ASSERT_GE(client, 0);
        EXPECT_LT(AcceptLocalClient(server), 0);  // nobody else waits
        char request[64] = {};
        pollfd c{client, POLLIN, 0};
        ASSERT_EQ(::poll(&c, 1, 10000), 1);
        EXPECT_EQ(std::string(request, ::recv(client, request, sizeof request, 0)), "status\n");
        const std::string answer = "fine\nnot read\n";
        ::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
        ::close(client);
    });
    EXPECT_EQ(AskLocalSocket(path, "status", std::chrono::seconds(10)), "fine");
    answering.join();
    ::close(server);
}

// Nobody to ask, or nobody answering: no answer once the time is up, never a hang.
TEST(LocalSocketTest, AskingWithoutAnAnswerEndsWithNothing) {
    TempHome home;
    const std::string silent = home.Root() + "/silent.socket";
    const int listener = Listen(silent);  // accepts into its backlog, never reads or answers
    const std::string tooLong = home.Root() + "/" + std::string(MaxLocalSocketPath(), 'x');
    for (const std::string& path : {home.Root() + "/missing.socket", silent, tooLong}) {
        EXPECT_EQ(AskLocalSocket(path, "status", std::chrono::milliseconds(100), std::chrono::milliseconds(10)),
                  std::nullopt)
            << path;
    }
    ::close(listener);
    std::string why;
    EXPECT_LT(ListenLocalSocket(tooLong, &why), 0);
    EXPECT_FALSE(why.empty());
}

}  // namespace
}  // namespace quorvel
