#include "update/Installer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/Launch.h"

namespace quorvel {

std::string InstallerName(std::string_view version) {
    std::string name = "Mouse-Setup-";
    name += version;
    return name + ".run";
}

bool StartInstaller(const std::string& path, std::string* error) {
    // Through a descriptor, so the file checked is the file changed: a link put in its place is refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot open the set-up program " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!ok) {
        *error = "the set-up program " + path + " is not a regular file";
    } else {
        // Execute for whoever may read it: the extraction already applied the umask to the read bits.
        const mode_t mode = (st.st_mode & 07777) | ((st.st_mode & 0444) >> 2);
        if (::fchmod(fd, mode) != 0) {
            *error = "cannot make the set-up program executable: " + std::string(std::strerror(errno));
            ok = false;
        }
    }
    ::close(fd);
    if (!ok) return false;
    // A name without a '/' would be looked up in PATH.
    const std::string program = path.find('/') == std::string::npos ? "./" + path : path;
    // A child forked elsewhere in the program while the file was still open for writing holds it busy
    // until that child execs: try again shortly before giving up.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (LaunchDetached({program})) return true;
    }
    *error = "cannot start the set-up program " + path;
    return false;
}

}  // namespace quorvel
