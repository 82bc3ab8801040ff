// What follows a download: the hand-over at exit, the re-run of an interrupted silent update,
// the notices after an update and the clean-up, in a program folder of the test's own.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>

#include "app/routing.h"
#include "calc/calculator_form.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "stations/tables.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "tests/support/update_server.h"
#include "update/base64.h"
#include "update/check.h"
#include "update/information_window_ids.h"
#include "update/installation.h"

namespace {

const std::string kInstaller = installerScript();

class InstallationTest : public CalculatorTest {
protected:
    // The installer in the program folder and the signed version file that names it.
    std::string placeInstaller(const std::string& bytes = kInstaller, const std::string& version = "3.0.2.0") {
        InstallerFile = folder + "/TarvexSetup.sh";
        writeFile(InstallerFile, bytes);
        VersionFileFields fields;
        fields.host = "dl.tarvex.invalid";
        fields.version = version;
        fields.installer = kInstaller;
        return versionText(fields, key.secretKey);
    }
    void interruptedUpdate(const std::string& proof) {
        WRITEINI(IniFile, "Update", "Install", InstallerFile);
        WRITEINI(IniFile, "Update", "NewVer", "3.0.2.0");
        WRITEINI(IniFile, "Update", "Failed", "1");
        WRITEINI(IniFile, "Update", "Verified", GET_BASE64(proof));
    }
    bool exists(const std::string& name) const {
        return QFile::exists(QString::fromStdString(folder + "/" + name));
    }

    QTemporaryDir elsewhere;
};

TEST_F(InstallationTest, HandOverStartsTheProvedInstallerWithItsSwitches) {
    UpdateVersionText = placeInstaller();
    UpdatePending = true;
    DOUPDATE();
    EXPECT_EQ(installerArguments(folder), (std::vector<std::string>{InstallerFile, "/SP-", "/VERYSILENT"}));
    struct stat info {};
    ASSERT_EQ(::stat(InstallerFile.c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IXUSR);
    QFile::remove(QString::fromStdString(folder + "/installer-args.txt"));
    // A major upgrade runs with its own dialogues: no switches.
    MajorUpgrade = true;
    DOUPDATE();
    EXPECT_EQ(installerArguments(folder), std::vector<std::string>{InstallerFile});
    QFile::remove(QString::fromStdString(folder + "/installer-args.txt"));
    // Nothing pending, or an installer changed since it was proved, starts nothing.
    UpdatePending = false;
    DOUPDATE();
    UpdatePending = true;
    writeFile(InstallerFile, kInstaller + "echo changed\n");
    DOUPDATE();
    EXPECT_TRUE(installerArguments(folder, 1000).empty());
}

TEST_F(InstallationTest, ALongPathIsStartedWholeNeverCut) {
    std::string deep = folder;
    while (deep.size() < 300) deep += "/a-rather-long-folder-name";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(deep)));
    useFolder(deep);
    UpdateVersionText = placeInstaller();
    UpdatePending = true;
    DOUPDATE();
    ASSERT_GT(InstallerFile.size(), 300u);
    EXPECT_EQ(installerArguments(folder), (std::vector<std::string>{InstallerFile, "/SP-", "/VERYSILENT"}));
}

TEST_F(InstallationTest, AnInterruptedSilentUpdateIsRunAgainOnlyWhenProved) {
    const std::string proof = placeInstaller();
    interruptedUpdate(proof);
    EXPECT_FALSE(RECOVERINSTALL());
    EXPECT_EQ(installerArguments(folder), std::vector<std::string>{InstallerFile});
    QFile::remove(QString::fromStdString(folder + "/installer-args.txt"));
    // "Failed" must be exactly 1; a changed installer, a missing proof, or an installer named
    // outside the program folder is never started.
    WRITEINI(IniFile, "Update", "Failed", "2");
    EXPECT_TRUE(RECOVERINSTALL());
    WRITEINI(IniFile, "Update", "Failed", "1");
    writeFile(InstallerFile, kInstaller + "echo changed\n");
    EXPECT_TRUE(RECOVERINSTALL());
    placeInstaller();
    WRITEINI(IniFile, "Update", "Verified", "");
    EXPECT_TRUE(RECOVERINSTALL());
    interruptedUpdate(proof);
    const std::string outside = QDir(elsewhere.path()).filePath("TarvexSetup.sh").toStdString();
    writeFile(outside, kInstaller);
    WRITEINI(IniFile, "Update", "Install", outside);
    EXPECT_TRUE(RECOVERINSTALL());
    WRITEINI(IniFile, "Update", "Install", folder + "/missing.sh");
    EXPECT_TRUE(RECOVERINSTALL());
    // A proved installer of this version or an older one would roll the program back.
    for (const std::string version : {TARVEX_VERSION_TEXT, "3.0.0.10", "2.10.0.0"}) {
        interruptedUpdate(placeInstaller(kInstaller, version));
        EXPECT_TRUE(RECOVERINSTALL()) << version;
        EXPECT_EQ(updateSetting("Failed"), "0") << version;
    }
    EXPECT_TRUE(installerArguments(folder, 1000).empty());
}

TEST_F(InstallationTest, AnUpdateNamedByUpdaterIniIsCongratulatedWithItsReleaseNotes) {
    QFile::copy(QDir(TARVEX_PROGRAM_DIR).filePath("Release Notes.rtf"), path("Release Notes.rtf"));
    WRITEINI(folder + "/Updater.ini", "Program", "NewVersion", "3.0.2.0");
    WRITEINI(IniFile, "Update", "Failed", "1");
    std::string notes, caption;
    bool bold = false;
    auto information = driver::WHENOPEN("WN", [&] {
        caption = EZ_GETTEXT("WN", 0);
        notes = EZ_GETTEXT("WN", WN::NOTES);
        QTextDocument* page = qobject_cast<QTextEdit*>(gui::findControl("WN", WN::NOTES))->document();
        bold = page->find("Signed updates.").charFormat().font().bold();
        driver::CLICK("WN", WN::CLOSE_BUTTON);
    });
    Boxes boxes({clickButton(1)});
    ISUPDATED();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].all(),
              "Update Process Complete|Congratulations! Tarvex has been updated to version 3.0.2.0!|");
    EXPECT_EQ(boxes.shown[0].buttons, "&See What's New|&Don't Care");
    EXPECT_TRUE(information->answered);
    EXPECT_EQ(caption, "Update Information");
    EXPECT_TRUE(notes.starts_with("What\u2019s New in Tarvex " TARVEX_VERSION_TEXT)) << notes;
    EXPECT_TRUE(bold);
    EXPECT_FALSE(EZ_FORMEXISTS("WN"));
    EXPECT_EQ(GETINI(folder + "/Updater.ini", "Program", "NewVersion", "<none>"), "");
    EXPECT_EQ(updateSetting("Failed"), "0");
    // Without release notes there is only OK; with the value read and cleared, nothing more.
    QFile::remove(path("Release Notes.rtf"));
    WRITEINI(folder + "/Updater.ini", "Program", "NewVersion", "3.0.3.0");
    Boxes plain({clickButton(1)});
    ISUPDATED();
    ASSERT_EQ(plain.shown.size(), 1u);
    EXPECT_EQ(plain.shown[0].buttons, "&OK");
    EXPECT_EQ(plain.shown[0].text1, "Congratulations! Tarvex has been updated to version 3.0.3.0!");
    Boxes none({});
    ISUPDATED();
    EXPECT_TRUE(none.shown.empty());
}

TEST_F(InstallationTest, AFailedUpdateIsReportedOnceAndCleanedUp) {
    placeInstaller();
    WRITEINI(IniFile, "Update", "Install", InstallerFile);
    WRITEINI(IniFile, "Update", "Failed", "1");
    writeFile(folder + "/pgmud.exe", "old");
    Boxes boxes({clickButton(2)});
    ISUPDATED();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(
        boxes.shown[0].all(),
        "Update Process Failed|The program update failed to install correctly.|This failure could be due to "
        "your internet connection or anti-virus program.|The update can be downloaded directly from our web "
        "site.");
    EXPECT_EQ(boxes.shown[0].buttons, "&Go To Website|&Continue Without Updating");
    EXPECT_EQ(updateSetting("Failed"), "0");
    EXPECT_FALSE(exists("TarvexSetup.sh"));
    EXPECT_EQ(updateSetting("Install"), "");
    EXPECT_FALSE(exists("pgmud.exe"));
    Boxes again({});
    ISUPDATED();
    EXPECT_TRUE(again.shown.empty());
}

TEST_F(InstallationTest, TheWebSiteInsteadEndsWithoutCleaningUp) {
    WebPages pages;
    placeInstaller();
    WRITEINI(IniFile, "Update", "Install", InstallerFile);
    WRITEINI(IniFile, "Update", "Failed", "2");
    Boxes boxes({clickButton(1)});
    ISUPDATED();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(pages.opened(), std::vector<std::string>{ProductWebPage});
    EXPECT_TRUE(exists("TarvexSetup.sh"));
    EXPECT_EQ(updateSetting("Install"), InstallerFile);
    // An offer declined in this run is no failed update.
    WRITEINI(IniFile, "Update", "Failed", "1");
    OfferDeclined = true;
    Boxes declined({});
    ISUPDATED();
    EXPECT_TRUE(declined.shown.empty());
    EXPECT_EQ(updateSetting("Failed"), "1");
}

TEST_F(InstallationTest, TheCleanUpDeletesOnlyFilesOfTheProgramFolder) {
    const std::string outside = QDir(elsewhere.path()).filePath("keep.doc").toStdString();
    writeFile(outside, "a document");
    WRITEINI(IniFile, "Update", "Install", outside);
    ISUPDATED();
    EXPECT_EQ(fileText(outside), "a document");
    EXPECT_EQ(updateSetting("Install"), outside);
    // A file that no longer exists keeps its entry, as only a deletion clears it.
    WRITEINI(IniFile, "Update", "Install", folder + "/gone.sh");
    ISUPDATED();
    EXPECT_EQ(updateSetting("Install"), folder + "/gone.sh");
}

}  // namespace
