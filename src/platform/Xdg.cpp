#include "platform/Xdg.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace quorvel {

namespace {

std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return {};
    std::string path = value;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string UnderHome(const char* relative) {
    std::string home = HomeDir();
    if (home.empty()) return {};
    if (home.back() != '/') home += '/';
    return home + relative;
}

}  // namespace

std::string HomeDir() {
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty()) return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

std::string XdgConfigHome() {
    std::string path = AbsoluteEnv("XDG_CONFIG_HOME");
    return path.empty() ? UnderHome(".config") : path;
}

std::string XdgDataHome() {
    std::string path = AbsoluteEnv("XDG_DATA_HOME");
    return path.empty() ? UnderHome(".local/share") : path;
}

std::string XdgRuntimeDir() { return AbsoluteEnv("XDG_RUNTIME_DIR"); }

std::string SafePathSegment(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return "_";
    std::string out(name);
    for (char& c : out) {
        if (c == '/' || c == '\0') c = '_';
    }
    return out;
}

}  // namespace quorvel
