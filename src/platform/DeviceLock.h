#pragma once
// The per-user device lock: one writer per mouse. An advisory lock (flock) on a file in the runtime
// folder; whoever holds it writes "<program> <pid>" into the file, so a second program can say who has
// the mouse. The system drops the lock when its holder ends, crashed or not, so a lock is never stale.
// The device lock's file stays. The window's single-instance lock (SingleInstance) is one too and removes
// its file as it ends: a lock taken on a file removed since it was opened is given back and the file now
// at the path tried, so two programs never hold two files of the same name.

#include <atomic>
#include <string>
#include <string_view>

namespace quorvel {

class DeviceLock {
public:
    enum class Result {
        kTaken,        // this object holds the lock
        kBusy,         // another open file of this lock holds it (Holder() says whose)
        kUnavailable,  // the file cannot be opened or locked (Error() says why)
        kCancelled,    // Wait ended by Cancel()
    };

    explicit DeviceLock(std::string path);
    ~DeviceLock();  // releases
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Takes the lock if it is free, without waiting; `program` is written into the file with the process id.
    Result TryTake(std::string_view program);
    // Waits until the lock is free and takes it, or until Cancel(). Sleeps on the file's close events (a
    // holder that ends closes it), so nothing runs while it waits.
    Result Wait(std::string_view program);
    // Ends a Wait on another thread (and any later one). Any thread.
    void Cancel();
    void Release();

    bool Held() const { return held_; }
    const std::string& Path() const { return path_; }
    // "quorvelctl (process 1234)" from the file; "another program" when it says nothing readable.
    std::string Holder() const;
    const std::string& Error() const { return error_; }

private:
    bool OpenFile();
    // Whether the open file is still the one at the path (not removed, nor replaced, since the open).
    bool OpenIsAtPath() const;

    std::string path_;
    int fd_ = -1;
    int cancelFd_ = -1;  // eventfd written by Cancel
    std::atomic<bool> held_{false};  // read by Held() on any thread while Wait takes it on another
    std::string error_;
};

}  // namespace quorvel
