// The version file's lines, the version numbers, the checks of what it names and its signature.
#include "update/version_file.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "platform/crypto.h"
#include "update/base64.h"
#include "update/signature.h"

namespace {

TEST(VersionFile, FirstAndLastLinesAndTheMiddleLinesOfASignedFile) {
    const std::string digest(64, 'A');
    VersionFile file = READVERSIONFILE("dl.x.invalid:8080 /a/Setup.exe Setup.exe\r\nsha256 " + digest +
                                       "\r\nsize 1234\r\nnote anything\r\nsignature c2ln\r\n3.0.2.0");
    EXPECT_EQ(file.host, "dl.x.invalid:8080");
    EXPECT_EQ(file.path, "/a/Setup.exe");
    EXPECT_EQ(file.fileName, "Setup.exe");
    EXPECT_EQ(file.version, "3.0.2.0");
    EXPECT_EQ(file.sha256, std::string(64, 'a'));
    EXPECT_EQ(file.size, 1234);
    EXPECT_EQ(file.signature, "c2ln");
    EXPECT_EQ(file.signatureLines, 1);
    // A last CR LF leaves an empty version; bare line feeds make one line of the whole text.
    EXPECT_EQ(READVERSIONFILE("h /p f\r\n3.0.2.0\r\n").version, "");
    VersionFile oneLine = READVERSIONFILE("h /p f\n3.0.2.0");
    EXPECT_EQ(oneLine.version, "h /p f\n3.0.2.0");
    EXPECT_EQ(oneLine.fileName, "f\n3.0.2.0");
    // Middle lines that are not what they claim are not read.
    VersionFile bad = READVERSIONFILE("h /p f\r\nsha256 xyz\r\nsize -5\r\nsize 99999999999\r\n1.0");
    EXPECT_FALSE(bad.sha256);
    EXPECT_FALSE(bad.size);
    EXPECT_EQ(READVERSIONFILE("h\r\nsignature a\r\nsignature b\r\n1").signatureLines, 2);
    VersionFile empty = READVERSIONFILE("");
    EXPECT_EQ(empty.host, "");
    EXPECT_EQ(empty.version, "");
}

TEST(VersionFile, SignedTextLeavesOutTheSignatureLine) {
    EXPECT_EQ(SIGNEDTEXT("a b c\r\nsize 5\r\nsignature xyz\r\n3.0.2.0"), "a b c\r\nsize 5\r\n3.0.2.0");
    EXPECT_EQ(SIGNEDTEXT("a b c\r\nsignature xyz\r\n3.0.2.0"), "a b c\r\n3.0.2.0");
    // Only a middle line is a signature line.
    EXPECT_EQ(SIGNEDTEXT("signature a\r\n1"), "signature a\r\n1");
    EXPECT_EQ(SIGNEDTEXT("a\r\nsignature x"), "a\r\nsignature x");
}

TEST(VersionFile, VersionAndMajorNumbers) {
    EXPECT_EQ(VERSIONNUMBER("3.0.1.0"), 3010);
    EXPECT_EQ(VERSIONNUMBER("3.1"), 31);
    EXPECT_EQ(VERSIONNUMBER("3.0.10.0"), 30100);
    EXPECT_EQ(VERSIONNUMBER("dl.tarvex.invalid /x y"), 0);
    EXPECT_EQ(VERSIONNUMBER(""), 0);
    EXPECT_EQ(VERSIONNUMBER("922337203685477580.7"), 9223372036854775807);
    EXPECT_EQ(VERSIONNUMBER("9.223372036854775808"), 0);
    EXPECT_EQ(VERSIONNUMBER("99999999999999999999.0"), 0);
    EXPECT_EQ(MAJORNUMBER("3.0.1.0"), 3);
    EXPECT_EQ(MAJORNUMBER("4.0.0.0"), 4);
    EXPECT_EQ(MAJORNUMBER("3.6.0.0"), 3);
    EXPECT_EQ(MAJORNUMBER("3.0"), 0);
    EXPECT_EQ(SHOWNVERSION("3.0.2.0{f99,w1}|x\r\n"), "3.0.2.0f99,w1x");
    EXPECT_EQ(SHOWNVERSION(std::string(100, '9')), std::string(40, '9'));
    std::string accents;
    for (int i = 0; i < 50; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(SHOWNVERSION("3." + accents), "3." + accents.substr(0, 2 * 38));
    EXPECT_EQ(SHOWNVERSION(std::string(100, '\xA9')), std::string(40, '\xA9'));
}

// Versions compare part by part; a text that is not four numbers is never newer.
TEST(VersionFile, VersionsCompareAsFourNumbers) {
    for (const char* newer : {"3.0.10.0", "3.0.1.1", "4.0.0.0", "3.1.0.0"}) EXPECT_TRUE(NEWERVERSION(newer, "3.0.1.0")) << newer;
    for (const char* notNewer : {"2.10.0.0", "3.0.0.10", "3.0.1.0", "3.1", "3.0.2.0.1", "3.0.2.x", "3..2.0",
                                 "1000000000.0.0.0", "", "+3.0.2.0"})
        EXPECT_FALSE(NEWERVERSION(notNewer, "3.0.1.0")) << notNewer;
}

TEST(VersionFile, WhatTheFileNamesMustBeSafeToActOn) {
    for (const char* name : {"TarvexSetup.exe", "Setup-3.0.2.0.sh", "a b.exe"})
        EXPECT_TRUE(PLAINFILENAME(name)) << name;
    for (const char* name : {"", ".", "..", "../x", "/tmp/x", ".x", "a\\b", "a/b", "x\ny", "x\x7f"})
        EXPECT_FALSE(PLAINFILENAME(name)) << name;
    for (const char* host :
         {"dl.tarvex.invalid", "127.0.0.1:8080", "localhost", "[::1]:80", "a-b.example.com:1"})
        EXPECT_TRUE(DOWNLOADHOST(host)) << host;
    for (const char* host : {"", "bad_host", "-a.com", "a-.com", "a..b", "host:0", "host:99999", "[::1",
                             "a b", "a/b", "[::g]", "host:"})
        EXPECT_FALSE(DOWNLOADHOST(host)) << host;
    EXPECT_TRUE(DOWNLOADPATH("/files/Setup.exe?v=2"));
    for (const char* path : {"", "files/Setup.exe", "/a b", "/a\tb", "/\xc3\xa9"})
        EXPECT_FALSE(DOWNLOADPATH(path)) << path;
}

TEST(VersionFile, OnlyTheMakersKeyVerifiesTheFileAsSigned) {
    const SigningKeys keys = OS_MAKESIGNINGKEYS();
    const std::string pub = GET_BASE64(keys.publicKey);
    const std::string& sec = keys.secretKey;
    const std::string body = "h.invalid /p f\r\nsize 5\r\n3.0.2.0";
    const std::string text =
        "h.invalid /p f\r\nsignature " + SIGNVERSIONTEXT(body, sec) + "\r\nsize 5\r\n3.0.2.0";
    EXPECT_TRUE(SIGNEDBYMAKER(text, pub));
    std::string changed = text;
    changed.back() = '1';
    EXPECT_FALSE(SIGNEDBYMAKER(changed, pub));
    EXPECT_FALSE(SIGNEDBYMAKER(body, pub));
    EXPECT_FALSE(SIGNEDBYMAKER(text, "AAAA"));
    EXPECT_FALSE(SIGNEDBYMAKER(text, ""));
    EXPECT_FALSE(SIGNEDBYMAKER(text, GET_BASE64(OS_MAKESIGNINGKEYS().publicKey)));
    EXPECT_EQ(SIGNVERSIONTEXT(body, "short"), "");
    EXPECT_EQ(HEXTEXT(std::string("\x00\xff\x10", 3)), "00ff10");
}

}  // namespace
