#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

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

}  // namespace
}  // namespace quorvel
