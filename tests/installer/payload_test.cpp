// The .run file's payload: what is packed comes out byte for byte, and a damaged or hostile file
// is refused before anything is touched.
#include <gtest/gtest.h>

#include <cstring>

#include "installer/payload.h"
#include "platform/crypto.h"
#include "tests/installer/program_folders.h"
#include "tests/support/pe_file.h"

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

std::optional<Payload> readFrom(const std::string& bytes) {
    std::string problem;
    return READPAYLOAD([&bytes](int64_t offset, char* out, size_t count) {
        if (offset < 0 || static_cast<uint64_t>(offset) + count > bytes.size()) return false;
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    }, static_cast<int64_t>(bytes.size()), problem);
}

const Entry program{"Tarvex", 2, "#!"};

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

// A signing tool pads the file to 8 bytes with zeros, appends its table and names it in the headers.
TEST(Payload, ASignatureAppendedLaterIsNoPartOfThePayload) {
    const std::string unsigned_ = craft(1, {program}, "3.0.2.0", peFile({}));
    const size_t padding = (8 - unsigned_.size() % 8) % 8;
    ASSERT_GT(padding, 0u);
    const auto sign = [&](size_t zeros, char filler, uint32_t tableSize) {
        std::string bytes = unsigned_ + std::string(zeros, filler);
        putLittle(bytes, 64 + 24 + 112 + 32, bytes.size(), 4);
        putLittle(bytes, 64 + 24 + 112 + 36, tableSize, 4);
        return bytes + std::string(tableSize, 's');
    };
    const auto payload = readFrom(sign(padding, '\0', 1000));
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->files.size(), 1u);
    EXPECT_FALSE(readFrom(sign(padding, 'p', 1000))) << "padding that is not zero";
    EXPECT_FALSE(readFrom(sign(padding + 8, '\0', 1000))) << "more than the padding";
    EXPECT_FALSE(readFrom(sign(padding, '\0', 4))) << "a table too short";
}
