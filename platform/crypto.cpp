#include "platform/crypto.h"

#include <sodium.h>

static_assert(kSha256Bytes == crypto_hash_sha256_BYTES && kSignPublicKeyBytes == crypto_sign_PUBLICKEYBYTES &&
              kSignSecretKeyBytes == crypto_sign_SECRETKEYBYTES && kSignatureBytes == crypto_sign_BYTES);

namespace {

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

struct Sha256::State {
    crypto_hash_sha256_state sodium;
};

Sha256::Sha256() : state_(std::make_unique<State>()) { crypto_hash_sha256_init(&state_->sodium); }

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes) {
    crypto_hash_sha256_update(&state_->sodium, bytesOf(bytes), bytes.size());
}

std::string Sha256::finish() {
    std::string digest(kSha256Bytes, '\0');
    crypto_hash_sha256_final(&state_->sodium, reinterpret_cast<unsigned char*>(digest.data()));
    return digest;
}

std::string OS_SHA256(std::string_view bytes) {
    Sha256 digest;
    digest.add(bytes);
    return digest.finish();
}

bool OS_SIGNATUREVALID(std::string_view signature, std::string_view message, std::string_view publicKey) {
    if (sodium_init() < 0 || signature.size() != kSignatureBytes || publicKey.size() != kSignPublicKeyBytes)
        return false;
    return crypto_sign_verify_detached(bytesOf(signature), bytesOf(message), message.size(),
                                       bytesOf(publicKey)) == 0;
}

std::string OS_SIGN(std::string_view message, std::string_view secretKey) {
    if (sodium_init() < 0 || secretKey.size() != kSignSecretKeyBytes) return "";
    std::string signature(kSignatureBytes, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr, bytesOf(message),
                         message.size(), bytesOf(secretKey));
    return signature;
}

SigningKeys OS_MAKESIGNINGKEYS() {
    if (sodium_init() < 0) return {};
    SigningKeys keys{std::string(kSignPublicKeyBytes, '\0'), std::string(kSignSecretKeyBytes, '\0')};
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(keys.publicKey.data()),
                        reinterpret_cast<unsigned char*>(keys.secretKey.data()));
    return keys;
}

void OS_FORGETSECRET(std::string& secret) {
    sodium_memzero(secret.data(), secret.size());
    secret.clear();
}
