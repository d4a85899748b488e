#pragma once
// Detached Ed25519 signatures of update files. The maker signs each file the update flow downloads (the
// version texts and the archives); the signature lies beside it on the server at the file's address with
// ".sig" appended: one line, the base64 of the 64-byte signature of the file's exact bytes. The public
// keys that may sign are listed in "update-keys" in the product folder: one base64 32-byte key per line,
// blank lines and '#' comments ignored. libsodium does the cryptography.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

using UpdateKey = std::array<unsigned char, 32>;

struct UpdateKeys {
    std::vector<UpdateKey> keys;  // empty: updates are not signed (today's behaviour)
    std::string error;            // the file exists but cannot be used: every update is refused
};

// The name of the key file in the product folder.
inline constexpr const char* kUpdateKeysFileName = "update-keys";
// A signature file is one short line; anything longer is refused without reading it all.
inline constexpr std::size_t kMaxSignatureBytes = 1024;
// A key file longer than this is refused.
inline constexpr std::size_t kMaxUpdateKeysBytes = 64 * 1024;

// Parses the key file's text. A line that is not one base64 32-byte key makes *error say which.
UpdateKeys ParseUpdateKeys(std::string_view text);
// Reads "<productFolder>/update-keys". A missing file gives no keys and no error; a file that is not a
// regular file, too large or unreadable gives the error.
UpdateKeys LoadUpdateKeys(const std::string& path);

// Empty when `signature` (the whole body of a ".sig" file) is a base64 Ed25519 signature of `data` made
// with one of the keys; otherwise why not.
std::string CheckSignature(std::string_view data, std::string_view signature, const UpdateKeys& keys);
// The same for a file's bytes (mapped, not copied).
std::string CheckFileSignature(const std::string& path, std::string_view signature, const UpdateKeys& keys);

// The base64 of a signature or key, as the files hold it (for the tests and tools).
std::string EncodeBase64(const unsigned char* data, std::size_t size);

}  // namespace quorvel
