// Starting other programs and naming the running one, on every system.
#include "platform/processes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_files.h"
#include "tests/support/wait.h"

namespace fs = std::filesystem;

// Arguments that a shell or a careless command line would split, join, unquote or re-encode.
TEST(Processes, AStartedProgramGetsEveryArgumentExactlyAndAMissingOneIsReported) {
    const fs::path folder = scratchFolder("arguments");
    const std::string echoed = utf8(folder / "echoed");
    const std::vector<std::string> awkward = {"plain",
                                              "two words",
                                              "",
                                              "say \"hi\"",
                                              "C:\\path\\",
                                              "ends in two\\\\",
                                              "a\\\"b",
                                              "\\\\server\\share",
                                              "\t",
                                              "$HOME `date` ; | > *",
                                              "Caf\xC3\xA9 \xC3\x9C"
                                              "ber \xE5\x8C\x97\xE4\xBA\xAC",
                                              "\"",
                                              "\\"};
    std::vector<std::string> arguments{echoed};
    arguments.insert(arguments.end(), awkward.begin(), awkward.end());
    ASSERT_TRUE(OS_STARTPROGRAM(ARGUMENT_ECHO, arguments));
    ASSERT_TRUE(waitUntil([&] { return fs::exists(fromUtf8(echoed)); }, 30000));
    std::string expected;
    for (const std::string& argument : awkward) expected += argument + '\0';
    EXPECT_EQ(readRaw(fromUtf8(echoed)), expected);

    writeRaw(folder / "not-a-program", "plain text\n");
    for (const char* name : {"missing", "not-a-program"})
        EXPECT_FALSE(OS_STARTPROGRAM(utf8(folder / name), {})) << name;
    fs::remove_all(folder);
}

TEST(Processes, TheRunningProgramKnowsItsOwnFile) {
    EXPECT_TRUE(fs::equivalent(fromUtf8(OS_OWNEXECUTABLE()), fromUtf8(OWN_EXECUTABLE)));
}
