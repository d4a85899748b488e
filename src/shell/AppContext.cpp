#include "shell/AppContext.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
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
    bool defaultDirFound = false;
    std::string defaultDir;
};

Context& Ctx() {
    static Context context;
    return context;
}

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

constexpr std::string_view kInstalledDataDir = "../share/quorvel/";

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool HasProductData(const std::string& dir) {
    return IsRegularFile(JoinPath(dir, "config.xml"));
}

std::string InstalledDataDir(const std::string& executableDir) {
    return WithSlash(std::filesystem::path(JoinPath(executableDir, kInstalledDataDir)).lexically_normal());
}

std::string DirOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The installed copy of the program named `name` on the search path: the first executable file of that
// name whose real location is an installed tree. Relative and empty entries (the current folder) are
// skipped: a log-in start does not run where this process runs.
std::string FindInstalledOnPath(const std::string& name, std::string_view searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) end = searchPath.size();
        std::string_view entry = searchPath.substr(start, end - start);
        start = end + 1;
        if (entry.empty() || entry.front() != '/') continue;
        std::string candidate = JoinPath(entry, name);
        if (!IsRegularFile(candidate) || access(candidate.c_str(), X_OK) != 0) continue;
        std::error_code error;
        std::filesystem::path real = std::filesystem::canonical(candidate, error);
        if (!error && IsInstalledProgram(real.string())) return candidate;
    }
    return {};
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
    std::lock_guard lock(Ctx().mutex);
    if (Ctx().programDirSet) return Ctx().programDir;
    // The executable does not move while it runs: look once.
    if (!Ctx().defaultDirFound) {
        Ctx().defaultDir = ProgramDirFor(ExecutableDir());
        Ctx().defaultDirFound = true;
    }
    return Ctx().defaultDir;
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

std::string ProgramDirFor(std::string_view executableDir) {
    std::string dir = WithSlash(std::string(executableDir));
    if (dir.empty() || HasProductData(dir)) return dir;
    std::string installed = InstalledDataDir(dir);
    return HasProductData(installed) ? installed : dir;
}

bool IsInstalledProgram(const std::string& executablePath) {
    std::string dir = DirOf(executablePath);
    return !dir.empty() && !HasProductData(dir) && HasProductData(InstalledDataDir(dir));
}

std::string AutostartProgramPath() {
    const char* path = getenv("PATH");
    return AutostartProgramPathFor(ExecutablePath(), path ? path : "");
}

std::string AutostartProgramPathFor(const std::string& executablePath, std::string_view searchPath) {
    if (executablePath.empty() || IsInstalledProgram(executablePath)) return executablePath;
    std::string installed = FindInstalledOnPath(NameOf(executablePath), searchPath);
    return installed.empty() ? executablePath : installed;
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
