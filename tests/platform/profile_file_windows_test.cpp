// The settings file on Windows while another program holds it open without letting it be replaced.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/profile_file.h"
#include "tests/support/scratch_files.h"

namespace fs = std::filesystem;

// Opened by another without leave to delete, for reading only or for writing too: the write is
// refused after its retries, the file keeps its old content and no temporary file is left.
TEST(ProfileFile, AFileHeldOpenByAnotherIsReportedNotHalfWritten) {
    for (DWORD access : {GENERIC_READ, GENERIC_READ | GENERIC_WRITE}) {
        fs::path folder = scratchFolder("held");
        const fs::path path = folder / "Tarvex.ini";
        writeRaw(path, "[Options]\nRecall=0\n");
        HANDLE holder = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(OS_WRITEPROFILESTRING("Options", "Recall", "1", utf8(path)));
        ::CloseHandle(holder);
        EXPECT_EQ(readRaw(path), "[Options]\nRecall=0\n");
        EXPECT_EQ(namesIn(folder), std::set<std::string>{"Tarvex.ini"});
        EXPECT_TRUE(OS_WRITEPROFILESTRING("Options", "Recall", "1", utf8(path)));
        EXPECT_EQ(readRaw(path), "[Options]\nRecall=1\n");
        fs::remove_all(folder);
    }
}
