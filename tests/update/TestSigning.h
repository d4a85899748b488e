#pragma once
// Throw-away Ed25519 keys for the update tests: made from a fixed seed, they sign fixtures and nothing else.

#include <sodium.h>

#include <string>
#include <string_view>

#include "update/UpdateSignature.h"

namespace quorvel::test {

class TestSigner {
public:
    explicit TestSigner(unsigned char seedByte) {
        unsigned char seed[crypto_sign_SEEDBYTES];
        for (unsigned i = 0; i < sizeof seed; ++i) seed[i] = static_cast<unsigned char>(seedByte + i);
        if (sodium_init() < 0) return;
        crypto_sign_seed_keypair(public_, secret_, seed);
    }
    // The line of an update-keys file.
    std::string PublicLine() const { return EncodeBase64(public_, sizeof public_); }
    // The body of a ".sig" file for these bytes.
    std::string Sign(std::string_view data) const {
        unsigned char signature[crypto_sign_BYTES];
        crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(data.data()),
                             data.size(), secret_);
        return EncodeBase64(signature, sizeof signature) + "\n";
    }

private:
    unsigned char public_[crypto_sign_PUBLICKEYBYTES] = {};
    unsigned char secret_[crypto_sign_SECRETKEYBYTES] = {};
};

}  // namespace quorvel::test
