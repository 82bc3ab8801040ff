// The installer's window: it says what it installs where, and Cancel changes nothing.
#include <gtest/gtest.h>

#include "app/routing.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "installer/window.h"
#include "installer/window_ids.h"
#include "tests/installer/program_folders.h"
#include "tests/support/fixture.h"

TEST(InstallerWindow, SaysWhatItInstallsWhereAndCancelChangesNothing) {
    const fs::path where = scratchFolder();
    const fs::path run = makeRun(where, "3.0.2.0");
    const std::string home = getenv("HOME") ? getenv("HOME") : "";
    const struct {
        const char* what;
        bool copy;
        std::string message, folder;
    } cases[] = {
        {"beside a copy", true, "Tarvex 3.0.2.0 will replace the copy in " + (where / "copy").string() + ".", (where / "copy").string()},
        {"anywhere else", false, "Tarvex 3.0.2.0 will be installed in this folder:", home + "/Tarvex"},
    };
    EZ_GUIINIT(INSTALLER_EVENTS, INSTALLER_DESIGN);
    for (const auto& shown : cases) {
        const fs::path folder = where / "copy";
        fs::remove_all(folder);
        if (shown.copy) writeFiles(folder, programFiles("3.0.1.0"));
        writeFiles(folder, {{"Clients.db", "rows"}});
        fs::copy_file(run, folder / run.filename());
        EZ_IN_Display(folder / run.filename());
        driver::SETTLE();
        EXPECT_TRUE(EZ_GETTEXT("IN", IN::MESSAGE).starts_with(shown.message)) << shown.what;
        EXPECT_EQ(EZ_GETTEXT("IN", IN::FOLDER), shown.folder) << shown.what;
        driver::CLICK("IN", IN::CANCEL_BUTTON);
        EXPECT_TRUE(driver::WAITFOR([] { return !EZ_FORMEXISTS("IN"); }, 5000)) << shown.what;
        EXPECT_EQ(fs::exists(folder / "Tarvex"), shown.copy);
        EXPECT_TRUE(!shown.copy || holds(folder, programFiles("3.0.1.0"))) << shown.what;
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(folder), {}), shown.copy ? 9 : 2) << shown.what;
    }
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    fs::remove_all(where);
}
