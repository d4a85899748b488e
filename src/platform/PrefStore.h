#pragma once
// A registry-key-like store of named text values in one file, "<folder>/preferences":
//   "name"="value"
// one value per line, backslash, quote and line breaks escaped with a backslash. Every change rewrites
// the file through a temporary file and a rename, so a crash leaves either the old or the new file.
// The store object holds only the folder; each call reads the file again (other processes may write it).

#include <map>
#include <string>
#include <string_view>

namespace quorvel {

// Value names compare without regard to ASCII case, as registry value names do.
struct NoCaseLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};
using PrefValues = std::map<std::string, std::string, NoCaseLess>;

class PrefStore {
public:
    enum OpenResult { kOpened, kCreated, kFailed };

    explicit PrefStore(std::string folder);

    const std::string& Folder() const { return folder_; }
    std::string FilePath() const;

    // The key exists: the file can be read and written.
    bool Exists() const;
    // Opens the key; with create, makes the folder (with parents) and an empty file when the key is
    // missing. kFailed when it can neither be opened nor (with create) created.
    OpenResult Open(bool create) const;

    // False when the key or the value does not exist.
    bool Read(std::string_view name, std::string* value) const;
    // False when the key does not exist (it is not created) or the file cannot be replaced.
    bool Write(std::string_view name, std::string_view value) const;
    // True when the value is gone afterwards; false when the key does not exist or cannot be replaced.
    bool Remove(std::string_view name) const;

    // The file format, exposed for tests.
    static std::string Serialize(const PrefValues& values);
    static PrefValues Parse(std::string_view text);

private:
    bool Load(PrefValues* values) const;
    template <typename Change>
    bool Modify(Change change) const;

    std::string folder_;
};

// Replaces a file's content atomically: writes a new "<path>.tmp-<pid>-<n>-<random>", flushes it to disk,
// renames it over path. The folder must exist.
bool WriteFileAtomically(const std::string& path, std::string_view content);
// Creates every missing folder along the path (mode 0700 for new ones); true when it is a folder afterwards.
bool MakeDirectories(const std::string& path);

}  // namespace quorvel
