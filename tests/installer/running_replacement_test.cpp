// Replacing the files of a program that still runs: Windows refuses to replace or delete such a
// file but lets it be renamed, so the old one is moved aside and deleted once the program has ended.
#include <gtest/gtest.h>

#include "installer/replacement.h"
#include "platform/program_names.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/support/wait.h"

namespace fs = std::filesystem;

TEST(Replacement, ARunningProgramIsReplacedAndItsOldFileDeletedOnceItHasEnded) {
    const fs::path scratch = scratchFolder("running"), folder = scratch / "Tarvex";
    const std::vector<std::string> names{"History.rtf", "Help/Tarvex Help.chm", kProgramExecutable};
    fs::create_directories(folder / "Help");
    for (const std::string& name : names) writeRaw(folder / name, "old");
    fs::copy_file(LOCK_HOLDER, folder / kProgramExecutable, fs::copy_options::overwrite_existing);
    writeRaw(folder / "Tarvex.ini", "[Options]\n");
    ChildProcess running(utf8(folder / kProgramExecutable), {"tarvex-replacement-test"});
    ASSERT_EQ(running.readLine(30000), "held");
    const auto unpack = [&](const std::string& into) {
        fs::create_directories(fromUtf8(into) / "Help");
        for (const std::string& name : names) writeRaw(fromUtf8(into) / name, "new " + name);
        return true;
    };
    const auto quiet = [](const std::string&) {};
    std::string problem;
    ASSERT_TRUE(REPLACEPROGRAM(utf8(folder), names, unpack, quiet, problem)) << problem;
    for (const std::string& name : names) EXPECT_EQ(readRaw(folder / name), "new " + name) << name;
    EXPECT_FALSE(fs::exists(folder / ".tarvex-update"));
    ASSERT_TRUE(running.kill());
    const std::set<std::string> left{kProgramExecutable, "Help", "History.rtf", "Tarvex.ini"};
    const auto tidied = [&] { return FINISHREPLACEMENT(utf8(folder)) && namesIn(folder) == left; };
    EXPECT_TRUE(waitUntil(tidied, 30000, 10000));
    fs::remove_all(scratch);
}
