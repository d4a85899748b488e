#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/TempHome.h"
#include "shell/AppContext.h"
#include "shell/AppInstance.h"

namespace quorvel {
namespace {

using testing::TempHome;

TEST(AppInstanceTest, RuntimeFolderFirstThenTheDataFolder) {
    TempHome home;
    SetDeviceName("Quorvel Mouse");
    EXPECT_EQ(InstanceLockPath(), home.Root() + "/run/com.quorvel.Quorvel.lock");
    EXPECT_EQ(InstanceSocketPath(), home.Root() + "/run/com.quorvel.Quorvel.socket");

    home.Env().Set("XDG_RUNTIME_DIR", "relative/run");  // not absolute: ignored, as every XDG variable
    EXPECT_EQ(InstanceLockPath(), home.Root() + "/data/Quorvel Mouse Files/com.quorvel.Quorvel.lock");
    home.Env().Unset("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceSocketPath(), home.Root() + "/data/Quorvel Mouse Files/com.quorvel.Quorvel.socket");
    SetDeviceName("");
}

TEST(AppInstanceTest, RunningGuiIsWhoeverServesTheSocket) {
    TempHome home;
    EXPECT_EQ(RunningGuiProcess(), 0);

    std::filesystem::create_directories(home.Root() + "/run");
    const std::string path = InstanceSocketPath();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(fd, 1), 0);
    EXPECT_EQ(RunningGuiProcess(), ::getpid());
    ::close(fd);
    EXPECT_EQ(RunningGuiProcess(), 0);  // the file of a crashed instance
}

}  // namespace
}  // namespace quorvel
