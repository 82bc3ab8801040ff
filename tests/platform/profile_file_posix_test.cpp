// The settings file on POSIX: permissions, read-only files and folders, links.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/profile_file.h"
#include "tests/support/scratch_files.h"

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
