// The digest and signature service: known SHA-256 answers, whole or fed piece by piece, and keys
// or signatures of the wrong length refused.
#include "platform/crypto.h"
#include "base/text.h"

#include <gtest/gtest.h>

#include "update/signature.h"

TEST(Crypto, Sha256OfKnownTextsWholeAndPieceByPiece) {
    const struct {
        std::string text, hex;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HEXTEXT(OS_SHA256(c.text)), c.hex) << c.text;
        Sha256 pieces;
        for (char byte : c.text) pieces.add(std::string_view(&byte, 1));
        EXPECT_EQ(HEXTEXT(pieces.finish()), c.hex) << c.text;
    }
}

TEST(Crypto, SignaturesVerifyOnlyWithTheirKeyAndLengths) {
    const SigningKeys keys = OS_MAKESIGNINGKEYS();
    const std::string signature = OS_SIGN("message", keys.secretKey);
    EXPECT_TRUE(OS_SIGNATUREVALID(signature, "message", keys.publicKey));
    EXPECT_FALSE(OS_SIGNATUREVALID(signature, "messagE", keys.publicKey));
    EXPECT_FALSE(OS_SIGNATUREVALID(signature.substr(1), "message", keys.publicKey));
    EXPECT_FALSE(OS_SIGNATUREVALID(signature, "message", keys.publicKey.substr(1)));
    EXPECT_EQ(OS_SIGN("message", keys.secretKey.substr(1)), "");
}
