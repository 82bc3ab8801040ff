// The maker's signature on a version file (Ed25519), and the digest a signed
// file names for its installer.
#pragma once

#include <string>
#include <string_view>

// True when the version file carries exactly one signature line whose Ed25519 signature, made
// with the secret key of publicKey (Base64 of 32 bytes), covers the rest of the file.
bool SIGNEDBYMAKER(std::string_view versionText, std::string_view publicKey);

// The Base64 signature line content for a version file, made with a secret key (64 bytes); the
// signing tool's half of the rule above.
std::string SIGNVERSIONTEXT(std::string_view versionText, std::string_view secretKey);
