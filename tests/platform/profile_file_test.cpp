// The settings file and the files service on disk, on every system: reads and writes through real
// files in folders with plain and with non-ASCII names, odd paths, a very large file, and a writer
// killed in the middle of its work.
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/file_digest.h"
#include "platform/files.h"
#include "platform/profile_text.h"
#include "tests/platform/varied_rounds.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/support/wait.h"

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

namespace {

// The writer's value for round n; see profile_writer_main.cpp.
std::string padding(long n) {
    return std::to_string(n) + ":" + std::string(200000 + n % 1000, static_cast<char>('a' + n % 26));
}

// The whole file once round counter is done, or while round counter + 1 has written its padding.
std::string durableContent(long counter, long paddingRound) {
    return "[Durability]\nCounter=" + std::to_string(counter) + "\nPadding=" + padding(paddingRound) + "\n";
}

// Where a kill lands in the writer's work: just after it has finished a write, while its
// temporary file is open, or once it has written into that file but not yet renamed it.
enum class KillPoint { AfterAWrite, TemporaryOpen, TemporaryWritten };

// Starts the settings writer with its arguments, waits until progressed() says it has finished a
// write (so that the kill lands in its steady work) and then for the kill point, and kills it.
// True when it was still running then, as it should be.
bool runAndKill(const std::vector<std::string>& words, const std::function<bool()>& progressed,
                KillPoint point) {
    const fs::path temporary = fromUtf8(words[0] + ".tmp");
    ChildProcess writer(PROFILE_WRITER, words);
    auto endedOr = [&writer](const std::function<bool()>& condition) {
        return [&writer, condition] { return writer.wait(0).has_value() || condition(); };
    };
    auto atPoint = [&] {
        std::error_code error;
        if (point == KillPoint::AfterAWrite) return true;
        if (point == KillPoint::TemporaryOpen) return fs::exists(temporary, error);
        const auto size = fs::file_size(temporary, error);
        return !error && size > 0;
    };
    // Progress is read from the file every 20 ms only: on Windows a file open for reading cannot be
    // replaced, and a writer that finds it held open for about a second gives up.
    return writer.started() && waitUntil(endedOr(progressed), 30000, 20000) &&
           waitUntil(endedOr(atPoint), 30000) && writer.kill();
}

// True when the folder holds the settings file and at most its one temporary file.
bool onlyTheFileAndItsTemporary(const fs::path& folder) {
    std::set<std::string> names = namesIn(folder);
    names.erase("Tarvex.ini.tmp");
    return names == std::set<std::string>{"Tarvex.ini"};
}

long counterIn(const std::string& file) {
    std::string text = OS_GETPROFILESTRING("Durability", "Counter", "", file);
    long counter = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), counter);
    return error == std::errc() && end == text.data() + text.size() ? counter : -1;
}

}  // namespace

TEST(ProfileFile, KilledWriterLeavesOldOrNewFile) {
    fs::path folder = scratchFolder("durability");
    const std::string file = utf8(folder / "Tarvex.ini");
    ASSERT_TRUE(OS_WRITEPROFILESTRING("Durability", "Counter", "0", file));
    ASSERT_TRUE(OS_WRITEPROFILESTRING("Durability", "Padding", padding(0), file));
    ASSERT_EQ(readRaw(fromUtf8(file)), durableContent(0, 0));

    std::mt19937 random(77);
    std::uniform_int_distribution<int> point(0, 2);
    long previous = 0;
    for (int kill = 0; kill < 100; ++kill) {
        ASSERT_TRUE(runAndKill(
            {file}, [&] { return counterIn(file) != previous; }, static_cast<KillPoint>(point(random))))
            << "the writer stopped by itself or never reached the kill point, at kill " << kill;
        ASSERT_TRUE(onlyTheFileAndItsTemporary(folder)) << "after kill " << kill;
        const long counter = counterIn(file);
        ASSERT_GT(counter, previous) << "after kill " << kill;
        const std::string content = readRaw(fromUtf8(file));
        ASSERT_TRUE(content == durableContent(counter, counter) ||
                    content == durableContent(counter, counter + 1))
            << "after kill " << kill << ": a broken file of " << content.size() << " bytes";
        previous = counter;
    }
    fs::remove_all(folder);
}

// A writer of many keys in several sections, killed at a few hundred random moments: after each
// kill the file is the one some whole round left, so every key holds its old or its new value, the
// lines no round writes are all there, and at most the one temporary file is left beside it.
TEST(ProfileFile, KilledAtAnyMomentTheFileKeepsEveryLineAndEachKeyOldOrNew) {
    fs::path folder = scratchFolder("varied");
    const std::string file = utf8(folder / "Tarvex.ini");
    writeRaw(fromUtf8(file), kVariedStart);
    const std::string unrelated[] = {"; Tarvex settings, edited by hand", "  Indented = kept as it is  ",
                                     "# a comment", "not a key line", "[Empty]"};

    std::mt19937 random(1515);
    std::uniform_int_distribution<int> point(0, 2);
    std::string replayed = kVariedStart;  // the file after round done
    long done = 0;
    for (int kill = 0; kill < 300; ++kill) {
        ASSERT_TRUE(runAndKill(
            {file, "varied", std::to_string(done + 1)}, [&] { return readRaw(fromUtf8(file)) != replayed; },
            static_cast<KillPoint>(point(random))))
            << "the writer stopped by itself or never reached the kill point, at kill " << kill;
        ASSERT_TRUE(onlyTheFileAndItsTemporary(folder)) << "after kill " << kill;
        const std::string actual = readRaw(fromUtf8(file));
        long round = done;
        while (replayed != actual && round < done + 100000) {
            const SettingsRound next = variedRound(++round);
            replayed = PROFILE_WRITE(replayed, next.section, next.key, next.value);
        }
        ASSERT_EQ(replayed, actual) << "after kill " << kill << ": no whole round left this file of "
                                    << actual.size() << " bytes";
        ASSERT_GT(round, done) << "after kill " << kill;
        ASSERT_TRUE(actual.starts_with("\xEF\xBB\xBF"));
        const std::string lines = "\r\n" + actual.substr(3);
        for (const std::string& line : unrelated)
            ASSERT_NE(lines.find("\r\n" + line + "\r\n"), std::string::npos)
                << line << ", after kill " << kill;
        done = round;
    }
    fs::remove_all(folder);
}
