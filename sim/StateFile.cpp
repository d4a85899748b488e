#include "sim/StateFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/TempFile.h"

namespace quorvel {

StateFile::StateFile(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;  // no file yet: every mouse starts from its factory settings
    std::stringstream text;
    text << in.rdbuf();
    nlohmann::json parsed = nlohmann::json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        AddWarning("virtual mouse state file " + path_ + " is not a JSON object; ignored");
        return;
    }
    document_ = std::move(parsed);
}

bool StateFile::Load(const std::string& key, MouseMemory* memory) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = document_.find(key);
    if (it == document_.end()) return false;
    std::string why;
    if (MemoryFromJson(*it, memory, &why)) return true;
    warning_ += (warning_.empty() ? "" : "\n") +
                ("virtual mouse state file " + path_ + ": entry " + key + " ignored (" + why + ")");
    return false;
}

void StateFile::Store(const std::string& key, const MouseMemory& memory) {
    std::lock_guard<std::mutex> lock(mutex_);
    document_[key] = MemoryToJson(memory);
    const std::string text = document_.dump(2) + "\n";
    // A new temporary of our own beside the file (never a predictable name that could be a planted link);
    // not synced to disk: the memory of a virtual mouse is rewritten on every change.
    std::string temp;
    const int fd = CreateTemporaryBeside(path_, ".tmp-", &temp, 0600);
    bool written = fd >= 0 && WriteAllBytes(fd, text.data(), text.size());
    if (fd >= 0) written = close(fd) == 0 && written;
    if (!written || std::rename(temp.c_str(), path_.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        if (!temp.empty()) unlink(temp.c_str());
        const std::string message = "cannot write virtual mouse state file " + path_ + ": " + reason;
        if (warning_.find(message) == std::string::npos) warning_ += (warning_.empty() ? "" : "\n") + message;
    }
}

std::string StateFile::Warning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return warning_;
}

void StateFile::AddWarning(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    warning_ += (warning_.empty() ? "" : "\n") + text;
}

}  // namespace quorvel
