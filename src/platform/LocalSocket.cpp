#include "platform/LocalSocket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel {

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

}  // namespace quorvel
