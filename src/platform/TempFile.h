#pragma once
// New files written beside their final name and renamed into place when complete, so a failed write
// leaves an older file whole. The temporary file is always a new one: created exclusively, never through
// a link or over a file someone placed under a predictable name.

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace quorvel {

// Creates "<finalPath><tag><pid>-<n>-<random>" for writing (O_EXCL, O_NOFOLLOW, close-on-exec; `mode` less
// the umask) and returns its descriptor with its name in *tempPath; -1 with errno when none could be
// created.
int CreateTemporaryBeside(const std::string& finalPath, const char* tag, std::string* tempPath,
                          mode_t mode = 0666);

// Writes all bytes, going on after short writes and interruptions; false on an error (errno set).
bool WriteAllBytes(int fd, const char* data, std::size_t size);

}  // namespace quorvel
