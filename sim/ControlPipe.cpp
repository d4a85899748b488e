#include "sim/ControlPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <utility>
#include <vector>

#include "sim/VirtualMouse.h"

namespace quorvel {

ControlPipe::ControlPipe(std::string path, MouseLookup mouse)
    : path_(std::move(path)), mouse_(std::move(mouse)) {}

ControlPipe::~ControlPipe() {
    if (reader_.joinable()) {
        char stop = 0;
        (void)!write(wake_[1], &stop, 1);
        reader_.join();
    }
    for (int fd : {fd_, wake_[0], wake_[1]})
        if (fd >= 0) close(fd);
}

bool ControlPipe::Start(std::string* error) {
    if (mkfifo(path_.c_str(), 0600) != 0 && errno != EEXIST) {
        if (error) *error = "cannot create the control pipe " + path_ + ": " + std::strerror(errno);
        return false;
    }
    // Opened for reading and writing so the pipe never reports end-of-file between two writers; never
    // through a link, and only a pipe that no one else may write drives the mice.
    fd_ = open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    struct stat info {};
    std::string why;
    if (fd_ < 0)
        why = std::strerror(errno);
    else if (fstat(fd_, &info) != 0 || !S_ISFIFO(info.st_mode))
        why = "not a pipe";
    else if (info.st_uid != geteuid())
        why = "owned by another user";
    else if ((info.st_mode & 077) != 0)
        why = "open to other users (it must be mode 600)";
    if (!why.empty()) {
        if (error) *error = "cannot open the control pipe " + path_ + ": " + why;
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
        return false;
    }
    if (pipe2(wake_, O_CLOEXEC) != 0) {
        if (error) *error = std::string("cannot start the control pipe: ") + std::strerror(errno);
        return false;
    }
    reader_ = std::thread([this] { Run(); });
    return true;
}

bool ParseControlLine(const std::string& line, ControlCommand* command) {
    if (line.size() > kControlLineLimit) return false;
    std::istringstream in(line);
    ControlCommand c;
    long long mouse = 0;
    if (!(in >> c.verb >> mouse) || mouse < 1) return false;
    c.mouse = static_cast<size_t>(mouse);
    for (int value; in >> value;) c.args.push_back(value);
    if (!in.eof()) return false;
    const std::vector<int>& a = c.args;
    const bool valid = ((c.verb == "unplug" || c.verb == "replug" || c.verb == "dpi") && a.empty()) ||
                       (c.verb == "link" && a.size() == 1 && (a[0] == 0 || a[0] == 1)) ||
                       (c.verb == "battery" && a.size() == 2 && a[0] >= 0 && a[0] <= 100);
    if (!valid) return false;
    *command = std::move(c);
    return true;
}

bool ControlPipe::Execute(const std::string& line) {
    ControlCommand c;
    if (!ParseControlLine(line, &c)) return false;
    VirtualMouse* mouse = mouse_(c.mouse);
    if (!mouse) return false;
    if (c.verb == "unplug")
        mouse->Unplug();
    else if (c.verb == "replug")
        mouse->Replug();
    else if (c.verb == "link")
        mouse->SetLink(c.args[0] == 1);
    else if (c.verb == "battery")
        mouse->SetBattery(c.args[0], c.args[1]);
    else
        mouse->PressDpiButton();
    return true;
}

void ControlPipe::Run() {
    std::string pending;
    bool skipping = false;  // inside a line that was too long: dropped up to its newline
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        char buffer[256];
        ssize_t got = read(fd_, buffer, sizeof buffer);
        if (got <= 0) continue;
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (std::exchange(skipping, false)) continue;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && !Execute(line)) ++ignored_;
        }
        // A line without end is not kept growing.
        if (pending.size() > kControlLineLimit + 1) {
            if (!skipping) ++ignored_;
            skipping = true;
            pending.clear();
        }
    }
}

}  // namespace quorvel
