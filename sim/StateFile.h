#pragma once
// The JSON file that keeps the virtual mice's memory across runs: one object, keyed by "TYPE:link".
// Read once at creation; every store rewrites the whole file through a temporary file and a rename, so
// a run that stops midway leaves the old file or the new one, never half of one.

#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/MouseMemory.h"

namespace quorvel {

class StateFile {
public:
    explicit StateFile(std::string path);

    // The memory stored for this key, applied over *memory; false (and a warning) when the entry is bad.
    bool Load(const std::string& key, MouseMemory* memory);
    void Store(const std::string& key, const MouseMemory& memory);
    // Why the file (or an entry) was ignored, or why it could not be written; empty when all went well.
    std::string Warning() const;
    const std::string& Path() const { return path_; }

private:
    void AddWarning(const std::string& text);

    const std::string path_;
    mutable std::mutex mutex_;
    nlohmann::json document_ = nlohmann::json::object();
    std::string warning_;
};

}  // namespace quorvel
