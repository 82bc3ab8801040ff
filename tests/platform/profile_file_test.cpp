// The settings file and the files service on disk, on every system: reads and writes through real
// files in folders with plain and with non-ASCII names, odd paths, and a very large file.
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/file_digest.h"
#include "platform/files.h"
#include "tests/support/scratch_files.h"

namespace fs = std::filesystem;

namespace {

// Folder names as a user may have them; a path read in the ANSI code page loses the second.
const char* const kFolderNames[] = {"round-trip", "Caf\xC3\xA9 \xC3\x9C" "bers\xC3\xA4tzung \xE5\x8C\x97\xE4\xBA\xAC"};

}  // namespace

TEST(ProfileFile, RoundTripThroughRealFile) {
    for (const char* name : kFolderNames) {
        SCOPED_TRACE(name);
        fs::path folder = scratchFolder(name);
        const fs::path path = folder / "Tarvex.ini";
        const std::string file = utf8(path);

        EXPECT_EQ(OS_GETPROFILESTRING("Options", "Recall", "0", file), "0");
        EXPECT_FALSE(fs::exists(path));
        ASSERT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", "1", file));
        ASSERT_TRUE(OS_WRITEPROFILESTRING("Info", "1", "Acme Radio", file));
        ASSERT_TRUE(OS_WRITEPROFILESTRING("options", "AutoUpdate", "0", file));
        ASSERT_TRUE(OS_WRITEPROFILESTRING("Options", "recall", "", file));

        EXPECT_EQ(readRaw(path), "[Options]\nRecall=\nAutoUpdate=0\n\n[Info]\n1=Acme Radio\n");
        EXPECT_EQ(OS_GETPROFILESTRING("OPTIONS", "AUTOUPDATE", "1", file), "0");
        EXPECT_EQ(OS_GETPROFILESTRING("Options", "Recall", "0", file), "");
        EXPECT_EQ(OS_GETPROFILESTRING("Info", "1", "", file), "Acme Radio");
        EXPECT_EQ(OS_GETPROFILESTRING("Info", "2", "none", file), "none");
        // Nothing is left beside the file.
        EXPECT_EQ(namesIn(folder), std::set<std::string>{"Tarvex.ini"});

        // A file written by another program keeps its line endings, mark and comments.
        writeRaw(path, "\xEF\xBB\xBF; kept\r\n[Options]\r\nRecall = 0\r\n");
        ASSERT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", "1", file));
        ASSERT_TRUE(OS_WRITEPROFILESTRING("Update", "LastCheck", "45000", file));
        EXPECT_EQ(readRaw(path),
                  "\xEF\xBB\xBF; kept\r\n[Options]\r\nRecall = 1\r\n\r\n[Update]\r\nLastCheck=45000\r\n");
        fs::remove_all(folder);
    }
}

// A file made, flushed and renamed over another, then read, digested, listed and removed, by name.
TEST(Files, MadeReplacedReadAndRemovedByName) {
    for (const char* name : kFolderNames) {
        SCOPED_TRACE(name);
        fs::path folder = scratchFolder(name);
        const std::string target = utf8(folder / "Tarvex.ini");
        const std::string fresh = utf8(folder / "Tarvex.ini.new");
        writeRaw(folder / "Tarvex.ini", "old");
        EXPECT_TRUE(OS_FILEEXISTS(target));
        EXPECT_FALSE(OS_FILEEXISTS(utf8(folder)));
        EXPECT_TRUE(OS_FOLDERTAKESFILES(utf8(folder)));
        EXPECT_TRUE(OS_FILEWRITABLE(target));

        const int32_t file = OS_CREATEPRIVATEFILE(fresh);
        ASSERT_NE(file, 0);
        ASSERT_TRUE(OS_WRITEFILE(file, "abc", 3));
        ASSERT_TRUE(OS_FINISHFILE(file));
        ASSERT_TRUE(OS_RENAMEFILE(fresh, target));
        EXPECT_EQ(OS_READFILE(target, 3), std::optional<std::string>("abc"));
        EXPECT_EQ(OS_READFILE(target, 2), std::nullopt);
        EXPECT_EQ(OS_READFILE(utf8(folder), 100), std::nullopt);
        int64_t size = 0;
        std::string sha256;
        ASSERT_TRUE(OS_FILEDIGEST(target, size, sha256));
        EXPECT_EQ(size, 3);
        EXPECT_EQ(sha256.substr(0, 4), "\xBA\x78\x16\xBF");
        EXPECT_EQ(OS_LISTFILES(utf8(folder)), std::vector<std::string>{"Tarvex.ini"});

        const int32_t reader = OS_OPENFORREADING(target);
        ASSERT_NE(reader, 0);
        char middle[2] = {};
        EXPECT_EQ(OS_OPENFILESIZE(reader), 3);
        EXPECT_TRUE(OS_READAT(reader, 1, middle, 2));
        EXPECT_EQ(std::string(middle, 2), "bc");
        EXPECT_FALSE(OS_READAT(reader, 2, middle, 2));
        OS_CLOSEFILE(reader);

        EXPECT_TRUE(OS_DELETEFILE(target));
        EXPECT_TRUE(OS_DELETEFILE(target));
        EXPECT_FALSE(OS_PATHEXISTS(target));
        EXPECT_TRUE(OS_REMOVETREE(utf8(folder)));
    }
}

TEST(ProfileFile, OddPathsGiveFallbackOrRefusal) {
    fs::path folder = scratchFolder("odd-paths");
    // A folder where the file should be is neither read nor replaced.
    fs::path taken = folder / "Tarvex.ini";
    fs::create_directory(taken);
    EXPECT_EQ(OS_GETPROFILESTRING("Options", "Recall", "0", utf8(taken)), "0");
    EXPECT_FALSE(OS_WRITEPROFILESTRING("Options", "Recall", "1", utf8(taken)));
    EXPECT_TRUE(fs::is_directory(taken));
    EXPECT_EQ(OS_GETPROFILESTRING("Options", "Recall", "0", utf8(folder / "missing" / "Tarvex.ini")), "0");
    EXPECT_FALSE(OS_WRITEPROFILESTRING("Options", "Recall", "1", utf8(folder / "missing" / "Tarvex.ini")));
    EXPECT_FALSE(OS_WRITEPROFILESTRING("Options", "Recall", "1", ""));
    fs::remove_all(folder);
}

TEST(ProfileFile, FiftyMegabyteFileIsReadToItsEnd) {
    fs::path folder = scratchFolder("large");
    const fs::path path = folder / "Tarvex.ini";
    const std::string file = utf8(path);
    std::string content;
    content.reserve(52'000'000);
    for (int section = 0; content.size() < 50'000'000; ++section) {
        content += "[Section" + std::to_string(section) + "]\n";
        for (int key = 0; key < 100; ++key) content += "Key" + std::to_string(key) + "=some ordinary value\n";
    }
    content += "[Last]\nKey=found at the end\n";
    writeRaw(path, content);

    EXPECT_EQ(OS_GETPROFILESTRING("last", "key", "", file), "found at the end");
    EXPECT_EQ(OS_GETPROFILESTRING("Section7", "Key99", "", file), "some ordinary value");
    ASSERT_TRUE(OS_WRITEPROFILESTRING("Last", "Added", "1", file));
    EXPECT_EQ(fs::file_size(path), content.size() + std::string("Added=1\n").size());
    EXPECT_EQ(OS_GETPROFILESTRING("Last", "Added", "", file), "1");
    fs::remove_all(folder);
}
