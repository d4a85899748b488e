#pragma once
// A fresh temporary folder that stands in for the user's home: HOME and the XDG folders point into it
// while the object lives, and are restored (and the folder removed) afterwards.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace quorvel::testing {

class ScopedEnv {
public:
    void Set(const char* name, const std::string& value) {
        Remember(name);
        setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name) {
        Remember(name);
        unsetenv(name);
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }

private:
    void Remember(const char* name) {
        if (saved_.count(name)) return;
        const char* old = getenv(name);
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

class TempHome {
public:
    TempHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        env_.Set("HOME", root_);
        env_.Set("XDG_CONFIG_HOME", root_ + "/config");
        env_.Set("XDG_DATA_HOME", root_ + "/data");
        env_.Set("XDG_RUNTIME_DIR", root_ + "/run");
    }
    ~TempHome() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Root() const { return root_; }
    ScopedEnv& Env() { return env_; }

private:
    std::string root_;
    ScopedEnv env_;
};

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace quorvel::testing
