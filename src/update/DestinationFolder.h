#pragma once
// The folder an archive unpacks into. Folders below it are created and entered one at a time, never
// through a symbolic link, so nothing an entry names can lead outside it.

#include <cstddef>
#include <string>
#include <vector>

namespace quorvel {

class DestinationFolder {
public:
    explicit DestinationFolder(std::string path) : path_(std::move(path)) {}
    ~DestinationFolder();
    DestinationFolder(const DestinationFolder&) = delete;
    DestinationFolder& operator=(const DestinationFolder&) = delete;

    // Opens the folder parts[0]/.../parts[count-1] below the destination, creating what is missing (the
    // destination itself included). Returns an open folder descriptor the caller closes, or -1 with *error.
    int OpenFolder(const std::vector<std::string>& parts, std::size_t count, std::string* error);

    const std::string& Path() const { return path_; }

private:
    bool OpenBase(std::string* error);

    std::string path_;
    int baseFd_ = -1;
};

}  // namespace quorvel
