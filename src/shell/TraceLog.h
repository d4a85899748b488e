#pragma once
// The trace log: one process-wide text file of what the program did with the mouse.
// Lines: "[MM-DD hh:mm:ss.mmm][Info ]message", cut to 256 bytes with the zero, Chinese text as GBK bytes.

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace quorvel {

enum TraceLevel : int { kTrace = 0, kDebug = 1, kInfo = 2, kWarn = 3, kError = 4, kFatal = 5 };

// Each run adds a log file; opening one removes the oldest beyond this many.
inline constexpr int kKeptLogFiles = 20;
// ... except logs another program has open (each holds a shared lock on its own) and logs written to in
// the last hour.
inline constexpr long kRecentLogSeconds = 3600;

class TraceLog {
public:
    static TraceLog& Instance();  // process-wide, created on first use

    TraceLog() = default;
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Opens "Mouse_YYYYMMDD_hhmmss.log" for appending in the given folder (created when missing), then
    // removes the oldest "Mouse_*.log" files there beyond kKeptLogFiles (sparing those in use or recent).
    // Open() uses the default folder: "log" inside the data folder. On failure nothing is printed:
    // OpenError() says why, for the front end to show once.
    bool Open();
    bool OpenIn(const std::string& folder);
    std::string OpenError() const;
    // Formats a UTF-8 message, converts it to GBK and appends one whole line; dropped below the threshold
    // or while the file is closed. Safe from any thread.
    void Write(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void WriteV(int level, const char* format, va_list args);
    void Close();
    bool IsOpen() const;
    std::string Path() const;  // the open file's path; empty when closed

private:
    mutable std::mutex mutex_;
    int threshold_ = kInfo;
    std::FILE* file_ = nullptr;
    std::string path_;
    std::string openError_;
};

// The call every place in the program uses: level 2 on the process-wide log.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace quorvel
