#include "shell/TraceLog.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <thread>

#include "shell/AppContext.h"
#include "support/TextConv.h"

namespace quorvel {

namespace {

constexpr std::size_t kLineBuffer = 256;  // prefix and message, including the terminating zero
constexpr int kOpenAttempts = 12;

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

}  // namespace

TraceLog& TraceLog::Instance() {
    static TraceLog log;
    return log;
}

TraceLog::~TraceLog() { Close(); }

bool TraceLog::Open() {
    std::string data = DataFolder();
    if (data.empty()) return false;
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
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        file_ = std::fopen(path.c_str(), "ae");  // append; not inherited by started programs
        if (file_ != nullptr) break;
        if (attempt + 1 < kOpenAttempts) {
            std::fputs("Open log file failed!!\n", stderr);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    if (file_ == nullptr) return false;
    path_ = path;
    return true;
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
