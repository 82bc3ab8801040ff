// The settings file on POSIX: permissions, read-only files and folders, links, and a writer
// killed in the middle of its work.
#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/profile_text.h"
#include "tests/platform/varied_rounds.h"
#include "tests/support/scratch_files.h"
#include "tests/support/wait.h"

namespace fs = std::filesystem;

namespace {

// The nine permission bits, as "ls" shows them in octal.
unsigned modeOf(const fs::path& path) { return static_cast<unsigned>(fs::status(path).permissions()) & 0777; }

}  // namespace

TEST(ProfileFile, WriteKeepsPermissions) {
    fs::path folder = scratchFolder("permissions");
    const std::string file = (folder / "Tarvex.ini").string();
    ASSERT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", "1", file));
    for (unsigned mode : {0640u, 0600u, 0664u, 0606u}) {
        fs::permissions(file, static_cast<fs::perms>(mode));
        ASSERT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", std::to_string(mode), file));
        EXPECT_EQ(modeOf(file), mode);
        EXPECT_EQ(readRaw(file), "[Options]\nRecall=" + std::to_string(mode) + "\n");
    }
    fs::remove_all(folder);
}

// Root may write anything; the program still honours a read-only mark on the file or its folder.
TEST(ProfileFile, ReadOnlyFilesAreRefusedAndAFileInAReadOnlyFolderWrittenInPlace) {
    fs::path folder = scratchFolder("read-only");
    const std::string file = (folder / "Tarvex.ini").string();
    const std::string content = "[Options]\nRecall=1\n";
    writeRaw(file, content);

    fs::permissions(file, static_cast<fs::perms>(0444));
    EXPECT_FALSE(OS_WRITEPROFILESTRING("Options", "Recall", "0", file));
    EXPECT_FALSE(OS_WRITEPROFILESTRING("Info", "1", "Acme", file));
    EXPECT_EQ(readRaw(file), content);
    EXPECT_EQ(modeOf(file), 0444u);
    EXPECT_EQ(OS_GETPROFILESTRING("Options", "Recall", "0", file), "1");

    // A folder that takes no new file, with both read-only: nothing changes, nothing is created.
    fs::permissions(folder, static_cast<fs::perms>(0555));
    EXPECT_FALSE(OS_WRITEPROFILESTRING("Options", "Recall", "0", file));
    const std::string other = (folder / "Updater.ini").string();
    EXPECT_FALSE(OS_WRITEPROFILESTRING("Program", "NewVersion", "", other));
    EXPECT_EQ(readRaw(file), content);
    EXPECT_EQ(namesIn(folder), std::set<std::string>{"Tarvex.ini"});

    // The same folder with a writable file: the value is written in place, no other file made.
    fs::permissions(file, static_cast<fs::perms>(0640));
    struct stat before {};
    ::stat(file.c_str(), &before);
    EXPECT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", "0", file));
    EXPECT_TRUE(OS_WRITEPROFILESTRING("Info", "16", "A comment longer than the whole file was", file));
    EXPECT_EQ(readRaw(file), "[Options]\nRecall=0\n\n[Info]\n16=A comment longer than the whole file was\n");
    EXPECT_TRUE(OS_WRITEPROFILESTRING("Info", "16", "Short", file));
    EXPECT_EQ(readRaw(file), "[Options]\nRecall=0\n\n[Info]\n16=Short\n");
    EXPECT_EQ(OS_GETPROFILESTRING("Options", "Recall", "1", file), "0");
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(modeOf(file), 0640u);
    EXPECT_EQ(namesIn(folder), std::set<std::string>{"Tarvex.ini"});
    fs::permissions(folder, static_cast<fs::perms>(0755));

    // Writable again, a write replaces the file as a whole.
    EXPECT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", "1", file));
    EXPECT_EQ(readRaw(file), "[Options]\nRecall=1\n\n[Info]\n16=Short\n");
    fs::remove_all(folder);
}

TEST(ProfileFile, ALinkIsWrittenWhereItPoints) {
    fs::path folder = scratchFolder("link");
    // A file reached through a link is written where the link points, and the link stays.
    fs::path real = folder / "real.ini";
    fs::path link = folder / "link.ini";
    writeRaw(real, "[Options]\nRecall=0\n");
    fs::create_symlink(real, link);
    ASSERT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", "1", link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readRaw(real), "[Options]\nRecall=1\n");
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
bool runAndKill(std::vector<std::string> words, const std::function<bool()>& progressed, KillPoint point) {
    std::string program = PROFILE_WRITER;
    const fs::path temporary = words[0] + ".tmp";
    std::vector<char*> arguments{program.data()};
    for (std::string& word : words) arguments.push_back(word.data());
    arguments.push_back(nullptr);
    pid_t writer = 0;
    if (::posix_spawn(&writer, program.c_str(), nullptr, nullptr, arguments.data(), environ) != 0) return false;
    bool ended = false;
    auto endedOr = [&](const std::function<bool()>& condition) {
        return [&, condition] {
            ended = ended || ::waitpid(writer, nullptr, WNOHANG) != 0;
            return ended || condition();
        };
    };
    auto atPoint = [&] {
        std::error_code error;
        if (point == KillPoint::AfterAWrite) return true;
        if (point == KillPoint::TemporaryOpen) return fs::exists(temporary, error);
        const auto size = fs::file_size(temporary, error);
        return !error && size > 0;
    };
    const bool reached =
        waitUntil(endedOr(progressed), 30000) && waitUntil(endedOr(atPoint), 30000) && !ended;
    int status = 0;
    if (!ended) {
        ::kill(writer, SIGKILL);
        ::waitpid(writer, &status, 0);
    }
    return reached && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
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
    const std::string file = (folder / "Tarvex.ini").string();
    ASSERT_TRUE(OS_WRITEPROFILESTRING("Durability", "Counter", "0", file));
    ASSERT_TRUE(OS_WRITEPROFILESTRING("Durability", "Padding", padding(0), file));
    ASSERT_EQ(readRaw(file), durableContent(0, 0));

    std::mt19937 random(77);
    std::uniform_int_distribution<int> point(0, 2);
    long previous = 0;
    for (int kill = 0; kill < 40; ++kill) {
        ASSERT_TRUE(runAndKill(
            {file}, [&] { return counterIn(file) != previous; }, static_cast<KillPoint>(point(random))))
            << "the writer stopped by itself or never reached the kill point";
        ASSERT_TRUE(onlyTheFileAndItsTemporary(folder)) << "after kill " << kill;
        const long counter = counterIn(file);
        ASSERT_GT(counter, previous) << "after kill " << kill;
        const std::string content = readRaw(file);
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
    const std::string file = (folder / "Tarvex.ini").string();
    writeRaw(file, kVariedStart);
    const std::string unrelated[] = {"; Tarvex settings, edited by hand", "  Indented = kept as it is  ",
                                     "# a comment", "not a key line", "[Empty]"};

    std::mt19937 random(1515);
    std::uniform_int_distribution<int> point(0, 2);
    std::string replayed = kVariedStart;  // the file after round done
    long done = 0;
    for (int kill = 0; kill < 300; ++kill) {
        ASSERT_TRUE(runAndKill(
            {file, "varied", std::to_string(done + 1)}, [&] { return readRaw(file) != replayed; },
            static_cast<KillPoint>(point(random))))
            << "the writer stopped by itself or never reached the kill point";
        ASSERT_TRUE(onlyTheFileAndItsTemporary(folder)) << "after kill " << kill;
        const std::string actual = readRaw(file);
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
            ASSERT_NE(lines.find("\r\n" + line + "\r\n"), std::string::npos) << line << ", after kill " << kill;
        done = round;
    }
    fs::remove_all(folder);
}
