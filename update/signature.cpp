#include "update/signature.h"

#include <optional>

#include "platform/crypto.h"
#include "update/base64.h"
#include "update/version_file.h"

bool SIGNEDBYMAKER(std::string_view versionText, std::string_view publicKey) {
    VersionFile file = READVERSIONFILE(versionText);
    if (file.signatureLines != 1 || !file.signature) return false;
    std::optional<std::string> key = FROM_BASE64(publicKey);
    std::optional<std::string> signature = FROM_BASE64(*file.signature);
    return key && signature && OS_SIGNATUREVALID(*signature, SIGNEDTEXT(versionText), *key);
}

std::string SIGNVERSIONTEXT(std::string_view versionText, std::string_view secretKey) {
    const std::string signature = OS_SIGN(SIGNEDTEXT(versionText), secretKey);
    return signature.empty() ? "" : GET_BASE64(signature);
}
