#include "platform/DeviceLock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/TempFile.h"

namespace quorvel {

namespace {

constexpr size_t kMaxHolderText = 200;
constexpr int kMaxReopens = 8;

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

DeviceLock::DeviceLock(std::string path) : path_(std::move(path)) {
    cancelFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

DeviceLock::~DeviceLock() {
    Release();
    if (fd_ >= 0) ::close(fd_);
    if (cancelFd_ >= 0) ::close(cancelFd_);
}

bool DeviceLock::OpenFile() {
    if (fd_ >= 0) return true;
    if (path_.empty()) {
        error_ = "no folder for the device lock";
        return false;
    }
    // Never through a link someone placed there; user-only, like the folder it lies in.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = SystemError("cannot open " + path_);
        return false;
    }
    return true;
}

bool DeviceLock::OpenIsAtPath() const {
    struct stat open {}, named {};
    return ::fstat(fd_, &open) == 0 && ::lstat(path_.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

DeviceLock::Result DeviceLock::TryTake(std::string_view program) {
    if (held_) return Result::kTaken;
    for (int attempt = 0;; ++attempt) {
        if (!OpenFile()) return Result::kUnavailable;
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) return Result::kBusy;
            error_ = SystemError("cannot lock " + path_);
            return Result::kUnavailable;
        }
        // A holder that removes the file as it ends (the window's instance lock) may have done so since
        // our open: a lock on a removed file guards nothing, so it is given back and the file now at the
        // path is tried.
        if (OpenIsAtPath()) break;
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
        if (attempt == kMaxReopens) {
            error_ = "cannot lock " + path_ + ": the file keeps being replaced";
            return Result::kUnavailable;
        }
    }
    held_ = true;
    const std::string text = std::string(program) + " " + std::to_string(::getpid()) + "\n";
    // Who holds it is a courtesy to the next program; the lock holds whether this is written or not.
    if (::ftruncate(fd_, 0) == 0 && ::lseek(fd_, 0, SEEK_SET) == 0)
        WriteAllBytes(fd_, text.data(), text.size());
    return Result::kTaken;
}

DeviceLock::Result DeviceLock::Wait(std::string_view program) {
    if (!OpenFile()) return Result::kUnavailable;
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watch < 0) {
        error_ = SystemError("cannot watch " + path_);
        return Result::kUnavailable;
    }
    // Watched before each try, so a holder that ends between the try and the sleep still wakes us.
    Result result = Result::kUnavailable;
    if (::inotify_add_watch(watch, path_.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE | IN_DELETE_SELF) < 0) {
        error_ = SystemError("cannot watch " + path_);
    } else {
        for (;;) {
            result = TryTake(program);
            if (result != Result::kBusy) break;
            pollfd fds[2] = {{watch, POLLIN, 0}, {cancelFd_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
                error_ = SystemError("cannot wait for " + path_);
                result = Result::kUnavailable;
                break;
            }
            if (fds[1].revents & POLLIN) {
                result = Result::kCancelled;
                break;
            }
            char events[4096];
            while (::read(watch, events, sizeof events) > 0) {
            }
        }
    }
    ::close(watch);
    return result;
}

void DeviceLock::Cancel() {
    const uint64_t one = 1;
    if (cancelFd_ >= 0) (void)!::write(cancelFd_, &one, sizeof one);
}

void DeviceLock::Release() {
    if (!held_) return;
    held_ = false;
    (void)!::ftruncate(fd_, 0);
    ::flock(fd_, LOCK_UN);
    // Closed, not only unlocked: a waiter sleeps until the file is closed.
    ::close(fd_);
    fd_ = -1;
}

std::string DeviceLock::Holder() const {
    std::string text;
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        char buffer[kMaxHolderText];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) text.assign(buffer, static_cast<size_t>(n));
        ::close(fd);
    }
    // "<program> <pid>": anything else is not shown as it stands.
    const size_t space = text.find(' ');
    const size_t end = text.find('\n');
    if (space == std::string::npos || space == 0 || end == std::string::npos || end <= space + 1)
        return "another program";
    const std::string program = text.substr(0, space);
    const std::string pid = text.substr(space + 1, end - space - 1);
    for (char c : program)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            return "another program";
    for (char c : pid)
        if (!std::isdigit(static_cast<unsigned char>(c))) return "another program";
    return program + " (process " + pid + ")";
}

}  // namespace quorvel
