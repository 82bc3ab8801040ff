// The named lock, taken in this process and in others, on every system.
#include "platform/named_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

// One holder at a time: a second take here or in another process is refused, waiting for it runs
// out, and the lock is free again once its holder closes it or is killed.
TEST(NamedLock, OneHolderAtATimeUntilItClosesOrDies) {
    const std::filesystem::path folder = scratchFolder("locks");
    // The lock's folder on either system, apart from any other run on the machine.
    setEnvironment("XDG_RUNTIME_DIR", utf8(folder));
    setEnvironment("LOCALAPPDATA", utf8(folder));
    const std::string name = "TarvexLockTest";

    bool elsewhere = true;
    const int32_t first = OS_OPENLOCK(name, 0, elsewhere);
    ASSERT_NE(first, 0);
    EXPECT_FALSE(elsewhere);
    const int32_t second = OS_OPENLOCK(name, 0, elsewhere);
    EXPECT_NE(second, 0);
    EXPECT_TRUE(elsewhere);
    OS_CLOSELOCK(second);
    EXPECT_EQ(OS_WAITFORLOCK(name, 100), 0);
    {
        ChildProcess other(LOCK_HOLDER, {name});
        EXPECT_EQ(other.readLine(30000), "refused");
    }
    OS_CLOSELOCK(first);

    ChildProcess holder(LOCK_HOLDER, {name});
    ASSERT_EQ(holder.readLine(30000), "held");
    EXPECT_EQ(OS_WAITFORLOCK(name, 0), 0);
    ASSERT_TRUE(holder.kill());
    const int32_t after = OS_WAITFORLOCK(name, 30000);
    EXPECT_NE(after, 0);
    OS_CLOSELOCK(after);

    for (const char* bad : {"", "../Tarvex", "Tar vex", "C:Tarvex"})
        EXPECT_EQ(OS_WAITFORLOCK(bad, 0), 0) << bad;
    std::filesystem::remove_all(folder);
}
