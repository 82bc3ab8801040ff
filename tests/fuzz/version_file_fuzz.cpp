// The version file on any bytes the server may send: its fields stay within their checks, a
// version text is safe to show, and a file the maker signed verifies while one changed anywhere
// does not.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "platform/crypto.h"
#include "update/base64.h"
#include "update/signature.h"
#include "update/version_file.h"
#include "tests/fuzz/require.h"

namespace {

bool validUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// A key pair of the fuzz target's own, made once.
struct TestKey {
    std::string publicKey, secretKey;
    TestKey() {
        SigningKeys keys = OS_MAKESIGNINGKEYS();
        REQUIRE(keys.secretKey.size() == kSignSecretKeyBytes);
        publicKey = GET_BASE64(keys.publicKey);
        secretKey = keys.secretKey;
    }
};

bool sameFields(const VersionFile& a, const VersionFile& b) {
    return a.host == b.host && a.path == b.path && a.fileName == b.fileName && a.version == b.version &&
           a.sha256 == b.sha256 && a.size == b.size;
}

void checkSignature(const std::string& text, size_t flipAt) {
    static const TestKey key;
    const size_t firstEnd = text.find("\r\n");
    if (firstEnd == std::string::npos || READVERSIONFILE(text).signatureLines != 0) return;
    const std::string line = "signature " + SIGNVERSIONTEXT(text, key.secretKey) + "\r\n";
    std::string signedFile = text;
    signedFile.insert(firstEnd + 2, line);
    REQUIRE(SIGNEDBYMAKER(signedFile, key.publicKey));
    REQUIRE(sameFields(READVERSIONFILE(signedFile), READVERSIONFILE(text)));

    // One byte changed outside the signature line.
    size_t at = flipAt % text.size();
    if (at >= firstEnd + 2) at += line.size();
    signedFile[at] = static_cast<char>(signedFile[at] ^ 0x01);
    REQUIRE(!SIGNEDBYMAKER(signedFile, key.publicKey));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const size_t flipAt = input.ConsumeIntegral<size_t>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const VersionFile file = READVERSIONFILE(text);
    if (file.sha256) {
        REQUIRE(file.sha256->size() == 64);
        REQUIRE(file.sha256->find_first_not_of("0123456789abcdef") == std::string::npos);
    }
    if (file.size) REQUIRE(*file.size >= 0);
    REQUIRE(SIGNEDTEXT(text).size() <= text.size());
    const std::string shown = SHOWNVERSION(file.version);
    REQUIRE(shown.size() <= 40 * 4 && shown.find_first_of("{}|") == std::string::npos);
    if (validUtf8(file.version)) REQUIRE(validUtf8(shown));
    VERSIONNUMBER(file.version);
    MAJORNUMBER(file.version);
    if (PLAINFILENAME(file.fileName)) REQUIRE(file.fileName.find_first_of("/\\") == std::string::npos);
    DOWNLOADHOST(file.host);
    DOWNLOADPATH(file.path);

    REQUIRE(FROM_BASE64(GET_BASE64(text)) == text);
    if (auto bytes = FROM_BASE64(text)) REQUIRE(bytes->size() <= text.size());
    checkSignature(text, flipAt);
    return 0;
}
