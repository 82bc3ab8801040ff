// The life of an update across real runs of the program: each session is a separate process on
// the same program folder, started by the test, by the program's own hand-over, or by the test's
// installer script, which starts the program again with "/update" as a real installer does.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdlib>

#include "base/date_rules.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "tests/support/raw_server.h"
#include "tests/support/sessions.h"
#include "tests/support/update_server.h"
#include "update/base64.h"
#include "update/check.h"
#include "update/information_window_ids.h"

namespace {

// What a session saw, written beside the program for the test to read.
void report(const std::string& name, const std::string& text) { writeFile(EZ_APPPATH() + "/" + name, text); }

// The server and the key the test hands to the sessions.
void pointAtTestServer() {
    if (const char* url = std::getenv("TEST_VERSION_URL")) VersionFileUrl = url;
    if (const char* key = std::getenv("TEST_UPDATE_KEY")) UpdatePublicKey = key;
}

const bool lifeFirst = registerSession("life-first", [] {
    pointAtTestServer();
    Boxes boxes({clickButton(1)});
    startProgram();
    const bool closed = runUntilClosed();
    report("first.txt",
           (boxes.shown.empty() ? "no offer" : boxes.shown[0].all()) + "\n" + (closed ? "closed" : "open"));
    return 0;
});

const bool lifeAfter = registerSession("life-after", [] {
    pointAtTestServer();
    std::string notes;
    driver::WHENOPEN(
        "WN",
        [&] {
            notes = EZ_GETTEXT("WN", WN::NOTES);
            notes = notes.substr(0, notes.find('\n'));
            driver::CLICK("WN", WN::CLOSE_BUTTON);
        },
        20000);
    Boxes boxes({clickButton(1)});
    startProgram();
    const std::string window = EZ_FORMEXISTS("RI") ? "window" : "no window";
    driver::CLOSEBOX("RI");
    report("after.txt",
           (boxes.shown.empty() ? "no notice" : boxes.shown[0].all()) + "\n" + notes + "\n" + window);
    return 0;
});

const bool recoverStart = registerSession("recover-start", [] {
    pointAtTestServer();
    startProgram();
    report("recover.txt", EZ_FORMEXISTS("RI") ? "window" : "no window");
    return 0;
});

// An automatic check, if one is due, against a server that has nothing newer.
const bool autoCheck = registerSession("auto-check", [] {
    pointAtTestServer();
    Boxes boxes({});
    startProgram();
    driver::CLOSEBOX("RI");
    return boxes.shown.empty() ? 0 : 7;
});

// The sessions start the program over the test's program folder with no settings file.
class UpdateLifeTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        QFile::remove(QString::fromStdString(IniFile));
        server = RawServer::servingPaths({});
    }
    void serve(const std::string& version, const std::string& installer) {
        server->setPaths({{"/TarvexVersion.txt", {RawServer::send(okResponse(version))}},
                          {"/TarvexSetup.sh", {RawServer::send(okResponse(installer))}}});
    }
    std::string signedFor(const std::string& installer, const std::string& version = "3.0.2.0") {
        VersionFileFields fields;
        fields.host = server->host();
        fields.version = version;
        fields.installer = installer;
        return versionText(fields, key.secretKey);
    }
    SessionRun run(std::vector<std::string> wrapper = {}) {
        SessionRun session;
        session.environment = {{"TEST_VERSION_URL", "http://" + server->host() + "/TarvexVersion.txt"},
                               {"TEST_UPDATE_KEY", key.publicKey},
                               {"FAKETIME_DONT_FAKE_MONOTONIC", "1"}};
        session.wrapper = std::move(wrapper);
        return session;
    }
    // A session's report, once it is there (reports are written whole, see writeFile).
    std::string waitForFile(const std::string& name, int timeoutMs = 30000) {
        const std::string path = folder + "/" + name;
        driver::WAITFOR([&] { return QFile::exists(QString::fromStdString(path)); }, timeoutMs);
        return fileText(path);
    }
    int versionRequests() const { return server->requestsFor("/TarvexVersion.txt"); }

    std::unique_ptr<RawServer> server;
};

TEST_F(UpdateLifeTest, ASilentUpdateFromOfferToCongratulation) {
    const std::string installer = installerScript("life-after");
    serve(signedFor(installer), installer);
    QFile::copy(QDir(TARVEX_PROGRAM_DIR).filePath("Release Notes.rtf"), path("Release Notes.rtf"));
    ASSERT_EQ(runSessionIn(folder, "life-first", run()), 0);
    EXPECT_EQ(waitForFile("first.txt"),
              "New Version Available|Version 3.0.2.0 of Tarvex is available.|This is an "
              "important update including bug fixes.|Would you like to download it now?\nclosed");
    // The hand-over at exit: the installer with the switches of a silent run.
    EXPECT_EQ(installerArguments(folder, 10000),
              (std::vector<std::string>{folder + "/TarvexSetup.sh", "/SP-", "/VERYSILENT"}));
    // The program started again with "/update" congratulates, shows what is new, and cleans up.
    EXPECT_EQ(waitForFile("after.txt"),
              "Update Process Complete|Congratulations! Tarvex has been updated to version 3.0.2.0!|\n"
              "What\u2019s New in Tarvex " TARVEX_VERSION_TEXT "\nwindow");
    EXPECT_EQ(updateSetting("NewVer"), "");
    EXPECT_EQ(updateSetting("Failed"), "0");
    EXPECT_EQ(updateSetting("Install"), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/TarvexSetup.sh")));
    EXPECT_EQ(versionRequests(), 1);
}

TEST_F(UpdateLifeTest, AnInterruptedSilentUpdateRunsAgainAndNoWindowOpens) {
    const std::string installer = installerScript();
    const std::string path = folder + "/TarvexSetup.sh";
    writeFile(path, installer);
    WRITEINI(IniFile, "Update", "Install", path);
    WRITEINI(IniFile, "Update", "NewVer", "3.0.2.0");
    WRITEINI(IniFile, "Update", "Failed", "1");
    WRITEINI(IniFile, "Update", "Verified", GET_BASE64(signedFor(installer)));
    ASSERT_EQ(runSessionIn(folder, "recover-start", run()), 0);
    EXPECT_EQ(waitForFile("recover.txt"), "no window");
    // Started again with its own dialogues: no switches.
    EXPECT_EQ(installerArguments(folder), std::vector<std::string>{path});
    EXPECT_EQ(updateSetting("Failed"), "1");
}

// A real update across two builds of these sources: the copy of this version downloads the
// installer a build as 3.0.2.0 made (scripts/update-across-versions.sh builds it and names it in
// TARVEX_NEXT_INSTALLER), the installer replaces the program beside the user's files and starts
// the new program, which congratulates. Without that build the test has nothing to run.
TEST_F(UpdateLifeTest, TheRealInstallerOfANewerBuildReplacesTheProgramAndKeepsTheUsersFiles) {
    const char* runFile = std::getenv("TARVEX_NEXT_INSTALLER");
    const char* nextProgram = std::getenv("TARVEX_NEXT_PROGRAM");
    if (!runFile || !nextProgram) GTEST_SKIP() << "no newer build: run scripts/update-across-versions.sh";
    const std::string installer = fileText(runFile);
    ASSERT_FALSE(installer.empty());
    VersionFileFields fields;
    fields.host = server->host();
    fields.path = fields.name = "TarvexSetup-3.0.2.0.run";
    fields.path.insert(0, "/");
    fields.installer = installer;
    server->setPaths({{"/TarvexVersion.txt", {RawServer::send(okResponse(versionText(fields, key.secretKey)))}},
                      {fields.path, {RawServer::send(okResponse(installer))}}});
    // The user's own files: the installer leaves them byte for byte; the settings keep the client.
    WRITEINI(IniFile, "Info", "1", "Main Street Motors");
    const std::string userFiles[] = {"Clients.db", "notes.txt"};
    for (const std::string& name : userFiles) writeFile(folder + "/" + name, name + std::string(4096, 'u'));

    ASSERT_EQ(runSessionIn(folder, "life-first", run()), 0);
    EXPECT_NE(waitForFile("first.txt").find("Version 3.0.2.0 of Tarvex is available."), std::string::npos);
    // The new program, started by the installer with "/update", takes the new version's notice.
    const bool noticed = driver::WAITFOR([] { return updateSetting("NewVer") == ""; }, 120000);
    // The new program waits at its notice; it ends here, whatever the checks say (only a process
    // that runs the folder's Tarvex, since the lock may be an older copy's).
    const int newProgram = std::atoi(fileText(folder + "/Tarvex.lock").c_str());
    const QString runs = QFileInfo(QString("/proc/%1/exe").arg(newProgram)).symLinkTarget();
    if (newProgram > 0 && runs == QString::fromStdString(folder + "/Tarvex")) ::kill(newProgram, SIGKILL);
    ASSERT_TRUE(noticed) << fileText(IniFile);
    EXPECT_EQ(updateSetting("Failed"), "0");
    EXPECT_EQ(fileText(folder + "/Tarvex"), fileText(nextProgram));
    ASSERT_GT(newProgram, 0);
    driver::WAITFOR([&] { return ::kill(newProgram, 0) != 0; }, 10000);

    for (const std::string& name : userFiles) EXPECT_EQ(fileText(folder + "/" + name), name + std::string(4096, 'u'));
    EXPECT_NE(fileText(IniFile).find("1=Main Street Motors"), std::string::npos);
    // A further start finds nothing to recover: its window opens.
    ASSERT_EQ(runSessionIn(folder, "recover-start", run()), 0);
    EXPECT_EQ(waitForFile("recover.txt"), "window");
}

// The ten-day rule on the real program on chosen dates, seen at the server: a check at the first
// start, none until ten days have passed, and a "LastCheck" more than ten days ahead (left by a
// clock once set ahead) does not stop the checks.
TEST_F(UpdateLifeTest, AutomaticChecksOnChosenDates) {
    serve(signedFor("unused", TARVEX_VERSION_TEXT), "unused");
    const int32_t dec16 = JULIANDATE(12, 16, 2026), dec17 = JULIANDATE(12, 17, 2026);
    const struct {
        const char* date;
        int32_t lastCheck;  // written before the run; 0: as the run before left it
        bool checks;
        int32_t after;  // "LastCheck" after the run
    } runs[] = {
        {"2026-12-06", 0, true, dec16},
        {"2026-12-16", 0, false, dec16},
        {"2026-12-17", 0, true, JULIANDATE(12, 27, 2026)},
        {"2026-12-06", dec16, false, dec16},
        {"2026-12-06", dec17, true, dec16},
        {"2026-12-06", JULIANDATE(1, 1, 2031), true, dec16},
    };
    int checks = 0;
    for (const auto& r : runs) {
        SCOPED_TRACE(std::string(r.date) + " after " + std::to_string(r.lastCheck));
        if (r.lastCheck) WRITEINI(IniFile, "Update", "LastCheck", std::to_string(r.lastCheck));
        ASSERT_EQ(runSessionIn(folder, "auto-check",
                               run({"faketime", "-f", "@" + std::string(r.date) + " 12:00:00"})),
                  0);
        checks += r.checks ? 1 : 0;
        EXPECT_EQ(versionRequests(), checks);
        EXPECT_EQ(updateSetting("LastCheck"), std::to_string(r.after));
    }
}

}  // namespace
