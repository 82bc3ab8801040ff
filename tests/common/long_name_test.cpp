// The full form of the program folder, from which the settings and help paths are made.
#include "common/long_name.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/scratch_files.h"

namespace fs = std::filesystem;

namespace {

fs::path programFolders() {
    fs::path folder = scratchFolder("long-name");
    fs::create_directories(folder / "Program Files" / "Tarvex");
    return folder;
}

TEST(LongName, RemovesDotsAndTrailingSeparators) {
    fs::path root = programFolders();
    fs::path real = root / "Program Files" / "Tarvex";
    const std::string expected = utf8(fs::canonical(real));

    EXPECT_EQ(GETLONGFILENAME(utf8(root / "Program Files" / "." / ".." / "Program Files" / "Tarvex")), expected);
    EXPECT_EQ(GETLONGFILENAME(utf8(real) + "/"), expected);
    EXPECT_EQ(GETLONGFILENAME(utf8(real) + "//"), expected);
    fs::remove_all(root);
}

TEST(LongName, ResolvesLinks) {
    fs::path root = programFolders();
    fs::path real = root / "Program Files" / "Tarvex";
    std::error_code error;
    fs::create_directory_symlink(real, root / "short", error);
    if (error) GTEST_SKIP() << "this system makes no links to folders: " << error.message();

    EXPECT_EQ(GETLONGFILENAME(utf8(root / "short")), utf8(fs::canonical(real)));
    EXPECT_EQ(GETLONGFILENAME(utf8(root / "short") + "/"), utf8(fs::canonical(real)));
    fs::remove_all(root);
}

TEST(LongName, MissingFirstComponentGivesEmptyText) {
    EXPECT_EQ(GETLONGFILENAME("/no-such-top-folder-of-tarvex/sub"), "");
    EXPECT_EQ(GETLONGFILENAME(""), "");
    // The settings path then becomes a bare separator and the file name.
    EXPECT_EQ(GETLONGFILENAME("/no-such-top-folder-of-tarvex") + "/" + "Tarvex.ini", "/Tarvex.ini");
}

TEST(LongName, MissingLaterComponentKeepsItsName) {
    fs::path root = programFolders();
    EXPECT_EQ(GETLONGFILENAME(utf8(root / "Program Files" / "gone")),
              utf8(fs::canonical(root / "Program Files") / "gone"));
    fs::remove_all(root);
}

}  // namespace
