#pragma once
// The one running quorvel of a user: the application id that names its lock file and hand-over socket,
// and where both live. The GUI holds the lock and serves the socket; quorvelctl looks for the socket to
// stay off the mouse while the GUI drives it.

#include <string>

namespace quorvel {

// Reverse-DNS application id, the same everywhere the system names itself to the desktop.
inline constexpr char kAppId[] = "com.quorvel.Quorvel";

// "$XDG_RUNTIME_DIR/" when that is set to an absolute path, otherwise the data folder (DataFolder(),
// which depends on the device name). Not created here. Empty when neither is known (no home folder).
std::string InstanceFolder();
// InstanceFolder() + "com.quorvel.Quorvel.lock" / ".socket"; empty when the folder is.
std::string InstanceLockPath();
std::string InstanceSocketPath();
// The per-user device lock (one writer per mouse): InstanceFolder() + "com.quorvel.Quorvel.mouse.lock".
std::string DeviceLockPath();

// The process id of the quorvel that serves the instance socket, or 0 when none does. A socket file left
// by a crashed instance counts as none. A running quorvel whose process id the system does not tell
// gives -1.
int RunningGuiProcess();

}  // namespace quorvel
