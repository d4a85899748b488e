#include "shell/TraceLog.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <vector>

#include "shell/AppContext.h"
#include "support/TextConv.h"

namespace quorvel {

namespace {

constexpr std::size_t kLineBuffer = 256;  // prefix and message, including the terminating zero

const char* LevelName(int level) {
    static const char* const kNames[] = {"Trace", "Debug", "Info ", "Warn ", "Error", "Fatal"};
    if (level < 0) level = 0;
    if (level > 5) level = 5;
    return kNames[level];
}

struct LocalTime {
    std::tm tm{};
    int millisecond = 0;
};

LocalTime Now() {
    auto now = std::chrono::system_clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    LocalTime t;
    localtime_r(&seconds, &t.tm);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

// Length of the longest prefix of GBK text within maxBytes that does not end inside a double-byte
// character (lead bytes 0x81-0xFE take the next byte with them).
std::size_t GbkCut(std::string_view gbk, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        unsigned char c = static_cast<unsigned char>(gbk[pos]);
        std::size_t length = (c >= 0x81 && c <= 0xFE && pos + 1 < gbk.size()) ? 2 : 1;
        if (pos + length > maxBytes) break;
        pos += length;
    }
    return pos;
}

// "Mouse_YYYYMMDD_hhmmss.log": the names this log gives its files, which sort by the time of opening.
bool IsLogFileName(std::string_view name) {
    constexpr std::string_view kShape = "Mouse_########_######.log";
    if (name.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        if (kShape[i] == '#' ? !(name[i] >= '0' && name[i] <= '9') : name[i] != kShape[i]) return false;
    }
    return true;
}

// Whether another program still writes the log: each holds a shared lock on its open log.
bool LogInUse(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return busy;
}

// Written to lately: a program may have it open without the lock (one that has not taken it yet).
bool LogRecent(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    return std::time(nullptr) - info.st_mtime < kRecentLogSeconds;
}

// Removes the oldest log files of the folder beyond `keep`, never the one in use here, one another
// program has open, or one written to lately.
void RemoveOldLogs(const std::string& folder, const std::string& inUse, std::size_t keep) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (IsLogFileName(entry->d_name) && JoinPath(folder, entry->d_name) != inUse)
                names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
    }
    if (names.size() + 1 <= keep) return;
    std::sort(names.begin(), names.end());
    const std::size_t remove = names.size() + 1 - keep;
    for (std::size_t i = 0; i < remove; ++i) {
        const std::string path = JoinPath(folder, names[i]);
        if (!LogInUse(path) && !LogRecent(path)) ::unlink(path.c_str());
    }
}

}  // namespace

TraceLog& TraceLog::Instance() {
    static TraceLog log;
    return log;
}

TraceLog::~TraceLog() { Close(); }

bool TraceLog::Open() {
    std::string data = DataFolder();
    if (data.empty()) {
        std::lock_guard lock(mutex_);
        openError_ = "cannot open the log file: there is no data folder; running without a log";
        return false;
    }
    return OpenIn(data + "log");
}

bool TraceLog::OpenIn(const std::string& folder) {
    std::lock_guard lock(mutex_);
    threshold_ = kInfo;
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
        path_.clear();
    }
    CreateFolder(folder);
    LocalTime t = Now();
    char name[64];
    std::snprintf(name, sizeof name, "%s_%04d%02d%02d_%02d%02d%02d.log", "Mouse", t.tm.tm_year + 1900,
                  t.tm.tm_mon + 1, t.tm.tm_mday, t.tm.tm_hour, t.tm.tm_min, t.tm.tm_sec);
    std::string path = JoinPath(folder, name);
    // One attempt: nothing here holds the file the way another process could on Windows, so waiting and
    // trying again only delays every start.
    file_ = std::fopen(path.c_str(), "ae");  // append; not inherited by started programs
    if (file_ == nullptr) {
        openError_ =
            "cannot open the log file " + path + " (" + std::strerror(errno) + "); running without a log";
        return false;
    }
    openError_.clear();
    path_ = path;
    // Shared: two runs that start in the same second append to one file; pruning elsewhere sees it in use.
    ::flock(::fileno(file_), LOCK_SH | LOCK_NB);
    RemoveOldLogs(folder, path_, kKeptLogFiles);
    return true;
}

std::string TraceLog::OpenError() const {
    std::lock_guard lock(mutex_);
    return openError_;
}

void TraceLog::Write(int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteV(level, format, args);
    va_end(args);
}

void TraceLog::WriteV(int level, const char* format, va_list args) {
    {
        std::lock_guard lock(mutex_);
        if (level < threshold_ || file_ == nullptr) return;
    }
    LocalTime t = Now();
    char prefix[64];
    int prefixLength = std::snprintf(prefix, sizeof prefix, "[%02d-%02d %02d:%02d:%02d.%03d][%s]", t.tm.tm_mon + 1,
                                     t.tm.tm_mday, t.tm.tm_hour, t.tm.tm_min, t.tm.tm_sec, t.millisecond,
                                     LevelName(level));
    if (prefixLength < 0) return;

    // The message is formatted as UTF-8; only the first kilobyte can reach the line, and GBK never
    // takes more bytes than UTF-8 for the same text, so the rest need not be converted.
    va_list copy;
    va_copy(copy, args);
    char small[1024];
    int length = std::vsnprintf(small, sizeof small, format != nullptr ? format : "", copy);
    va_end(copy);
    std::size_t used = length < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(length), sizeof small - 1);
    std::string gbk = Utf8ToGbk(std::string_view(small, used));

    std::string line(prefix, static_cast<std::size_t>(prefixLength));
    std::size_t room = kLineBuffer - 1 > line.size() ? kLineBuffer - 1 - line.size() : 0;
    line.append(gbk, 0, GbkCut(gbk, room));
    line += '\n';

    std::lock_guard lock(mutex_);
    if (level < threshold_ || file_ == nullptr) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

void TraceLog::Close() {
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) {
        std::fflush(file_);
        std::fclose(file_);
        file_ = nullptr;
    }
    path_.clear();
}

bool TraceLog::IsOpen() const {
    std::lock_guard lock(mutex_);
    return file_ != nullptr;
}

std::string TraceLog::Path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void Trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    TraceLog::Instance().WriteV(kInfo, format, args);
    va_end(args);
}

}  // namespace quorvel
