#include "update/ZipExtract.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "update/TestFiles.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test::ListTree;
using test::ReadWholeFile;
using test::RunProgram;
using test::ScratchDir;
using test::WriteWholeFile;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::int64_t kUtTime = 1600000000;
// 2020-01-02 03:04:06 in the test's zone (UTC+2): the DOS time of the Python-made entries.
constexpr std::int64_t kDosTime = 1577934246 - 2 * 3600;

struct stat Stat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
}

class ExtractZipTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // DOS times are local: a zone away from UTC shows that they are converted.
        setenv("TZ", "QRV-2", 1);
        tzset();
        archives_ = new ScratchDir;
        int status = RunProgram({"/usr/bin/python3", QUORVEL_FIXTURE_DIR "/update/make_zips.py",
                                 archives_->Path().string()},
                                archives_->Path().string());
        ASSERT_EQ(status, 0) << "the fixture writer failed";
    }
    static void TearDownTestSuite() {
        delete archives_;
        archives_ = nullptr;
    }

    static std::string Archive(const std::string& name) { return *archives_ / name; }

    // Runs Info-ZIP's zip in the scratch folder.
    void Zip(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv = {"zip", "-q"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        ASSERT_EQ(RunProgram(argv, scratch_.Path().string()), 0);
    }

    bool Extract(const std::string& archive, ZipExtractOptions options = {}) {
        return ExtractZip(archive, dest_, options, &report_);
    }

    static ScratchDir* archives_;
    ScratchDir scratch_;
    ScratchDir sandbox_;  // the destination lies inside, so anything written beside it shows
    std::string dest_ = sandbox_ / "dest";
    ZipExtractReport report_;
};

ScratchDir* ExtractZipTest::archives_ = nullptr;

TEST_F(ExtractZipTest, UnsafeNamesLandBelowTheDestination) {
    ASSERT_TRUE(Extract(Archive("names.zip")));
    EXPECT_THAT(ListTree(sandbox_.Path()),
                ElementsAre("dest", "dest/b1.bin", "dest/b2.bin", "dest/b3.bin", "dest/c.txt", "dest/dir",
                            "dest/dir/double.txt", "dest/dot", "dest/dot/d.txt", "dest/drive.txt", "dest/root.txt",
                            "dest/server", "dest/server/share", "dest/server/share/unc.txt", "dest/w.txt",
                            "dest/x", "dest/x/setup.exe"));
    struct Case {
        const char* written;
        const char* stored;
    };
    const Case cases[] = {
        {"x/setup.exe", "C:\\x\\setup.exe"}, {"b1.bin", "a/../../b1.bin"}, {"b2.bin", "..\\..\\b2.bin"},
        {"b3.bin", "../b3.bin"},             {"c.txt", "a/b/../c.txt"},    {"server/share/unc.txt", "\\\\server\\share\\unc.txt"},
        {"w.txt", "up/..\\..\\w.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadWholeFile(dest_ + "/" + c.written), c.stored);
    EXPECT_EQ(report_.entries, 13u);
    EXPECT_EQ(report_.written, 11u);
    EXPECT_THAT(report_.skipped, ElementsAre("a/..: unsafe name", "..: unsafe name"));
}

TEST_F(ExtractZipTest, InfoZipArchiveRoundTrip) {
    // Unix modes 0644 and 0444, a folder, a file larger than one copy buffer, and Info-ZIP's own "UT" block.
    WriteWholeFile(scratch_ / "rw.txt", "writable");
    WriteWholeFile(scratch_ / "ro.txt", "read-only");
    fs::create_directory(scratch_ / "sub");
    std::string big;
    for (int i = 0; i < 20000; ++i) big += std::to_string(i * 7919 % 1000);
    WriteWholeFile(scratch_ / "sub/big.bin", big);
    chmod((scratch_ / "rw.txt").c_str(), 0644);
    chmod((scratch_ / "ro.txt").c_str(), 0444);
    ASSERT_EQ(RunProgram({"touch", "-d", "@1500000000", "rw.txt", "ro.txt", "sub/big.bin"}, scratch_.Path()), 0);
    Zip({"-r", "modes.zip", "rw.txt", "ro.txt", "sub"});

    ASSERT_TRUE(Extract(scratch_ / "modes.zip"));
    EXPECT_THAT(ListTree(dest_), ElementsAre("ro.txt", "rw.txt", "sub", "sub/big.bin"));
    EXPECT_EQ(ReadWholeFile(dest_ + "/sub/big.bin"), big);
    EXPECT_EQ(ReadWholeFile(dest_ + "/ro.txt"), "read-only");
    EXPECT_EQ(Stat(dest_ + "/ro.txt").st_mode & 0222, 0u);
    EXPECT_NE(Stat(dest_ + "/rw.txt").st_mode & S_IWUSR, 0u);
    EXPECT_TRUE(S_ISDIR(Stat(dest_ + "/sub").st_mode));
    for (const char* name : {"/rw.txt", "/ro.txt", "/sub/big.bin"}) {
        EXPECT_EQ(Stat(dest_ + name).st_mtime, 1500000000) << name;
    }
    EXPECT_THAT(report_.skipped, IsEmpty());
}

// Names are read in the system's ANSI code page, which on a UTF-8 locale is UTF-8: a name Info-ZIP stored
// as this system wrote it comes out the same.
TEST_F(ExtractZipTest, NamesOnAUtf8LocaleAreUtf8) {
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old != nullptr ? old : "";
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    WriteWholeFile(scratch_ / "Profil\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87.txt", "x");
    Zip({"names-utf8.zip", "Profil\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87.txt"});
    const bool extracted = Extract(scratch_ / "names-utf8.zip");
    if (old != nullptr)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
    ASSERT_TRUE(extracted);
    EXPECT_THAT(ListTree(dest_), ElementsAre("Profil\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87.txt"));
}

TEST_F(ExtractZipTest, DosHostAttributes) {
    ASSERT_TRUE(Extract(Archive("dos_attrs.zip")));
    EXPECT_THAT(ListTree(dest_), ElementsAre("folder", "hidden.txt", "plain.txt", "readonly.txt"));
    EXPECT_EQ(Stat(dest_ + "/readonly.txt").st_mode & 0222, 0u);
    EXPECT_NE(Stat(dest_ + "/plain.txt").st_mode & S_IWUSR, 0u);
    EXPECT_NE(Stat(dest_ + "/hidden.txt").st_mode & S_IWUSR, 0u);
    EXPECT_TRUE(S_ISDIR(Stat(dest_ + "/folder").st_mode));
}

TEST_F(ExtractZipTest, TimesFromDosTimeAndUtBlock) {
    ASSERT_TRUE(Extract(Archive("ut.zip")));
    struct stat stamped = Stat(dest_ + "/stamped.txt");
    EXPECT_EQ(stamped.st_mtime, kUtTime);
    EXPECT_EQ(stamped.st_atime, kDosTime);  // no access time in the block: the DOS time stays
    struct stat dos = Stat(dest_ + "/dos.txt");
    EXPECT_EQ(dos.st_mtime, kDosTime);
    EXPECT_EQ(dos.st_atime, kDosTime);
}

TEST_F(ExtractZipTest, EmptyArchiveWritesNothing) {
    ASSERT_TRUE(Extract(Archive("empty.zip")));
    EXPECT_THAT(ListTree(sandbox_.Path()), IsEmpty());
    EXPECT_EQ(report_.entries, 0u);
}

TEST_F(ExtractZipTest, RefusedArchivesWriteNothing) {
    std::string good = ReadWholeFile(Archive("three_kib.zip"));
    WriteWholeFile(scratch_ / "truncated.zip", good.substr(0, good.size() / 2));
    WriteWholeFile(scratch_ / "text.zip", "this is not an archive\n");
    WriteWholeFile(scratch_ / "zero.zip", "");
    // The end record of a ZIP64 archive, preceded by its locator.
    std::string zip64 = good;
    std::size_t end = zip64.rfind("PK\x05\x06");
    zip64.insert(end, std::string("PK\x06\x07", 4) + std::string(16, '\0'));
    WriteWholeFile(scratch_ / "zip64.zip", zip64);
    struct Case {
        const char* name;
        std::string path;
        const char* error;
    };
    const Case cases[] = {
        {"missing", scratch_ / "missing.zip", "not a readable ZIP archive"},
        {"truncated", scratch_ / "truncated.zip", "not a readable ZIP archive"},
        {"not an archive", scratch_ / "text.zip", "not a readable ZIP archive"},
        {"empty file", scratch_ / "zero.zip", "not a readable ZIP archive"},
        {"ZIP64 end record", scratch_ / "zip64.zip", "ZIP64"},
        {"declares 300 MiB", Archive("declared_huge.zip"), "unpacks to more than 268435456 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Extract(c.path));
        EXPECT_THAT(report_.error, HasSubstr(c.error));
        EXPECT_THAT(ListTree(sandbox_.Path()), IsEmpty());
    }
}

TEST_F(ExtractZipTest, TotalCapCountsEveryEntry) {
    ZipExtractOptions options;
    options.maxTotalBytes = 3 * 1024 - 1;
    EXPECT_FALSE(Extract(Archive("three_kib.zip"), options));
    EXPECT_THAT(ListTree(sandbox_.Path()), IsEmpty());
    options.maxTotalBytes = 3 * 1024;
    EXPECT_TRUE(Extract(Archive("three_kib.zip"), options));
    EXPECT_THAT(ListTree(dest_), ElementsAre("k0.bin", "k1.bin", "k2.bin"));
}

// A stored archive of `count` empty files e0, e1, ...
std::string EmptyEntries(std::size_t count) {
    std::string zip, central;
    auto put = [](std::string* out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "e" + std::to_string(i);
        const auto offset = static_cast<std::uint32_t>(zip.size());
        for (std::string* out : {&zip, &central}) {
            const bool dir = out == &central;
            put(out, dir ? 0x02014b50 : 0x04034b50, 4);
            if (dir) put(out, 0x031E, 2);
            put(out, 20, 2);
            put(out, 0, 2);       // flags
            put(out, 0, 2);       // stored
            put(out, 0, 2);       // time
            put(out, 0x0021, 2);  // date
            put(out, 0, 4);       // CRC-32 of nothing
            put(out, 0, 4);
            put(out, 0, 4);
            put(out, static_cast<std::uint32_t>(name.size()), 2);
            put(out, 0, 2);
            if (dir) {
                put(out, 0, 2);
                put(out, 0, 2);
                put(out, 0, 2);
                put(out, 0100644u << 16, 4);
                put(out, offset, 4);
            }
            *out += name;
        }
    }
    const auto centralOffset = static_cast<std::uint32_t>(zip.size());
    zip += central;
    put(&zip, 0x06054b50, 4);
    put(&zip, 0, 4);
    put(&zip, static_cast<std::uint32_t>(count), 2);
    put(&zip, static_cast<std::uint32_t>(count), 2);
    put(&zip, static_cast<std::uint32_t>(central.size()), 4);
    put(&zip, centralOffset, 4);
    put(&zip, 0, 2);
    return zip;
}

// Entries cost a file each whatever their size: their number has a cap of its own.
TEST_F(ExtractZipTest, EntryCapRefusesTheWholeArchive) {
    const std::string many = Archive("many-entries.zip");
    WriteWholeFile(many, EmptyEntries(kMaxZipEntries + 1));
    EXPECT_FALSE(Extract(many));
    EXPECT_THAT(report_.error, HasSubstr("more than 4096 entries"));
    EXPECT_THAT(ListTree(sandbox_.Path()), IsEmpty());

    WriteWholeFile(many, EmptyEntries(kMaxZipEntries));
    EXPECT_TRUE(Extract(many));
    EXPECT_EQ(report_.written, kMaxZipEntries);

    ZipExtractOptions options;
    options.maxEntries = 2;
    EXPECT_FALSE(Extract(Archive("three_kib.zip"), options));
}

TEST_F(ExtractZipTest, DamagedEntriesAreNotWritten) {
    // A damaged image must never reach the mouse: nothing of it stays, not even a partial file.
    ASSERT_TRUE(Extract(Archive("bad_crc.zip")));
    EXPECT_THAT(ListTree(dest_), ElementsAre("after.txt"));
    EXPECT_EQ(ReadWholeFile(dest_ + "/after.txt"), "still here");
    EXPECT_THAT(report_.skipped, ElementsAre("image.bin: CRC-32 does not match"));

    // Declared sizes that do not match the data, deflated and stored.
    ASSERT_TRUE(Extract(Archive("size_mismatch.zip")));
    EXPECT_THAT(ListTree(dest_), ElementsAre("after.txt", "fine.bin"));
    EXPECT_EQ(ReadWholeFile(dest_ + "/fine.bin").size(), 16384u);
    EXPECT_EQ(report_.skipped.size(), 3u);
}

TEST_F(ExtractZipTest, DamagedEntryKeepsAnEarlierFileOfThatName) {
    fs::create_directories(dest_);
    WriteWholeFile(dest_ + "/image.bin", "from an earlier run");
    ASSERT_TRUE(Extract(Archive("bad_crc.zip")));
    EXPECT_EQ(ReadWholeFile(dest_ + "/image.bin"), "from an earlier run");
}

TEST_F(ExtractZipTest, EncryptedEntryIsNotWritten) {
    WriteWholeFile(scratch_ / "secret.bin", std::string(5000, 's'));
    WriteWholeFile(scratch_ / "plain.txt", "plain");
    Zip({"-P", "secret", "mixed.zip", "secret.bin"});
    Zip({"mixed.zip", "plain.txt"});
    ASSERT_TRUE(Extract(scratch_ / "mixed.zip"));
    EXPECT_THAT(ListTree(dest_), ElementsAre("plain.txt"));
    EXPECT_EQ(report_.skipped.size(), 1u);
}

TEST_F(ExtractZipTest, OnlyStoredAndDeflatedWithoutZip64) {
    ASSERT_TRUE(Extract(Archive("methods.zip")));
    EXPECT_THAT(ListTree(dest_), ElementsAre("deflated.txt", "stored.txt"));
    EXPECT_THAT(report_.skipped, ElementsAre("bzip2.bin: compression method 12"));

    // Info-ZIP writes a ZIP64 block for data it reads from a pipe.
    WriteWholeFile(scratch_ / "piped.txt", "piped data");
    WriteWholeFile(scratch_ / "normal.txt", "normal");
    ASSERT_EQ(RunProgram({"sh", "-c", "zip -q piped.zip - < piped.txt && zip -q piped.zip normal.txt"},
                         scratch_.Path()),
              0);
    fs::remove_all(dest_);
    ASSERT_TRUE(Extract(scratch_ / "piped.zip"));
    EXPECT_THAT(ListTree(dest_), ElementsAre("normal.txt"));
    EXPECT_THAT(report_.skipped, ElementsAre("-: ZIP64 entry"));
}

TEST_F(ExtractZipTest, LinksInTheDestinationAreNotFollowed) {
    fs::create_directories(dest_);
    fs::create_directory(sandbox_ / "outside");
    WriteWholeFile(sandbox_ / "outside/target.txt", "untouched");
    fs::create_directory_symlink(sandbox_ / "outside", dest_ + "/link");
    fs::create_symlink(sandbox_ / "outside/target.txt", dest_ + "/victim.txt");

    ASSERT_TRUE(Extract(Archive("links.zip")));
    EXPECT_THAT(ListTree(sandbox_ / "outside"), ElementsAre("target.txt"));
    EXPECT_EQ(ReadWholeFile(sandbox_ / "outside/target.txt"), "untouched");
    // The link itself is replaced by the entry, not written through.
    EXPECT_TRUE(S_ISREG(Stat(dest_ + "/victim.txt").st_mode));
    EXPECT_EQ(ReadWholeFile(dest_ + "/victim.txt"), "fresh");
    EXPECT_THAT(report_.skipped, ElementsAre(HasSubstr("link/evil.txt: cannot enter folder link")));
}

TEST_F(ExtractZipTest, ReadOnlyFileFromAnEarlierRunIsKept) {
    fs::create_directories(dest_);
    WriteWholeFile(dest_ + "/locked.txt", "old");
    WriteWholeFile(dest_ + "/open.txt", "old");
    chmod((dest_ + "/locked.txt").c_str(), 0444);
    ASSERT_TRUE(Extract(Archive("locked.zip")));
    EXPECT_EQ(ReadWholeFile(dest_ + "/locked.txt"), "old");
    EXPECT_EQ(ReadWholeFile(dest_ + "/open.txt"), "new");
    EXPECT_THAT(report_.skipped, ElementsAre("locked.txt: a read-only file of that name exists"));
}

TEST_F(ExtractZipTest, BytesInFrontOfTheArchive) {
    WriteWholeFile(scratch_ / "prefixed.zip", std::string(1000, 'M') + ReadWholeFile(Archive("three_kib.zip")));
    ASSERT_TRUE(Extract(scratch_ / "prefixed.zip"));
    EXPECT_THAT(ListTree(dest_), ElementsAre("k0.bin", "k1.bin", "k2.bin"));
    EXPECT_EQ(ReadWholeFile(dest_ + "/k1.bin"), std::string(1024, 'k'));
}

TEST_F(ExtractZipTest, CancelStopsBeforeAnythingIsWritten) {
    std::atomic<bool> cancel{true};
    ZipExtractOptions options;
    options.cancel = &cancel;
    EXPECT_FALSE(Extract(Archive("three_kib.zip"), options));
    EXPECT_EQ(report_.error, "cancelled");
    EXPECT_THAT(ListTree(dest_), IsEmpty());
}

}  // namespace
}  // namespace quorvel
