// The cryptography updates and the installer rely on: SHA-256 digests and Ed25519 signatures.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

constexpr size_t kSha256Bytes = 32;
constexpr size_t kSignPublicKeyBytes = 32;
constexpr size_t kSignSecretKeyBytes = 64;
constexpr size_t kSignatureBytes = 64;

// A SHA-256 digest fed piece by piece, so that a large file is never held whole.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    void add(std::string_view bytes);
    // The 32 bytes of the digest of everything added.
    std::string finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The 32 bytes of the SHA-256 digest of bytes.
std::string OS_SHA256(std::string_view bytes);

// True when signature (64 bytes) is the Ed25519 signature of message made with the secret key
// of publicKey (32 bytes); false for any other length.
bool OS_SIGNATUREVALID(std::string_view signature, std::string_view message, std::string_view publicKey);

// The Ed25519 signature of message made with secretKey (64 bytes); empty for another length.
std::string OS_SIGN(std::string_view message, std::string_view secretKey);

struct SigningKeys {
    std::string publicKey;  // 32 bytes
    std::string secretKey;  // 64 bytes
};
// A new random key pair; both empty when no random source can be had.
SigningKeys OS_MAKESIGNINGKEYS();

// Overwrites a secret's bytes so that they linger nowhere once it is given up.
void OS_FORGETSECRET(std::string& secret);
