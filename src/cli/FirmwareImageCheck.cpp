#include "cli/FirmwareImageCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "update/FirmwareUpdate.h"

namespace quorvel::cli {

namespace {

constexpr std::size_t kSniffBytes = 512;

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// What the first bytes say the file is, when it is plainly not an image.
std::string Kind(const std::string& head) {
    if (head.rfind("PK\x03\x04", 0) == 0)
        return "a ZIP archive (the image is the firmware-VERSION.bin inside the archive the update server "
               "offers)";
    // Text, UTF-8 included: no NUL and no control character but tab and line ends.
    bool text = !head.empty();
    for (unsigned char c : head)
        text = text && (c == '\t' || c == '\n' || c == '\r' || c >= 0x20) && c != 0x7F;
    if (!text) return {};
    const size_t first = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string::npos && head[first] == '<' ? "an XML file" : "a text file";
}

}  // namespace

ImageCheck CheckFirmwareFile(const std::string& path) {
    ImageCheck check;
    // Opened first and without waiting (a FIFO must not hang the check), then judged by what is open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        check.refusal = "cannot read " + Quoted(path) + ": " + std::strerror(errno);
        return check;
    }
    std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        check.refusal = "cannot read " + Quoted(path) + ": " + std::strerror(errno);
        return check;
    }
    if (S_ISDIR(st.st_mode)) {
        check.refusal = "cannot read " + Quoted(path) + ": " + std::strerror(EISDIR);
        return check;
    }
    if (!S_ISREG(st.st_mode)) {
        check.refusal = "cannot read " + Quoted(path) + ": not a regular file";
        return check;
    }
    check.bytes = static_cast<std::uintmax_t>(st.st_size);
    if (check.bytes == 0) {
        check.refusal = Quoted(path) + " is empty: there is no firmware image to send";
        return check;
    }
    if (check.bytes > kMaxFirmwareImageBytes) {
        check.refusal = Quoted(path) + " has " + std::to_string(check.bytes) +
                        " bytes; a firmware transfer carries at most " +
                        std::to_string(kMaxFirmwareImageBytes);
        return check;
    }
    std::string head(kSniffBytes, '\0');
    const ssize_t got = ::read(fd, head.data(), head.size());
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    const std::string kind = Kind(head);
    if (!kind.empty()) check.doubt = Quoted(path) + " is " + kind + ", not a firmware image";
    check.usable = true;
    return check;
}

std::string FirmwareFileVersion(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const std::string prefix = "firmware-", suffix = ".bin";
    if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return {};
    return name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
}

}  // namespace quorvel::cli
