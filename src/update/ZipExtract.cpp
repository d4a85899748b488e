#include "update/ZipExtract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "support/TextConv.h"
#include "update/DestinationFolder.h"
#include "update/ZipItem.h"
#include "update/ZipName.h"

namespace quorvel {
namespace {

struct UnzCloser {
    void operator()(void* archive) const { unzClose(archive); }
};
using Archive = std::unique_ptr<void, UnzCloser>;

std::uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The reader would take a ZIP64 end record; archives that need one are not supported.
bool HasZip64EndRecord(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file || fseeko(file.get(), 0, SEEK_END) != 0) return false;
    off_t size = ftello(file.get());
    off_t tailSize = size < 0xFFFF + 22 + 20 ? size : 0xFFFF + 22 + 20;
    if (tailSize < 22 || fseeko(file.get(), size - tailSize, SEEK_SET) != 0) return false;
    std::vector<unsigned char> tail(static_cast<std::size_t>(tailSize));
    if (std::fread(tail.data(), 1, tail.size(), file.get()) != tail.size()) return false;
    for (std::size_t at = tail.size() - 22 + 1; at-- > 0;) {
        if (Read32(&tail[at]) != 0x06054b50) continue;  // end of central directory
        return at >= 20 && Read32(&tail[at - 20]) == 0x07064b50;
    }
    return false;
}

class EntryWriter {
public:
    EntryWriter(unzFile archive, DestinationFolder& destination, const ZipExtractOptions& options)
        : archive_(archive), destination_(destination), options_(options), buffer_(kUnzipCopySize) {}

    // Writes the current entry; false with *reason when it was skipped.
    bool Extract(std::string* name, std::string* reason);

private:
    bool WriteFile(const unz_file_info64& info, const ZipEntryPath& path, unsigned attributes,
                   std::string* reason);
    bool Copy(const unz_file_info64& info, int fd, std::string* reason);

    unzFile archive_;
    DestinationFolder& destination_;
    const ZipExtractOptions& options_;
    std::vector<char> buffer_;
    std::vector<unsigned char> extra_ = std::vector<unsigned char>(0xFFFF);  // the largest extra field
    unsigned serial_ = 0;
};

bool EntryWriter::Extract(std::string* name, std::string* reason) {
    unz_file_info64 info{};
    char stored[kMaxZipNameBytes + 1] = {};
    std::vector<unsigned char>& extra = extra_;
    if (unzGetCurrentFileInfo64(archive_, &info, stored, sizeof stored, extra.data(), extra.size(), nullptr,
                                0) != UNZ_OK) {
        *reason = "unreadable directory record";
        return false;
    }
    *name = AnsiToUtf8(std::string(stored, strnlen(stored, sizeof stored)));
    if (info.size_filename > kMaxZipNameBytes) {
        *reason = "name longer than " + std::to_string(kMaxZipNameBytes) + " bytes";
        return false;
    }
    if (HasZip64Block(extra.data(), info.size_file_extra < extra.size() ? info.size_file_extra : extra.size()) ||
        info.uncompressed_size >= 0xFFFFFFFFu || info.compressed_size >= 0xFFFFFFFFu) {
        *reason = "ZIP64 entry";
        return false;
    }
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) {
        *reason = "compression method " + std::to_string(info.compression_method);
        return false;
    }
    ZipEntryPath path;
    if (!MakeZipEntryPath(*name, &path)) {
        *reason = "unsafe name";
        return false;
    }
    unsigned attributes = ZipAttributes(static_cast<unsigned>(info.version), static_cast<std::uint32_t>(info.external_fa));
    if (attributes & kZipFolder) {
        int fd = destination_.OpenFolder(path.parts, path.parts.size(), reason);
        if (fd < 0) return false;
        close(fd);
        return true;
    }
    if (path.endsWithSeparator) {
        *reason = "file entry without a file name";
        return false;
    }
    return WriteFile(info, path, attributes, reason);
}

bool EntryWriter::WriteFile(const unz_file_info64& info, const ZipEntryPath& path, unsigned attributes,
                            std::string* reason) {
    int folder = destination_.OpenFolder(path.parts, path.parts.size() - 1, reason);
    if (folder < 0) return false;
    std::unique_ptr<int, void (*)(int*)> folderGuard(&folder, [](int* fd) { close(*fd); });
    const std::string& file = path.parts.back();

    struct stat existing {};
    if (fstatat(folder, file.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            *reason = "a folder of that name exists";
            return false;
        }
        if (S_ISREG(existing.st_mode) && !(existing.st_mode & S_IWUSR)) {
            *reason = "a read-only file of that name exists";
            return false;
        }
    }

    // An encrypted entry gets the empty password; anything else would decrypt a plain one.
    bool encrypted = info.flag & 1;
    if (unzOpenCurrentFilePassword(archive_, encrypted ? "" : nullptr) != UNZ_OK) {
        *reason = "local header does not match the directory";
        return false;
    }
    std::int64_t dosTime = DosTimeToUnix(static_cast<std::uint32_t>(info.dosDate));
    std::int64_t modified = dosTime, accessed = dosTime;
    int localSize = unzGetLocalExtrafield(archive_, nullptr, 0);
    if (localSize > 0) {
        std::vector<unsigned char> local(static_cast<std::size_t>(localSize));
        int got = unzGetLocalExtrafield(archive_, local.data(), static_cast<unsigned>(local.size()));
        if (got > 0) {
            if (HasZip64Block(local.data(), static_cast<std::size_t>(got))) {
                unzCloseCurrentFile(archive_);
                *reason = "ZIP64 entry";
                return false;
            }
            ZipExtraTimes times = ReadExtraTimes(local.data(), static_cast<std::size_t>(got));
            if (times.hasModification) modified = times.modification;
            if (times.hasAccess) accessed = times.access;
        }
    }

    // The data goes to a hidden name first and takes the entry's name only when it checks out.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = ".unzip-" + std::to_string(getpid()) + "-" + std::to_string(serial_++);
        fd = openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    (attributes & kZipReadOnly) ? 0444 : 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        *reason = std::string("cannot create the file: ") + std::strerror(errno);
        unzCloseCurrentFile(archive_);
        return false;
    }
    bool ok = Copy(info, fd, reason);
    if (ok) {
        timespec stamps[2] = {{static_cast<time_t>(accessed), 0}, {static_cast<time_t>(modified), 0}};
        futimens(fd, stamps);
    }
    if (close(fd) != 0 && ok) {
        *reason = std::string("cannot write the file: ") + std::strerror(errno);
        ok = false;
    }
    if (ok && renameat(folder, temp.c_str(), folder, file.c_str()) != 0) {
        *reason = std::string("cannot create the file: ") + std::strerror(errno);
        ok = false;
    }
    if (!ok) unlinkat(folder, temp.c_str(), 0);
    return ok;
}

// Copies the open entry to fd and closes the entry; true only when size and CRC-32 match the directory.
bool EntryWriter::Copy(const unz_file_info64& info, int fd, std::string* reason) {
    uLong crc = crc32(0L, Z_NULL, 0);
    std::uint64_t count = 0;
    bool ok = true;
    for (;;) {
        if (options_.cancel && options_.cancel->load()) {
            *reason = "cancelled";
            ok = false;
            break;
        }
        int got = unzReadCurrentFile(archive_, buffer_.data(), static_cast<unsigned>(buffer_.size()));
        if (got == 0) break;
        if (got < 0) {
            *reason = "damaged data or wrong password";
            ok = false;
            break;
        }
        if (count + static_cast<std::uint64_t>(got) > info.uncompressed_size) {
            *reason = "more data than declared";
            ok = false;
            break;
        }
        for (int done = 0; done < got;) {
            ssize_t written = write(fd, buffer_.data() + done, static_cast<std::size_t>(got - done));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                *reason = std::string("cannot write the file: ") + std::strerror(errno);
                unzCloseCurrentFile(archive_);
                return false;
            }
            done += static_cast<int>(written);
        }
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer_.data()), static_cast<uInt>(got));
        count += static_cast<std::uint64_t>(got);
    }
    int closed = unzCloseCurrentFile(archive_);
    if (!ok) return false;
    // A short entry escapes the reader's own CRC check; a damaged image must never be used.
    if (count != info.uncompressed_size) {
        *reason = "size does not match the directory";
        return false;
    }
    if (crc != info.crc || closed == UNZ_CRCERROR) {
        *reason = "CRC-32 does not match";
        return false;
    }
    return true;
}

// The reader does not find an end record at the very start of the file, which is all an archive without
// entries consists of.
bool IsEmptyArchive(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    unsigned char end[22];
    if (!file || std::fread(end, 1, sizeof end, file.get()) != sizeof end) return false;
    if (Read32(end) != 0x06054b50) return false;
    for (int at = 4; at < 20; ++at) {
        if (end[at] != 0) return false;  // disks, entry counts, directory size and offset all 0
    }
    unsigned commentLength = end[20] | (end[21] << 8);
    if (fseeko(file.get(), 0, SEEK_END) != 0) return false;
    return ftello(file.get()) == static_cast<off_t>(sizeof end + commentLength);
}

bool Refuse(ZipExtractReport* report, const std::string& error) {
    report->error = error;
    return false;
}

}  // namespace

bool ExtractZip(const std::string& archivePath, const std::string& destination) {
    ZipExtractReport report;
    return ExtractZip(archivePath, destination, ZipExtractOptions{}, &report);
}

bool ExtractZip(const std::string& archivePath, const std::string& destination, const ZipExtractOptions& options,
                ZipExtractReport* reportOut) {
    ZipExtractReport local;
    ZipExtractReport* report = reportOut ? reportOut : &local;
    *report = ZipExtractReport{};
    Archive archive(unzOpen64(archivePath.c_str()));
    if (!archive && IsEmptyArchive(archivePath)) return true;
    if (!archive) return Refuse(report, "not a readable ZIP archive: " + archivePath);
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(archive.get(), &global) != UNZ_OK) return Refuse(report, "unreadable ZIP directory");
    if (HasZip64EndRecord(archivePath)) return Refuse(report, "ZIP64 archives are not supported");
    report->entries = static_cast<std::size_t>(global.number_entry);
    if (global.number_entry > options.maxEntries)
        return Refuse(report,
                      "the archive holds more than " + std::to_string(options.maxEntries) + " entries");

    // Declared sizes first: a hostile archive must not fill the disk.
    std::uint64_t total = 0;
    for (ZPOS64_T i = 0; i < global.number_entry; ++i) {
        if ((i == 0 ? unzGoToFirstFile(archive.get()) : unzGoToNextFile(archive.get())) != UNZ_OK) break;
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(archive.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        total += info.uncompressed_size;
        if (total > options.maxTotalBytes) {
            return Refuse(report, "the archive unpacks to more than " + std::to_string(options.maxTotalBytes) +
                                      " bytes");
        }
    }

    DestinationFolder folder(destination);
    EntryWriter writer(archive.get(), folder, options);
    for (ZPOS64_T i = 0; i < global.number_entry; ++i) {
        int moved = i == 0 ? unzGoToFirstFile(archive.get()) : unzGoToNextFile(archive.get());
        if (moved != UNZ_OK) {
            report->skipped.push_back("entry " + std::to_string(i) + " and later: unreadable directory record");
            break;
        }
        std::string name, reason;
        if (writer.Extract(&name, &reason)) {
            ++report->written;
        } else {
            report->skipped.push_back(name + ": " + reason);
        }
        if (options.cancel && options.cancel->load()) return Refuse(report, "cancelled");
    }
    return true;
}

}  // namespace quorvel
