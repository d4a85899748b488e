#include "platform/PrefStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/TempFile.h"

namespace quorvel {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void AppendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
}

// Reads a quoted, escaped text starting at line[*pos] == '"'; leaves *pos after the closing quote.
bool ReadQuoted(std::string_view line, std::size_t* pos, std::string* out) {
    if (*pos >= line.size() || line[*pos] != '"') return false;
    out->clear();
    for (std::size_t i = *pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c == '\\') {
            if (++i >= line.size()) return false;
            switch (line[i]) {
                case 'n': *out += '\n'; break;
                case 'r': *out += '\r'; break;
                default: *out += line[i];
            }
        } else {
            *out += c;
        }
    }
    return false;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Holds an exclusive lock on the store's folder for one read-modify-write, so two writers (threads or
// processes) never lose each other's values.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0) {
            while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

}  // namespace

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char x = LowerAscii(a[i]), y = LowerAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

PrefStore::PrefStore(std::string folder) : folder_(std::move(folder)) {
    while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
}

std::string PrefStore::FilePath() const { return folder_ + "/preferences"; }

bool PrefStore::Exists() const { return access(FilePath().c_str(), R_OK | W_OK) == 0; }

PrefStore::OpenResult PrefStore::Open(bool create) const {
    if (Exists()) return kOpened;
    if (!create || errno != ENOENT) return kFailed;
    if (!MakeDirectories(folder_)) return kFailed;
    int fd = open(FilePath().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return kFailed;
    close(fd);
    return Exists() ? kCreated : kFailed;
}

bool PrefStore::Load(PrefValues* values) const {
    std::ifstream file(FilePath(), std::ios::binary);
    if (!file) return false;
    std::ostringstream text;
    text << file.rdbuf();
    *values = Parse(text.str());
    return true;
}

template <typename Change>
bool PrefStore::Modify(Change change) const {
    if (!Exists()) return false;
    FolderLock lock(folder_);
    PrefValues values;
    if (!Load(&values)) return false;
    if (!change(values)) return true;  // nothing to write
    return WriteFileAtomically(FilePath(), Serialize(values));
}

bool PrefStore::Read(std::string_view name, std::string* value) const {
    PrefValues values;
    if (!Exists() || !Load(&values)) return false;
    auto found = values.find(name);
    if (found == values.end()) return false;
    *value = found->second;
    return true;
}

bool PrefStore::Write(std::string_view name, std::string_view value) const {
    return Modify([&](PrefValues& values) {
        auto found = values.find(name);
        if (found != values.end() && found->second == value) return false;
        if (found != values.end()) values.erase(found);  // the new spelling of the name wins
        values.emplace(std::string(name), std::string(value));
        return true;
    });
}

bool PrefStore::Remove(std::string_view name) const {
    return Modify([&](PrefValues& values) {
        auto found = values.find(name);
        if (found == values.end()) return false;
        values.erase(found);
        return true;
    });
}

std::string PrefStore::Serialize(const PrefValues& values) {
    std::string out;
    for (const auto& [name, value] : values) {
        out += '"';
        AppendEscaped(out, name);
        out += "\"=\"";
        AppendEscaped(out, value);
        out += "\"\n";
    }
    return out;
}

PrefValues PrefStore::Parse(std::string_view text) {
    PrefValues values;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::size_t pos = 0;
        std::string name, value;
        if (!ReadQuoted(line, &pos, &name)) continue;
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        if (!ReadQuoted(line, &pos, &value) || pos != line.size()) continue;
        values.insert_or_assign(std::move(name), std::move(value));
    }
    return values;
}

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    // A new file of our own: a predictable name opened with O_TRUNC would follow a planted link.
    std::string temp;
    int fd = CreateTemporaryBeside(path, ".tmp-", &temp, 0600);
    if (fd < 0) return false;
    bool ok = WriteAllBytes(fd, content.data(), content.size());
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(temp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) unlink(temp.c_str());
    return ok;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return false;
    if (IsDirectory(path)) return true;
    // Every prefix ending before a '/', then the whole path; errors along the way are judged by the end.
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1)) {
        mkdir(path.substr(0, pos).c_str(), 0700);
    }
    mkdir(path.c_str(), 0700);
    return IsDirectory(path);
}

}  // namespace quorvel
