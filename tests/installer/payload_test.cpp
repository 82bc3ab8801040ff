// The .run file's payload: what is packed comes out byte for byte, and a damaged or hostile file
// is refused before anything is touched.
#include "installer/payload.h"

#include <gtest/gtest.h>

#include <cstring>

#include "installer/code_signature.h"
#include "platform/crypto.h"
#include "tests/installer/program_folders.h"

namespace {

struct Entry {
    std::string name;
    uint64_t size;  // as the entry claims it
    std::string content;
};

// A .run whose digest and trailer are right, whatever its entries say.
std::string craft(uint32_t count, const std::vector<Entry>& entries, const std::string& version = "3.0.2.0",
                  const std::string& stub = "#!installer") {
    std::string payload = PAYLOADCOUNT(count);
    for (const Entry& entry : entries)
        payload += PAYLOADENTRY(entry.name, false, static_cast<int64_t>(entry.size)) + entry.content;
    return stub + payload +
           PAYLOADTRAILER(static_cast<int64_t>(stub.size()), static_cast<int64_t>(payload.size()),
                          OS_SHA256(payload), version);
}

PayloadReader readerOf(const std::string& bytes) {
    return [&bytes](int64_t offset, char* out, size_t count) {
        if (offset < 0 || static_cast<uint64_t>(offset) + count > bytes.size()) return false;
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    };
}

std::optional<Payload> readFrom(const std::string& bytes) {
    std::string problem;
    return READPAYLOAD(readerOf(bytes), static_cast<int64_t>(bytes.size()), problem);
}

const Entry program{"Tarvex", 2, "#!"};

// The first 512 bytes of a Windows program whose headers name a certificate table (PE32+ unless
// magic says otherwise).
std::string peFile(uint32_t table, uint32_t size, uint16_t magic = 0x20b) {
    std::string bytes = "MZ" + std::string(510, 'x');
    const auto put = [&bytes](size_t at, uint64_t value, int count) {
        for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xff);
    };
    const size_t count = 88 + (magic == 0x20b ? 108 : 92);
    put(0x3c, 64, 4);  // where the PE header starts
    bytes.replace(64, 4, std::string("PE\0\0", 4));
    put(84, 240, 2);  // the optional header's size
    put(88, magic, 2);
    put(count, 16, 4);  // data directories; the fifth is the security one
    put(count + 36, table, 4);
    put(count + 40, size, 4);
    return bytes;
}

}  // namespace

TEST(Payload, WhatIsPackedIsUnpackedByteForByteAndNothingElse) {
    const fs::path where = scratchFolder();
    const fs::path run = makeRun(where, "3.0.2.0");
    std::string problem;
    const auto payload = CHECKINSTALLER(run, problem);
    ASSERT_TRUE(payload) << problem;
    EXPECT_EQ(payload->version, "3.0.2.0");
    EXPECT_EQ(payload->files.size(), programFiles("3.0.2.0").size());  // no Tarvex.ini
    ASSERT_TRUE(UNPACKPAYLOAD(run, *payload, where / "out", [](const std::string&) {}));
    EXPECT_TRUE(holds(where / "out", programFiles("3.0.2.0")));
    EXPECT_FALSE(fs::exists(where / "out/Tarvex.ini"));
    EXPECT_NE(fs::status(where / "out/Tarvex").permissions() & fs::perms::owner_exec, fs::perms::none);
    fs::remove_all(where);
}

TEST(Payload, DamagedOrHostileFilesAreRefused) {
    const fs::path where = scratchFolder();
    const std::string good = readBytes(makeRun(where, "3.0.2.0"));
    std::string flipped = good, truncated = good.substr(0, good.size() - 1), longer = good + "x";
    flipped[flipped.size() - 200] ^= 1;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"a byte changed", flipped},
        {"the last byte missing", truncated},
        {"a byte after the trailer", longer},
        {"no trailer", "#!/bin/sh\n"},
        {"a parent folder", craft(2, {program, {"../x", 1, "x"}})},
        {"a parent inside", craft(2, {program, {"Help/../Tarvex.ini", 1, "x"}})},
        {"an absolute path", craft(2, {program, {"/etc/passwd", 1, "x"}})},
        {"a leading slash", craft(2, {program, {"/Help/x", 1, "x"}})},
        {"a deeper folder", craft(2, {program, {"Help/a/b", 1, "x"}})},
        {"the user's settings", craft(2, {program, {"Tarvex.ini", 1, "x"}})},
        {"the user's analyses", craft(2, {program, {"Clients.db", 1, "x"}})},
        {"a huge count", craft(0xFFFFFFFF, {program})},
        {"a count beyond the files", craft(3, {program})},
        {"a huge size", craft(1, {{"Tarvex", 1ull << 62, "#!"}})},
        {"a name twice", craft(2, {program, program})},
        {"no program", craft(1, {{"History.rtf", 1, "x"}})},
        {"a short version", craft(1, {program}, "3.0.2")},
    };
    EXPECT_TRUE(readFrom(craft(1, {program})));
    for (const auto& bad : cases) EXPECT_FALSE(readFrom(bad.bytes)) << bad.what;
    fs::remove_all(where);
}

// Run as the program's hand-over runs it, a damaged installer changes nothing and says so.
TEST(Payload, ADamagedInstallerChangesNothing) {
    const fs::path where = scratchFolder();
    std::string damaged = readBytes(makeRun(where, "3.0.2.0"));
    damaged[damaged.size() - 300] ^= 1;
    for (const std::string& bytes : {damaged, craft(2, {program, {"../x", 1, "x"}}, "3.0.2.0", readBytes(TARVEX_SETUP))}) {
        const fs::path folder = where / "copy";
        fs::remove_all(folder);
        writeFiles(folder, programFiles("3.0.1.0"));
        writeFiles(folder, userFiles());
        writeBytes(folder / "TarvexSetup.run", bytes);
        fs::permissions(folder / "TarvexSetup.run", fs::perms::owner_all);
        SilentRun run = startSilently(folder / "TarvexSetup.run", where);
        EXPECT_EQ(finishRun(run), 1);
        EXPECT_TRUE(holds(folder, programFiles("3.0.1.0")));
        EXPECT_TRUE(holds(folder, userFiles()));
        EXPECT_FALSE(fs::exists(folder / "started.log"));
        EXPECT_FALSE(fs::exists(folder / ".tarvex-update"));
        EXPECT_FALSE(fs::exists(where / "x"));
    }
    fs::remove_all(where);
}

TEST(Payload, AnInstallerSignedLaterEndsWhereItsCertificateTableStarts) {
    const std::optional<int64_t> refused;
    const struct {
        const char* what;
        std::string bytes;
        std::optional<int64_t> end;
    } cases[] = {
        {"not a Windows program", "\177ELF" + std::string(600, 'x'), 604},
        {"unsigned", peFile(0, 0) + std::string(88, 's'), 600},
        {"signed, PE32+", peFile(512, 88) + std::string(88, 's'), 512},
        {"signed, PE32", peFile(512, 88, 0x10b) + std::string(88, 's'), 512},
        {"a signed program with more after it", peFile(512, 40) + std::string(88, 's'), 600},
        {"a table inside the headers", peFile(64, 536) + std::string(88, 's'), refused},
        {"a table off the 8-byte boundary", peFile(513, 87) + std::string(88, 's'), refused},
    };
    for (const auto& test : cases)
        EXPECT_EQ(CONTENTEND(readerOf(test.bytes), static_cast<int64_t>(test.bytes.size())), test.end)
            << test.what;
    // The signing pads the file to 8 bytes with zeros before its table; the payload is found past them.
    const std::string made = craft(1, {program}, "3.0.2.0", peFile(0, 0));
    const auto signedWith = [&made](size_t zeros, char filler, uint32_t size) {
        const std::string bytes = made + std::string(zeros, filler);
        return peFile(static_cast<uint32_t>(bytes.size()), size) + bytes.substr(512) + std::string(size, 's');
    };
    const size_t padding = 8 - made.size() % 8;
    ASSERT_LT(padding, 8u);
    EXPECT_TRUE(readFrom(signedWith(padding, '\0', 1000)));
    EXPECT_FALSE(readFrom(signedWith(padding, 'p', 1000))) << "padding that is not zero";
    EXPECT_FALSE(readFrom(signedWith(padding + 8, '\0', 1000))) << "more than the padding";
}
