#pragma once
// Unix-domain stream sockets, as far as the program needs them: finding out whether a program listens on a
// socket file and which process that is, serving one (non-blocking descriptors for an event loop), and
// asking one a line with a time-out.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace quorvel {

// The longest socket path the system accepts (sockaddr_un's sun_path without its terminating zero).
std::size_t MaxLocalSocketPath();

// Connects to the socket file and closes the connection again. True when a program accepted it, with its
// process id in *peerPid (0 when the system does not say). False for a missing file, a socket nobody
// listens on any more (left by a crashed program), a path that is too long, or anything that is not a
// socket.
bool ProbeLocalSocket(const std::string& path, int* peerPid);

// Listens on the socket file, user-only (mode 0600 before anyone can connect: it is made under a
// temporary name and renamed into place, replacing what was there). The non-blocking descriptor, or -1
// with *error set.
int ListenLocalSocket(const std::string& path, std::string* error);
// The next waiting connection of a listening descriptor (non-blocking), or -1 when none waits.
int AcceptLocalClient(int listenFd);

// Connects (again every `retry` while nobody listens yet, until the time-out), sends `request` and a
// newline, and returns the first line answered, without its newline. Nothing when no answer came in time.
std::optional<std::string> AskLocalSocket(const std::string& path, const std::string& request,
                                          std::chrono::milliseconds timeout,
                                          std::chrono::milliseconds retry = std::chrono::milliseconds(25));

}  // namespace quorvel
