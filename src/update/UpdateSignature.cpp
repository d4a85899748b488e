#include "update/UpdateSignature.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel {
namespace {

bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// Exactly `size` bytes of base64 (standard alphabet, padded), nothing else.
bool DecodeBase64(std::string_view text, unsigned char* out, std::size_t size) {
    std::size_t written = 0;
    const char* end = nullptr;
    if (sodium_base642bin(out, size, text.data(), text.size(), nullptr, &written, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0)
        return false;
    return written == size && end == text.data() + text.size();
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Opens for reading without waiting on a FIFO or a device; only a regular file is kept open.
int OpenRegular(const std::string& path, struct stat* st, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *error = "cannot open " + path + ": " + std::strerror(errno);
        return -1;
    }
    if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        *error = path + " is not a regular file";
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string EncodeBase64(const unsigned char* data, std::size_t size) {
    std::string text(sodium_base64_ENCODED_LEN(size, sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), data, size, sodium_base64_VARIANT_ORIGINAL);
    text.resize(std::strlen(text.c_str()));
    return text;
}

UpdateKeys ParseUpdateKeys(std::string_view text) {
    UpdateKeys result;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = Trim(line);
        if (line.empty()) continue;
        UpdateKey key{};
        if (!DecodeBase64(line, key.data(), key.size())) {
            result.keys.clear();
            result.error = "line " + std::to_string(number) + " is not the base64 of a 32-byte key";
            return result;
        }
        result.keys.push_back(key);
    }
    return result;
}

UpdateKeys LoadUpdateKeys(const std::string& path) {
    UpdateKeys result;
    struct stat st {};
    std::string error;
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) return result;
    const int fd = OpenRegular(path, &st, &error);
    if (fd < 0) {
        result.error = error;
        return result;
    }
    std::string text(kMaxUpdateKeysBytes + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = "cannot read " + path + ": " + std::strerror(errno);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (error.empty() && got > kMaxUpdateKeysBytes)
        error = path + " is larger than " + std::to_string(kMaxUpdateKeysBytes) + " bytes";
    if (!error.empty()) {
        result.error = error;
        return result;
    }
    text.resize(got);
    result = ParseUpdateKeys(text);
    if (!result.error.empty()) result.error = path + ": " + result.error;
    return result;
}

std::string CheckSignature(std::string_view data, std::string_view signature, const UpdateKeys& keys) {
    if (!SodiumReady()) return "the signature library could not be set up";
    if (signature.size() > kMaxSignatureBytes) return "the signature file is too long";
    // One line: a final line end is allowed, nothing else.
    if (!signature.empty() && signature.back() == '\n') signature.remove_suffix(1);
    if (!signature.empty() && signature.back() == '\r') signature.remove_suffix(1);
    if (signature.empty()) return "the signature file is empty";
    unsigned char bytes[crypto_sign_BYTES];
    if (!DecodeBase64(signature, bytes, sizeof bytes))
        return "the signature file does not hold the base64 of a 64-byte signature";
    const auto* message = reinterpret_cast<const unsigned char*>(data.data());
    for (const UpdateKey& key : keys.keys) {
        if (crypto_sign_verify_detached(bytes, message, data.size(), key.data()) == 0) return {};
    }
    return "the signature was not made of this file by a key of this program";
}

std::string CheckFileSignature(const std::string& path, std::string_view signature, const UpdateKeys& keys) {
    struct stat st {};
    std::string error;
    const int fd = OpenRegular(path, &st, &error);
    if (fd < 0) return error;
    if (st.st_size == 0) {
        ::close(fd);
        return CheckSignature({}, signature, keys);
    }
    void* map = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) return "cannot read " + path + ": " + std::strerror(errno);
    error =
        CheckSignature(std::string_view(static_cast<const char*>(map), static_cast<std::size_t>(st.st_size)),
                       signature, keys);
    ::munmap(map, static_cast<std::size_t>(st.st_size));
    return error;
}

}  // namespace quorvel
