#pragma once
// Runs the built quorvelctl as a separate process in a throw-away home: its own XDG folders, a state file
// so successive runs see the same virtual mouse, an HID trace, and the C locale (English texts).

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

extern char** environ;

namespace quorvel::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;

    nlohmann::json Json() const {
        nlohmann::json doc = nlohmann::json::parse(out, nullptr, false);
        EXPECT_FALSE(doc.is_discarded()) << "stdout is not JSON:\n" << out << "\nstderr:\n" << err;
        return doc;
    }
};

inline std::ostream& operator<<(std::ostream& os, const CliRun& run) {
    return os << "exit " << run.exitCode << "\n--- stdout\n" << run.out << "--- stderr\n" << run.err;
}

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        root_ = std::filesystem::temp_directory_path() /
                ("quorvel-cli-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    std::string TracePath() const { return Path("hid.trace"); }
    std::string StatePath() const { return Path("mouse-state.json"); }

    // Runs quorvelctl with the arguments; extraEnv adds or overrides variables ("" removes one).
    CliRun Run(const std::vector<std::string>& args, const std::map<std::string, std::string>& extraEnv = {}) {
        std::map<std::string, std::string> env = {
            {"PATH", "/usr/bin:/bin"},
            {"HOME", Path("home")},
            {"LC_ALL", "C"},
            {"XDG_CONFIG_HOME", Path("config")},
            {"XDG_DATA_HOME", Path("data")},
            {"XDG_RUNTIME_DIR", Path("runtime")},
            {"QUORVEL_VIRTUAL_STATE", StatePath()},
            {"QUORVEL_HID_TRACE", TracePath()},
        };
        for (const auto& [k, v] : extraEnv) {
            if (v.empty()) env.erase(k);
            else env[k] = v;
        }
        // Sanitizer settings of the test run reach the child too.
        for (const char* keep : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS", "LSAN_OPTIONS"}) {
            if (const char* v = std::getenv(keep)) env.emplace(keep, v);
        }
        std::vector<std::string> envText;
        for (const auto& [k, v] : env) envText.push_back(k + "=" + v);
        std::vector<char*> envp;
        for (std::string& e : envText) envp.push_back(e.data());
        envp.push_back(nullptr);

        const std::string binary = std::string(QUORVEL_BIN_DIR) + "/quorvelctl";
        std::vector<std::string> argText = {binary};
        argText.insert(argText.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : argText) argv.push_back(a.data());
        argv.push_back(nullptr);

        const std::string outPath = Path("stdout"), errPath = Path("stderr");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        CliRun run;
        const int rc = posix_spawn(&pid, binary.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(rc, 0) << "cannot start " << binary;
        if (rc != 0) return run;
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = ReadWhole(outPath);
        run.err = ReadWhole(errPath);
        return run;
    }

    // The trace lines written since the last call.
    std::vector<std::string> TakeTrace() {
        std::vector<std::string> lines;
        std::istringstream in(ReadWhole(TracePath()));
        std::string line;
        size_t n = 0;
        while (std::getline(in, line)) {
            if (n++ >= traceSeen_) lines.push_back(line);
        }
        traceSeen_ = n;
        return lines;
    }

    std::filesystem::path root_;
    size_t traceSeen_ = 0;
};

}  // namespace quorvel::test
