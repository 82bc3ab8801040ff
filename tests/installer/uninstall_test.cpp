// A copy installed from a real installer file and made known to the system (on Windows a
// Start-menu shortcut and an uninstall entry naming the uninstaller kept in the copy, so that the
// installer file may go), then removed by the silent "/uninstall" with them, leaving only the
// user's own files.
#include <gtest/gtest.h>

#include <algorithm>

#include "installer/installing.h"
#include "installer/payload.h"
#include "installer/uninstalling.h"
#include "platform/program_names.h"
#include "platform/shell_entries.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

namespace fs = std::filesystem;

static std::string slashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

TEST(Installer, ACopyIsRegisteredAndUninstalledWithItsShellEntries) {
    const fs::path scratch = scratchFolder("uninstall");
    for (const auto& [name, sub] :
         {std::pair{"APPDATA", "Roaming"}, {"LOCALAPPDATA", "Local"}, {"HOME", "home"}})
        setEnvironment(name, utf8(scratch / sub));
    const fs::path shortcut = scratch / "Roaming/Microsoft/Windows/Start Menu/Programs/Tarvex.lnk";
    const std::string folder = slashes(OS_FRESHCOPYFOLDER()), run = folder + "/TarvexSetup-3.0.2.0.exe";
    ASSERT_TRUE(folder.starts_with(slashes(utf8(scratch)))) << folder;
    for (const char* sub : {"Help", "Graphics"}) fs::create_directories(scratch / "made" / sub);
    for (const std::string name :
         {kProgramExecutable, "History.rtf", "Help/Tarvex Help.chm", "Graphics/a.png"})
        writeRaw(scratch / "made" / name, name);
    std::string problem;
    ASSERT_TRUE(PACKPROGRAM(LOCK_HOLDER, utf8(scratch / "made"), "3.0.2.0", utf8(scratch / "run"), problem));
    // In turn: no files of the user's, settings and analyses, a picture of theirs.
    for (const std::set<std::string>& own :
         std::vector<std::set<std::string>>{{}, {"Tarvex.ini", "Clients.db"}, {"Graphics/photo.png"}}) {
        fs::create_directories(fromUtf8(folder));
        fs::copy_file(scratch / "run", fromUtf8(run));
        const std::optional<Payload> payload = CHECKINSTALLER(run, problem);
        const auto quiet = [](const std::string&) {};
        ASSERT_TRUE(payload && INSTALLPROGRAM(run, *payload, folder, quiet, problem)) << problem;
        for (const std::string& name : own) writeRaw(fromUtf8(folder) / name, "the user's");
        ASSERT_TRUE(REGISTERCOPY(folder, run, "3.0.2.0"));
        const std::string kept = folder + "/" + kKeptUninstaller;
        const ShellEntries registered{folder + "/" + kProgramExecutable, folder, kept, "3.0.2.0"};
        EXPECT_EQ(OS_READSHELLENTRIES(), kSystemKeepsShellEntries ? registered : ShellEntries{});
        EXPECT_EQ(fs::exists(shortcut), kSystemKeepsShellEntries);
        EXPECT_EQ(fs::exists(fromUtf8(kept)), kSystemKeepsShellEntries);
        if (kSystemKeepsShellEntries) {
            ASSERT_TRUE(fs::remove(fromUtf8(run)));
        }
        ASSERT_EQ(SILENTUNINSTALL(kSystemKeepsShellEntries ? OS_READSHELLENTRIES().installer : run), 0);
        EXPECT_EQ(OS_READSHELLENTRIES(), ShellEntries{});
        EXPECT_FALSE(fs::exists(shortcut));
        std::set<std::string> left, expected = own;
        if (fs::exists(fromUtf8(folder)))
            for (const auto& entry : fs::recursive_directory_iterator(fromUtf8(folder)))
                left.insert(slashes(utf8(fs::relative(entry.path(), fromUtf8(folder)))));
        if (!kSystemKeepsShellEntries) expected.insert("TarvexSetup-3.0.2.0.exe");
        if (own.contains("Graphics/photo.png")) expected.insert("Graphics");
        EXPECT_EQ(left, expected);
        EXPECT_EQ(fs::exists(fromUtf8(folder)), !expected.empty());
        fs::remove_all(fromUtf8(folder));
    }
    fs::remove_all(scratch);
}
