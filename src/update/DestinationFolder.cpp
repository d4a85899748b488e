#include "update/DestinationFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel {
namespace {

std::string Problem(const std::string& what, int error) { return what + ": " + std::strerror(error); }

// mkdir -p for the destination itself: its path is the caller's choice, so links in it are followed.
bool CreateFolders(const std::string& path) {
    std::string partial;
    std::size_t at = 0;
    while (at <= path.size()) {
        std::size_t slash = path.find('/', at);
        if (slash == std::string::npos) slash = path.size();
        partial = path.substr(0, slash);
        if (!partial.empty() && mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
        at = slash + 1;
    }
    return true;
}

}  // namespace

DestinationFolder::~DestinationFolder() {
    if (baseFd_ >= 0) close(baseFd_);
}

bool DestinationFolder::OpenBase(std::string* error) {
    if (baseFd_ >= 0) return true;
    if (path_.empty()) {
        *error = "no destination folder";
        return false;
    }
    baseFd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (baseFd_ < 0 && errno == ENOENT && CreateFolders(path_)) {
        baseFd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (baseFd_ < 0) *error = Problem("cannot open " + path_, errno);
    return baseFd_ >= 0;
}

int DestinationFolder::OpenFolder(const std::vector<std::string>& parts, std::size_t count,
                                  std::string* error) {
    if (!OpenBase(error)) return -1;
    int fd = fcntl(baseFd_, F_DUPFD_CLOEXEC, 0);
    for (std::size_t i = 0; i < count && i < parts.size() && fd >= 0; ++i) {
        const std::string& part = parts[i];
        if (mkdirat(fd, part.c_str(), 0777) != 0 && errno != EEXIST) {
            *error = Problem("cannot create folder " + part, errno);
            close(fd);
            return -1;
        }
        // O_NOFOLLOW: a link planted in the destination is refused, not entered.
        int next = openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int openError = errno;
        close(fd);
        fd = next;
        if (fd < 0) *error = Problem("cannot enter folder " + part, openError);
    }
    if (fd < 0 && error->empty()) *error = Problem("cannot open " + path_, errno);
    return fd;
}

}  // namespace quorvel
