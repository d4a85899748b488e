#include "platform/LocalSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace quorvel {

namespace {

using Clock = std::chrono::steady_clock;

bool Address(const std::string& path, sockaddr_un* address) {
    if (path.empty() || path.size() > MaxLocalSocketPath()) return false;
    *address = {};
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, path.data(), path.size());
    return true;
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the descriptor is ready for `events`; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, MillisecondsLeft(deadline));
        if (rc > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
        if (rc == 0 || errno != EINTR) return false;
    }
}

// One connection attempt, non-blocking: the connected descriptor or -1.
int ConnectOnce(const sockaddr_un& address, Clock::time_point deadline) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) return fd;
    // A listener with a full backlog: wait for room.
    if ((errno == EAGAIN || errno == EINPROGRESS) && WaitFor(fd, POLLOUT, deadline)) {
        int error = 0;
        socklen_t length = sizeof(error);
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) return fd;
    }
    ::close(fd);
    return -1;
}

}  // namespace

std::size_t MaxLocalSocketPath() {
    return sizeof(sockaddr_un{}.sun_path) - 1;
}

bool ProbeLocalSocket(const std::string& path, int* peerPid) {
    if (peerPid) *peerPid = 0;
    if (path.empty() || path.size() > MaxLocalSocketPath()) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    // Non-blocking: a listener whose backlog is full (a program that hangs) answers EAGAIN at once; it is
    // still there, only its process id stays unknown.
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    const bool connected = rc == 0 || errno == EAGAIN;
    if (rc == 0 && peerPid) {
        ucred credentials{};
        socklen_t length = sizeof(credentials);
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0) *peerPid = credentials.pid;
    }
    ::close(fd);
    return connected;
}

int ListenLocalSocket(const std::string& path, std::string* error) {
    // A short temporary name in the same folder (the rename stays on one file system).
    const size_t slash = path.rfind('/');
    const std::string temporary = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                                  ".new-" + std::to_string(::getpid());
    if (path.empty() || path.size() > MaxLocalSocketPath()) {
        if (error) *error = "the socket path is empty or too long";
        return -1;
    }
    sockaddr_un address{};
    if (!Address(temporary, &address)) {
        if (error) *error = "the socket path is too long";
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return -1;
    }
    ::unlink(temporary.c_str());
    // Nobody can connect to the temporary name before it is user-only: the folder is the user's own, and
    // the file gets its final name only after the mode is set.
    const bool ok = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
                    ::chmod(temporary.c_str(), 0600) == 0 && ::listen(fd, 16) == 0 &&
                    ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        if (error) *error = std::strerror(errno);
        ::unlink(temporary.c_str());
        ::close(fd);
        return -1;
    }
    return fd;
}

int AcceptLocalClient(int listenFd) {
    for (;;) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0 || errno != EINTR) return fd;
    }
}

std::optional<std::string> AskLocalSocket(const std::string& path, const std::string& request,
                                          std::chrono::milliseconds timeout,
                                          std::chrono::milliseconds retry) {
    sockaddr_un address{};
    if (!Address(path, &address)) return std::nullopt;
    const Clock::time_point deadline = Clock::now() + timeout;
    int fd = -1;
    while ((fd = ConnectOnce(address, deadline)) < 0) {
        if (Clock::now() + retry >= deadline) return std::nullopt;
        std::this_thread::sleep_for(retry);  // the first instance may still be starting
    }
    const std::string line = request + '\n';
    size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t n = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN && WaitFor(fd, POLLOUT, deadline)) {
            continue;
        } else {
            ::close(fd);
            return std::nullopt;
        }
    }
    std::string answer;
    for (;;) {
        const size_t end = answer.find('\n');
        if (end != std::string::npos) {
            ::close(fd);
            answer.resize(end);
            return answer;
        }
        char buffer[512];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            answer.append(buffer, static_cast<size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN && WaitFor(fd, POLLIN, deadline)) {
            continue;
        } else {
            ::close(fd);  // closed before a whole line, or the time is up
            return std::nullopt;
        }
    }
}

}  // namespace quorvel
