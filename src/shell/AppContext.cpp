#include "shell/AppContext.h"

#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/PrefStore.h"
#include "platform/Xdg.h"

namespace quorvel {

namespace {

struct Context {
    std::mutex mutex;
    std::string deviceName;
    bool programDirSet = false;
    std::string programDir;
};

Context& Ctx() {
    static Context context;
    return context;
}

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace

void SetDeviceName(std::string_view name) {
    std::lock_guard lock(Ctx().mutex);
    Ctx().deviceName.assign(name);
}

std::string GetDeviceName() {
    std::lock_guard lock(Ctx().mutex);
    return Ctx().deviceName;
}

void SetProgramDir(std::string_view dir) {
    std::lock_guard lock(Ctx().mutex);
    Ctx().programDir = WithSlash(std::string(dir));
    Ctx().programDirSet = true;
}

std::string ProgramDir() {
    {
        std::lock_guard lock(Ctx().mutex);
        if (Ctx().programDirSet) return Ctx().programDir;
    }
    return ExecutableDir();
}

std::string ExecutablePath() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableDir() {
    std::string path = ExecutablePath();
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return path.substr(0, slash + 1);
}

std::string DataFolder() {
    std::string base = XdgDataHome();
    if (base.empty()) return {};
    return WithSlash(base) + SafePathSegment(GetDeviceName() + " Files") + "/";
}

std::string DatabaseFolder() {
    std::string data = DataFolder();
    return data.empty() ? std::string() : data + "db/";
}

bool CreateFolder(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return MakeDirectories(folder);
}

bool HasHideOption(std::string_view commandLine) { return commandLine.find("-hide") != std::string_view::npos; }

bool HasHideOption(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        if (!line.empty()) line += ' ';
        line += argv[i];
    }
    return HasHideOption(line);
}

std::string JoinPath(std::string_view dir, std::string_view name) {
    std::string out(dir);
    if (!out.empty() && out.back() != '/') out += '/';
    out += name;
    return out;
}

}  // namespace quorvel
