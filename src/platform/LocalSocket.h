#pragma once
// Unix-domain stream sockets, as far as the core needs them: finding out whether a program listens on a
// socket file, and which process that is. The GUI's own server side is Qt's (QLocalServer).

#include <cstddef>
#include <string>

namespace quorvel {

// The longest socket path the system accepts (sockaddr_un's sun_path without its terminating zero).
std::size_t MaxLocalSocketPath();

// Connects to the socket file and closes the connection again. True when a program accepted it, with its
// process id in *peerPid (0 when the system does not say). False for a missing file, a socket nobody
// listens on any more (left by a crashed program), a path that is too long, or anything that is not a
// socket.
bool ProbeLocalSocket(const std::string& path, int* peerPid);

}  // namespace quorvel
