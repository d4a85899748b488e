#include "shell/AppInstance.h"

#include "platform/LocalSocket.h"
#include "platform/Xdg.h"
#include "shell/AppContext.h"

namespace quorvel {

std::string InstanceFolder() {
    const std::string runtime = XdgRuntimeDir();
    if (!runtime.empty()) return runtime == "/" ? runtime : runtime + "/";
    return DataFolder();
}

namespace {

std::string InFolder(const char* suffix) {
    const std::string folder = InstanceFolder();
    return folder.empty() ? std::string() : folder + kAppId + suffix;
}

}  // namespace

std::string InstanceLockPath() {
    return InFolder(".lock");
}

std::string InstanceSocketPath() {
    return InFolder(".socket");
}

std::string DeviceLockPath() {
    return InFolder(".mouse.lock");
}

int RunningGuiProcess() {
    int pid = 0;
    if (!ProbeLocalSocket(InstanceSocketPath(), &pid)) return 0;
    return pid > 0 ? pid : -1;
}

}  // namespace quorvel
