#include "files/FileInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <utility>

#include "files/FileProblem.h"
#include "support/XmlDoc.h"

namespace quorvel {

namespace fs = std::filesystem;

namespace {

FileResult Refuse(FileStatus status, std::string message) { return FileResult{status, std::move(message)}; }

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

FileResult ReadImportFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    // The system's own reason in every refusal: "No such file or directory", "Permission denied", ...
    auto refuse = [&path](FileStatus status, int error) {
        return Refuse(status, "cannot read " + Quoted(path) + ": " + std::strerror(error));
    };
    // Opened first and without waiting (a FIFO or a device must not hang the import), then judged by
    // what is open, so the file checked is the file read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return refuse(errno == ENOENT || errno == ENOTDIR ? FileStatus::kNotFound : FileStatus::kUnreadable,
                      errno);
    struct stat st {};
    FileResult refused;
    if (::fstat(fd, &st) != 0)
        refused = refuse(FileStatus::kUnreadable, errno);
    else if (S_ISDIR(st.st_mode))
        refused = refuse(FileStatus::kUnreadable, EISDIR);
    else if (!S_ISREG(st.st_mode))
        refused = Refuse(FileStatus::kUnreadable, "cannot read " + Quoted(path) + ": not a regular file");
    else if (static_cast<std::uintmax_t>(st.st_size) > kMaxFileBytes)
        refused = Refuse(FileStatus::kTooLarge, Quoted(path) + " is larger than 4 MiB");
    if (refused.status != FileStatus::kOk) {
        ::close(fd);
        return refused;
    }
    // Read one byte more than the cap, so a file that grew since the size check is still refused.
    std::string data(kMaxFileBytes + 1, '\0');
    std::size_t got = 0;
    int readError = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError = errno;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (readError != 0) return refuse(FileStatus::kUnreadable, readError);
    data.resize(got);
    if (data.size() > kMaxFileBytes) return Refuse(FileStatus::kTooLarge, Quoted(path) + " is larger than 4 MiB");
    *bytes = std::move(data);
    return {};
}

FileResult LoadImportDocument(std::string_view bytes, std::string_view root, std::string_view source,
                              XmlDoc* doc) {
    if (bytes.size() > kMaxFileBytes)
        return Refuse(FileStatus::kTooLarge, Quoted(source) + " is larger than 4 MiB");
    if (!doc->LoadBytes(bytes)) {
        const std::string where = XmlSyntaxProblem(bytes);
        return Refuse(FileStatus::kNotWellFormed, Quoted(source) + " is not a well-formed XML document" +
                                                      (where.empty() ? "" : " (" + where + ")"));
    }
    if (!doc->FindNext(root))
        return Refuse(FileStatus::kWrongRoot,
                      Quoted(source) + " has no root element " + Quoted(root) + " (wrong kind of file)");
    return {};
}

int ParseFileInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // saturated either way
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int AttributeInt(const XmlDoc& doc, std::string_view name) { return ParseFileInt(doc.GetAttribute(name)); }

std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

}  // namespace quorvel
