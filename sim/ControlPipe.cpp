#include "sim/ControlPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
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
    // Opened for reading and writing so the pipe never reports end-of-file between two writers.
    fd_ = open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd_ < 0 || fstat(fd_, &info) != 0 || !S_ISFIFO(info.st_mode)) {
        if (error)
            *error = "cannot open the control pipe " + path_ +
                     (fd_ < 0 ? std::string(": ") + std::strerror(errno) : ": not a pipe");
        return false;
    }
    if (pipe2(wake_, O_CLOEXEC) != 0) {
        if (error) *error = std::string("cannot start the control pipe: ") + std::strerror(errno);
        return false;
    }
    reader_ = std::thread([this] { Run(); });
    return true;
}

bool ControlPipe::Execute(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    size_t index = 0;
    if (!(in >> verb >> index)) return false;
    VirtualMouse* mouse = mouse_(index);
    if (!mouse) return false;
    std::vector<int> args;
    for (int value; in >> value;) args.push_back(value);
    if (!in.eof()) return false;
    if (verb == "unplug" && args.empty()) {
        mouse->Unplug();
    } else if (verb == "replug" && args.empty()) {
        mouse->Replug();
    } else if (verb == "link" && args.size() == 1 && (args[0] == 0 || args[0] == 1)) {
        mouse->SetLink(args[0] == 1);
    } else if (verb == "battery" && args.size() == 2 && args[0] >= 0 && args[0] <= 100) {
        mouse->SetBattery(args[0], args[1]);
    } else if (verb == "dpi" && args.empty()) {
        mouse->PressDpiButton();
    } else {
        return false;
    }
    return true;
}

void ControlPipe::Run() {
    std::string pending;
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
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && !Execute(line)) ++ignored_;
        }
    }
}

}  // namespace quorvel
