// The replacement of a program folder: done silently as the program's hand-over asks, finished or
// discarded after an interruption, and never leaving a mixture of versions when killed.
#include <gtest/gtest.h>

#include <signal.h>

#include <random>

#include "installer/replacement.h"
#include "platform/profile_file.h"
#include "tests/installer/program_folders.h"
#include "tests/support/wait.h"

namespace {

// A copy of 3.0.1.0 with the user's files and the downloaded installer of 3.0.2.0 beside it.
fs::path oldCopy(const fs::path& where, const fs::path& run, const std::string& settings) {
    const fs::path folder = where / "copy";
    fs::remove_all(folder);
    writeFiles(folder, programFiles("3.0.1.0"));
    writeFiles(folder, userFiles());
    writeBytes(folder / "Tarvex.ini", settings);
    fs::copy_file(run, folder / run.filename());
    return folder;
}

// Which whole version the folder holds, by its files and by what its program prints; empty for a mixture.
std::string versionHeld(const fs::path& folder) {
    for (const std::string version : {"3.0.1.0", "3.0.2.0"}) {
        if (!holds(folder, programFiles(version))) continue;
        if (version == "3.0.1.0" && fs::exists(folder / "Graphics/banner.png")) return "";
        FILE* program = popen(("'" + (folder / "Tarvex").string() + "'").c_str(), "r");
        char printed[32] = {};
        const bool read = fgets(printed, sizeof printed, program) != nullptr;
        pclose(program);
        return read && std::string(printed) == version + "\n" ? version : "";
    }
    return "";
}

}  // namespace

// The hand-over's NewVer is kept; a .run started by hand records its version in Updater.ini.
TEST(Replacement, SilentModeReplacesTheProgramAndStartsIt) {
    const fs::path where = scratchFolder();
    const fs::path run = makeRun(where, "3.0.2.0");
    for (const std::string newVer : {"3.0.2.0", ""}) {
        const std::string settings = "[Update]\nFailed=1\nNewVer=" + newVer + "\n";
        const fs::path folder = oldCopy(where, run, settings);
        SilentRun installer = startSilently(folder / run.filename(), where);
        ASSERT_EQ(finishRun(installer), 0);
        EXPECT_TRUE(holds(folder, programFiles("3.0.2.0")));
        FolderFiles user = userFiles();
        user.erase("Tarvex.ini");
        EXPECT_TRUE(holds(folder, user));
        EXPECT_EQ(OS_GETPROFILESTRING("Update", "Failed", "", folder / "Tarvex.ini"), "0");
        EXPECT_EQ(OS_GETPROFILESTRING("Update", "NewVer", "", folder / "Tarvex.ini"), newVer);
        EXPECT_EQ(OS_GETPROFILESTRING("Program", "NewVersion", "", folder / "Updater.ini"),
                  newVer.empty() ? "3.0.2.0" : "");
        EXPECT_FALSE(fs::exists(folder / ".tarvex-update"));
        EXPECT_TRUE(waitUntil([&] { return readBytes(folder / "started.log") == "3.0.2.0 /update\n"; }, 10000));
    }
    fs::remove_all(where);
}

TEST(Replacement, AnUncommittedReplacementIsDiscarded) {
    const fs::path folder = scratchFolder();
    writeFiles(folder, programFiles("3.0.1.0"));
    writeFiles(folder / ".tarvex-update/new", programFiles("3.0.2.0"));
    writeBytes(folder / ".tarvex-update/journal.part", "Tarvex replacement journal\nTarvex\n");
    EXPECT_TRUE(FINISHREPLACEMENT(folder));
    EXPECT_EQ(versionHeld(folder), "3.0.1.0");
    EXPECT_FALSE(fs::exists(folder / ".tarvex-update"));
    fs::remove_all(folder);
}

// Cut off after the journal, with two files already in place and one old file kept aside.
TEST(Replacement, ACommittedReplacementIsCarriedOut) {
    const fs::path folder = scratchFolder();
    writeFiles(folder, programFiles("3.0.1.0"));
    FolderFiles fresh = programFiles("3.0.2.0");
    std::string journal = "Tarvex replacement journal\n";
    for (const auto& [name, content] : fresh)
        if (name != "Tarvex") journal += name + "\n";
    writeBytes(folder / ".tarvex-update/journal", journal + "Tarvex\nend\n");
    fs::create_directories(folder / ".tarvex-update/old");
    fs::create_hard_link(folder / "History.rtf", folder / ".tarvex-update/old/History.rtf");
    writeBytes(folder / "History.rtf.new", fresh["History.rtf"]);
    fs::rename(folder / "History.rtf.new", folder / "History.rtf");
    writeBytes(folder / "Graphics/banner.png", fresh["Graphics/banner.png"]);
    fresh.erase("History.rtf");
    fresh.erase("Graphics/banner.png");
    writeFiles(folder / ".tarvex-update/new", fresh);
    EXPECT_TRUE(FINISHREPLACEMENT(folder));
    EXPECT_EQ(versionHeld(folder), "3.0.2.0");
    EXPECT_FALSE(fs::exists(folder / ".tarvex-update"));
    fs::remove_all(folder);
}

// Killed after a random number of its steps, 50 times: the next start's FINISHREPLACEMENT leaves
// the whole old program or the whole new one, a program that starts, and the user's files as they were.
TEST(Replacement, AKillAtAnyStepLeavesOneWholeVersion) {
    const fs::path where = scratchFolder();
    const fs::path run = makeRun(where, "3.0.2.0");
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::map<std::string, int> outcomes;
    for (int round = 0; round < 50; ++round) {
        const fs::path folder = oldCopy(where, run, userFiles()["Tarvex.ini"]);
        SilentRun installer = startSilently(folder / run.filename(), where);
        ASSERT_GT(installer.pid, 0);
        // About 20 steps: 6 files unpacked, the journal, 5 kept, 6 replaced, finished, recorded.
        const int steps = std::uniform_int_distribution<int>(0, 20)(random);
        char* line = nullptr;
        size_t size = 0;
        for (int seen = 0; seen < steps && getline(&line, &size, installer.errors) > 0;) seen += line[0] == 's';
        free(line);
        kill(installer.pid, SIGKILL);
        finishRun(installer);
        ASSERT_TRUE(FINISHREPLACEMENT(folder)) << "round " << round;
        const std::string version = versionHeld(folder);
        ASSERT_NE(version, "") << "round " << round << " after " << steps << " steps";
        ASSERT_TRUE(holds(folder, userFiles())) << "round " << round;
        ++outcomes[version];
    }
    RecordProperty("old", outcomes["3.0.1.0"]);
    RecordProperty("new", outcomes["3.0.2.0"]);
    fs::remove_all(where);
}
