#pragma once
// Scratch folders and helper programs for the update tests.

#include <filesystem>
#include <string>
#include <vector>

namespace quorvel::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs a program (looked up in PATH) with the arguments in the given folder; its exit status, or -1.
// Standard output goes to stdoutFile when given.
int RunProgram(const std::vector<std::string>& argv, const std::string& folder,
               const std::string& stdoutFile = "");

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Every path below root, relative and sorted ("a", "a/b.txt"); links are listed, not entered.
std::vector<std::string> ListTree(const std::filesystem::path& root);

}  // namespace quorvel::test
