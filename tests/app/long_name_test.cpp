// The full form of the program folder, from which the settings and help paths are made.
#include "app/long_name.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path scratchFolder() {
    fs::path folder = fs::temp_directory_path() / ("tarvex-long-name-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "Program Files" / "Tarvex");
    return folder;
}

TEST(LongName, ResolvesLinksDotsAndTrailingSeparators) {
    fs::path root = scratchFolder();
    fs::path real = root / "Program Files" / "Tarvex";
    fs::create_directory_symlink(real, root / "short");
    const std::string expected = fs::canonical(real).string();

    EXPECT_EQ(GETLONGFILENAME((root / "short").string()), expected);
    EXPECT_EQ(GETLONGFILENAME((root / "short").string() + "/"), expected);
    EXPECT_EQ(GETLONGFILENAME((root / "Program Files" / "." / ".." / "Program Files" / "Tarvex").string()),
              expected);
    EXPECT_EQ(GETLONGFILENAME(real.string() + "//"), expected);
    fs::remove_all(root);
}

TEST(LongName, MissingFirstComponentGivesEmptyText) {
    EXPECT_EQ(GETLONGFILENAME("/no-such-top-folder-of-tarvex/sub"), "");
    EXPECT_EQ(GETLONGFILENAME(""), "");
    // The settings path then becomes a bare separator and the file name.
    EXPECT_EQ(GETLONGFILENAME("/no-such-top-folder-of-tarvex") + "/" + "Tarvex.ini", "/Tarvex.ini");
}

TEST(LongName, MissingLaterComponentKeepsItsName) {
    fs::path root = scratchFolder();
    EXPECT_EQ(GETLONGFILENAME((root / "Program Files" / "gone").string()),
              (fs::canonical(root / "Program Files") / "gone").string());
    fs::remove_all(root);
}

}  // namespace
