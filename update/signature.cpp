#include "update/signature.h"

#include <sodium.h>

#include <optional>

#include "update/base64.h"
#include "update/version_file.h"

bool SIGNEDBYMAKER(std::string_view versionText, std::string_view publicKey) {
    if (sodium_init() < 0) return false;
    VersionFile file = READVERSIONFILE(versionText);
    if (file.signatureLines != 1 || !file.signature) return false;
    std::optional<std::string> key = FROM_BASE64(publicKey);
    std::optional<std::string> signature = FROM_BASE64(*file.signature);
    if (!key || key->size() != crypto_sign_PUBLICKEYBYTES || !signature ||
        signature->size() != crypto_sign_BYTES)
        return false;
    const std::string message = SIGNEDTEXT(versionText);
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature->data()),
                                       reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                                       reinterpret_cast<const unsigned char*>(key->data())) == 0;
}

std::string SIGNVERSIONTEXT(std::string_view versionText, std::string_view secretKey) {
    if (sodium_init() < 0 || secretKey.size() != crypto_sign_SECRETKEYBYTES) return "";
    const std::string message = SIGNEDTEXT(versionText);
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(message.data()),
                         message.size(), reinterpret_cast<const unsigned char*>(secretKey.data()));
    return GET_BASE64(std::string_view(reinterpret_cast<const char*>(signature), sizeof signature));
}

std::string HEXTEXT(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}
