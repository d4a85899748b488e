#include "platform/TempFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>

namespace quorvel {

int CreateTemporaryBeside(const std::string& finalPath, const char* tag, std::string* tempPath, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 64; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, "%d-%u-%08x", static_cast<int>(::getpid()), counter++,
                      static_cast<unsigned>(random()));
        std::string path = finalPath + tag + suffix;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            *tempPath = std::move(path);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool WriteAllBytes(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace quorvel
