// Feeds arbitrary bytes to ExtractZip as an archive. Besides crashes it stops on any write outside the
// destination: the destination holds a link to a folder beside it, and that folder must stay empty.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "update/ZipExtract.h"

namespace fs = std::filesystem;

namespace {

struct Sandbox {
    fs::path root, archive, box, dest, outside;

    Sandbox() {
        std::string pattern = (fs::temp_directory_path() / "fuzz-extractzip-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root = pattern;
        archive = root / "archive.zip";
        box = root / "box";
        dest = box / "dest";
        outside = box / "outside";
        fs::create_directories(outside);
    }
    ~Sandbox() {
        std::error_code error;
        fs::remove_all(root, error);
    }

    void Reset() {
        std::error_code error;
        fs::remove_all(dest, error);
        fs::create_directories(dest);
        fs::create_directory_symlink("../outside", dest / "link");
        fs::create_symlink("../outside/victim", dest / "victim");
    }

    // Only the destination may have changed.
    void Check() const {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(root, error)) {
            if (entry.path() != archive && entry.path() != box) Escape(entry.path());
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(box, error)) {
            if (entry.path() != dest && entry.path() != outside) Escape(entry.path());
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(outside, error)) Escape(entry.path());
    }

    [[noreturn]] static void Escape(const fs::path& path) {
        std::fprintf(stderr, "written outside the destination: %s\n", path.c_str());
        std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Sandbox sandbox;
    {
        std::ofstream out(sandbox.archive, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    sandbox.Reset();
    quorvel::ZipExtractOptions options;
    options.maxTotalBytes = 4 * 1024 * 1024;  // keeps each run small
    quorvel::ZipExtractReport report;
    quorvel::ExtractZip(sandbox.archive.string(), sandbox.dest.string(), options, &report);
    sandbox.Check();
    return 0;
}
