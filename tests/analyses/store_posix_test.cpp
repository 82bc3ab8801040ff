// The store of saved analyses in a folder that POSIX permissions keep from taking files (on
// Windows a read-only folder still takes files).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/analyses/store_folders.h"

TEST(AnalysesStore, ReadOnlyFolder) {
    expectKeptThrough({"read-only-folder", [](const std::string& f, const std::string&) {
                           std::filesystem::permissions(fromUtf8(f), std::filesystem::perms(0555));
                       }, "may not be written", 1, 1}, asideName());
}
