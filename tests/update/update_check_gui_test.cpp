// The update check as a user meets it over the calculator: a local server with a version file and
// an installer, the offer and every notice answered as a user would, the files and settings left.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <memory>

#include "app/routing.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "stations/tables.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "tests/support/raw_server.h"
#include "tests/support/update_server.h"
#include "update/check.h"

namespace {

const std::string kInstaller = installerScript();

class UpdateCheckTest : public CalculatorTest {
protected:
    void SetUp() override {
        CalculatorTest::SetUp();
        server = RawServer::servingPaths({});
    }

    // A server with the version file and the installer, and the check pointed at it.
    void serve(const std::string& version, const std::string& installer = kInstaller, int delayMs = 0) {
        const std::string answer = okResponse(installer);
        const size_t head = answer.find("\r\n\r\n") + 4;
        server->setPaths({{"/TarvexVersion.txt", {RawServer::send(okResponse(version))}},
                          {"/TarvexSetup.sh",
                           {RawServer::send(answer.substr(0, head)), RawServer::pause(delayMs),
                            RawServer::send(answer.substr(head))}}});
        VersionFileUrl = "http://" + server->host() + "/TarvexVersion.txt";
    }
    VersionFileFields fieldsFor(const std::string& version = "3.0.2.0") {
        VersionFileFields file;
        file.host = server->host();
        file.version = version;
        file.installer = kInstaller;
        return file;
    }
    // Serves a version file signed with the test's key for the standard installer.
    void serveSigned(const std::string& version = "3.0.2.0") {
        serve(versionText(fieldsFor(version), key.secretKey));
    }
    int32_t check(int32_t showMessages, int32_t manual) {
        return CHECKFORUPDATE("RI", VersionFileUrl, ProgramVersion, showMessages, manual);
    }
    int installerRequests() const { return server->requestsFor("/TarvexSetup.sh"); }
    QStringList files() const {
        QStringList names = QDir(QString::fromStdString(folder)).entryList(QDir::Files);
        names.removeAll("Tarvex.ini");
        return names;
    }

    std::unique_ptr<RawServer> server;
};

const std::string kOffer = "New Version Available";

TEST_F(UpdateCheckTest, AnAcceptedOfferDownloadsProvesAndRecordsASilentUpdate) {
    serve(versionText(fieldsFor(), key.secretKey), kInstaller, 500);
    // While the installer arrives the calculator is hidden and "Updating..." is open.
    bool updating = false, calculatorHidden = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!EZ_FORMEXISTS("ZD")) return;
        updating = true;
        calculatorHidden = !gui::findControl("RI", RI::CUSTOMER)->window()->isVisible();
    });
    watch.start(20);
    Boxes boxes({clickButton(1)});
    EXPECT_EQ(check(0, 0), 1);
    watch.stop();
    EXPECT_TRUE(updating);
    EXPECT_TRUE(calculatorHidden);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].all(),
              kOffer +
                  "|Version 3.0.2.0 of Tarvex is available.|This is an important update "
                  "including bug fixes.|Would you like to download it now?");
    EXPECT_EQ(boxes.shown[0].check, "Stop reminding me about this.");
    EXPECT_EQ(boxes.shown[0].buttons, "&Yes|&No, Maybe Later");
    EXPECT_FALSE(EZ_FORMEXISTS("ZD"));
    EXPECT_TRUE(UpdatePending);
    EXPECT_FALSE(MajorUpgrade);
    EXPECT_EQ(InstallerFile, folder + "/TarvexSetup.sh");
    EXPECT_EQ(fileText(InstallerFile), kInstaller);
    EXPECT_EQ(files(), QStringList{"TarvexSetup.sh"});
    EXPECT_EQ(updateSetting("Install"), InstallerFile);
    EXPECT_EQ(updateSetting("NewVer"), "3.0.2.0");
    EXPECT_EQ(updateSetting("Failed"), "1");
    EXPECT_EQ(installerRequests(), 1);
    EXPECT_NE(server->requests().at(1).find("Connection: keep-alive"), std::string::npos);
}

// A copy installed in a folder the user may not write is updated by the package manager: Yes
// opens the web page, and nothing is downloaded into that folder.
TEST_F(UpdateCheckTest, AnInstalledCopyOffersTheWebPageInsteadOfADownload) {
    serveSigned();
    WebPages pages;
    QFile::setPermissions(QString::fromStdString(folder), QFile::ReadOwner | QFile::ExeOwner);
    Boxes boxes({clickButton(1)});
    EXPECT_EQ(check(1, 1), 0);
    QFile::setPermissions(QString::fromStdString(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text2, "This is an important update including bug fixes.|Your package manager updates this copy "
                                    "(apt update && apt upgrade): Yes opens our web page.");
    EXPECT_EQ(pages.opened(), std::vector<std::string>{ProductWebPage});
    EXPECT_EQ(installerRequests(), 0);
    EXPECT_FALSE(UpdatePending);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(UpdateCheckTest, AMajorUpgradeWritesNoKeysAndSaysItHasNewFeatures) {
    for (const std::string version : {"4.0.0.0", "10.0.0.0"}) {
        serveSigned(version);
        UpdatePending = false;
        Boxes boxes({clickButton(1)});
        EXPECT_EQ(check(1, 1), 1) << version;
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text2,
                  "This is a new version with new features.|Would you like to download it now?");
        EXPECT_EQ(boxes.shown[0].check, "");
        EXPECT_TRUE(MajorUpgrade);
        EXPECT_TRUE(UpdatePending);
        EXPECT_EQ(updateSetting("Install"), "<none>");
        EXPECT_EQ(updateSetting("NewVer"), "<none>");
        EXPECT_EQ(updateSetting("Failed"), "<none>");
    }
}

TEST_F(UpdateCheckTest, NothingNewerIsUpToDate) {
    const std::string upToDate = "You Are Up To Date!|Version " TARVEX_VERSION_TEXT
                                 " of Tarvex is the latest version available.|Thank you for "
                                 "checking!";
    for (const std::string version :
         {TARVEX_VERSION_TEXT, "3.1", "99999999999999999999.0", "2.10.0.0", "3.0.0.10"}) {
        serveSigned(version);
        Boxes manual({clickButton(1)});
        EXPECT_EQ(check(1, 1), 0) << version;
        ASSERT_EQ(manual.shown.size(), 1u) << version;
        EXPECT_EQ(manual.shown[0].all(), upToDate);
        EXPECT_EQ(manual.shown[0].buttons, "&OK");
    }
    // The menu command is a manual check over the calculator.
    Boxes menu({clickButton(1)});
    driver::CHOOSEMENU("RI", RI::MENU_CHECKUPDATE);
    ASSERT_EQ(menu.shown.size(), 1u);
    EXPECT_EQ(menu.shown[0].all(), upToDate);
    EXPECT_TRUE(EZ_FORMEXISTS("RI"));
    // Versions compare part by part: 3.0.10.0 is newer.
    serveSigned("3.0.10.0");
    Boxes newer({clickButton(2)});
    EXPECT_EQ(check(1, 1), 0);
    ASSERT_EQ(newer.shown.size(), 1u);
    EXPECT_EQ(newer.shown[0].title, kOffer);
    // Unsigned files as a build without the key reads them: a CR LF after the version, or bare
    // line feeds, leave no version to offer.
    UpdatePublicKey.clear();
    for (const std::string& text : std::vector<std::string>{versionText(fieldsFor(), "") + "\r\n",
                                                            "dl.tarvex.invalid /x y\nsize 5\n3.0.2.0"}) {
        serve(text);
        Boxes quiet({});
        EXPECT_EQ(check(0, 0), 0);
        EXPECT_TRUE(quiet.shown.empty()) << (quiet.shown.empty() ? "" : quiet.shown[0].all());
        Boxes loud({clickButton(1)});
        EXPECT_EQ(check(1, 1), 0);
        ASSERT_EQ(loud.shown.size(), 1u);
        EXPECT_EQ(loud.shown[0].title, "You Are Up To Date!");
    }
    EXPECT_EQ(installerRequests(), 0);
}

TEST_F(UpdateCheckTest, DeclinedOffersAndVersionsNotToBeRemindedOf) {
    serveSigned("3.0.2.0");
    Boxes later({clickButton(2)});
    EXPECT_EQ(check(0, 0), 0);
    EXPECT_TRUE(OfferDeclined);
    EXPECT_EQ(updateSetting("Ignore"), "<none>");
    // Stop reminding: 3.0.2.0 and below are not offered by automatic checks any more.
    Boxes stop({tickAndClick(2)});
    EXPECT_EQ(check(0, 0), 0);
    EXPECT_EQ(updateSetting("Ignore"), "3.0.2.0");
    Boxes none({});
    EXPECT_EQ(check(0, 0), 0);
    EXPECT_TRUE(none.shown.empty());
    EXPECT_FALSE(OfferDeclined);
    // A manual check offers it regardless, with no box to tick.
    Boxes manual({clickButton(2)});
    EXPECT_EQ(check(1, 1), 0);
    ASSERT_EQ(manual.shown.size(), 1u);
    EXPECT_EQ(manual.shown[0].check, "");
    // An Ignore that an earlier version kept as the number without dots still holds.
    WRITEINI(IniFile, "Update", "Ignore", "3020");
    Boxes legacy({});
    EXPECT_EQ(check(0, 0), 0);
    EXPECT_TRUE(legacy.shown.empty());
    // A newer version is offered again; Yes with the box ticked records it and downloads nothing.
    serveSigned("3.0.3.0");
    Boxes ticked({tickAndClick(1)});
    EXPECT_EQ(check(0, 0), 0);
    ASSERT_EQ(ticked.shown.size(), 1u);
    EXPECT_EQ(updateSetting("Ignore"), "3.0.3.0");
    EXPECT_TRUE(OfferDeclined);
    EXPECT_FALSE(UpdatePending);
    EXPECT_EQ(installerRequests(), 0);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(UpdateCheckTest, VersionFilesNotSignedByTheMakerAreNotBelieved) {
    const std::string good = versionText(fieldsFor(), key.secretKey);
    auto changed = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const TestKey other = makeTestKey();
    const std::vector<std::string> refused = {
        changed(server->host(), "127.0.0.2:" + std::to_string(server->port())),
        changed("/TarvexSetup.sh", "/Other.sh"),
        changed(" TarvexSetup.sh\r\n", " TarvexSetup2.sh\r\n"),
        changed("3.0.2.0", "3.0.9.0"),
        changed("size " + std::to_string(kInstaller.size()), "size 5"),
        changed(good.substr(good.find("sha256 ") + 7, 64), std::string(64, 'a')),
        versionText(fieldsFor(), ""),
        versionText(fieldsFor(), other.secretKey),
        changed("\r\n3.0.2.0",
                "\r\nsignature " + good.substr(good.find("signature ") + 10, 88) + "\r\n3.0.2.0"),
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        serve(refused[i]);
        Boxes automatic({});
        EXPECT_EQ(check(0, 0), 0) << i;
        EXPECT_TRUE(automatic.shown.empty()) << i;
        Boxes manual({clickButton(2)});
        EXPECT_EQ(check(1, 1), 0) << i;
        ASSERT_EQ(manual.shown.size(), 1u) << i;
        EXPECT_EQ(manual.shown[0].title, "Unable to Complete Update Check") << i;
        EXPECT_EQ(manual.shown[0].text1, "The update information from the server could not be verified.")
            << i;
        EXPECT_EQ(installerRequests(), 0) << i;
    }
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(fileText(IniFile).find("[Update]"), std::string::npos);
}

TEST_F(UpdateCheckTest, AnInstallerOtherThanTheSignedOneIsDeletedAndNothingIsRecorded) {
    std::string tampered = kInstaller;
    tampered.back() = ' ';  // the same size, another digest
    serve(versionText(fieldsFor(), key.secretKey), tampered);
    Boxes boxes({clickButton(1), clickButton(1)});
    EXPECT_EQ(check(1, 1), 0);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].all(),
              "Download Error|The downloaded file is not the installer that the update "
              "information names. It has been deleted.|Nothing was installed.");
    EXPECT_TRUE(files().isEmpty());
    EXPECT_FALSE(UpdatePending);
    EXPECT_EQ(fileText(IniFile).find("[Update]"), std::string::npos);
    // The calculator is back, not left hidden with the program running.
    EXPECT_TRUE(EZ_FORMEXISTS("RI"));
    EXPECT_TRUE(gui::findControl("RI", RI::CUSTOMER)->window()->isVisible());
}

TEST_F(UpdateCheckTest, DownloadsTheServerNamesUnsafelyAreRefused) {
    // A name that climbs out of the program folder, and an absolute one, that nothing else uses.
    const std::string climbing = "../" + QDir(QString::fromStdString(folder)).dirName().toStdString() + "-up";
    const std::string outside = folder + "-up";
    const std::string absolute = folder + "-absolute";
    for (const auto& [field, value] :
         std::vector<std::pair<std::string, std::string>>{{"name", climbing},
                                                          {"name", absolute},
                                                          {"name", ".x"},
                                                          {"name", "a\\b"},
                                                          {"name", "Setup\nx"},
                                                          {"name", ".."},
                                                          {"host", "127.0.0.1:99999"},
                                                          {"host", "bad_host!"},
                                                          {"path", "TarvexSetup.sh"},
                                                          {"path", "/a\tb"}}) {
        VersionFileFields file = fieldsFor();
        if (field == "name") file.name = value;
        if (field == "host") file.host = value;
        if (field == "path") file.path = value;
        serve(versionText(file, key.secretKey));
        Boxes boxes({clickButton(1), clickButton(1)});
        EXPECT_EQ(check(1, 1), 0) << value;
        ASSERT_EQ(boxes.shown.size(), 2u) << value;
        EXPECT_EQ(boxes.shown[1].all(),
                  "Download Error|The update information names a download that cannot be used.|Nothing was "
                  "installed.")
            << value;
        EXPECT_EQ(installerRequests(), 0) << value;
    }
    EXPECT_TRUE(files().isEmpty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(outside)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(absolute)));
}

TEST_F(UpdateCheckTest, ServersThatCannotBeReachedAreToldOnlyWhenAsked) {
    auto pages = std::make_unique<WebPages>();
    const RefusingPort refusing;
    VersionFileUrl = "http://" + refusing.host() + "/TarvexVersion.txt";
    Boxes automatic({});
    EXPECT_EQ(check(0, 0), 0);
    EXPECT_TRUE(automatic.shown.empty());
    Boxes manual({clickButton(1)});
    EXPECT_EQ(check(1, 1), 0);
    ASSERT_EQ(manual.shown.size(), 1u);
    EXPECT_EQ(manual.shown[0].title, "Unable to Complete Update Check");
    EXPECT_EQ(manual.shown[0].text1,
              "Tarvex could not reach the update server.|The server refused the connection. (Couldn't connect to "
              "server, error 7)|This might be due to a problem with your internet connection.");
    EXPECT_TRUE(manual.shown[0].text2.starts_with("Failed to connect to 127.0.0.1 port "))
        << manual.shown[0].text2;
    EXPECT_TRUE(manual.shown[0].text2.ends_with(
        "|You can visit our web site to download the latest version of Tarvex."));
    EXPECT_EQ(manual.shown[0].buttons, "&Visit Web Site|&No, Thanks, I'm Good");
    EXPECT_EQ(pages->opened(), std::vector<std::string>{ProductWebPage});
    // Without a browser to open it, the address to type is told instead.
    pages.reset();
    Boxes noBrowser({clickButton(1), clickButton(1)});
    EXPECT_EQ(check(1, 1), 0);
    ASSERT_EQ(noBrowser.shown.size(), 2u);
    EXPECT_EQ(noBrowser.shown[1].all(),
              "Visit Our Web Site|Tarvex could not open a web browser.|Type this address into your browser:|" +
                  ProductWebPage);
    VersionFileUrl = "http://nosuchhost.invalid/TarvexVersion.txt";
    Boxes unnamed({clickButton(2)});
    EXPECT_EQ(check(1, 1), 0);
    ASSERT_EQ(unnamed.shown.size(), 1u);
    EXPECT_NE(unnamed.shown[0].text1.find("|The server's name was not found. (Couldn't resolve host name, error 6)|"),
              std::string::npos)
        << unnamed.shown[0].text1;
}


TEST_F(UpdateCheckTest, AServerWithASelfSignedCertificateIsRefused) {
    const QString dir = scratch.path();
    ASSERT_EQ(
        QProcess::execute("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj",
                                      "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-days", "2",
                                      "-keyout", dir + "/key.pem", "-out", dir + "/cert.pem"}),
        0);
    writeFile(folder + "/TarvexVersion.txt", versionText(fieldsFor(), key.secretKey));
    // The server binds a port of the system's choice and says which once it listens.
    QProcess tls;
    tls.setWorkingDirectory(dir);
    tls.start("openssl", {"s_server", "-accept", "127.0.0.1:0", "-cert", dir + "/cert.pem", "-key",
                          dir + "/key.pem", "-WWW"});
    ASSERT_TRUE(tls.waitForStarted());
    static const QRegularExpression accepting("^ACCEPT (127\\.0\\.0\\.1:\\d+)$",
                                              QRegularExpression::MultilineOption);
    QString said;
    ASSERT_TRUE(driver::WAITFOR(
        [&] { return accepting.match(said += QString::fromLatin1(tls.readAllStandardOutput())).hasMatch(); },
        10000));
    VersionFileUrl = "https://" + accepting.match(said).captured(1).toStdString() + "/TarvexVersion.txt";
    Boxes manual({clickButton(2)});
    EXPECT_EQ(check(1, 1), 0);
    ASSERT_EQ(manual.shown.size(), 1u);
    EXPECT_EQ(manual.shown[0].title, "Unable to Complete Update Check");
    EXPECT_NE(manual.shown[0].text1.find("|The server's certificate was refused, so the connection could not be "
                                         "trusted. ("),
              std::string::npos)
        << manual.shown[0].text1;
    EXPECT_NE(manual.shown[0].text1.find(", error 60)|"), std::string::npos) << manual.shown[0].text1;
    EXPECT_NE(manual.shown[0].text2.find("certificate"), std::string::npos) << manual.shown[0].text2;
    tls.kill();
    tls.waitForFinished();
}

// How long the check waits and how smoothly the window paints meanwhile are measured in bench/.
TEST_F(UpdateCheckTest, AServerThatNeverAnswersEndsTheCheckWhileTheWindowPaints) {
    server = std::make_unique<RawServer>(std::vector<std::vector<RawServer::Step>>{{RawServer::hold(30000)}});
    VersionFileUrl = "http://" + server->host() + "/TarvexVersion.txt";
    // Paints counted until the notice opens: a check that held the events up would leave none.
    int paints = 0;
    bool noticeOpen = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        noticeOpen = noticeOpen || EZ_FORMEXISTS("DGMSGBOX1");
        if (noticeOpen) return;
        driver::PAINT("RI", RI::CUSTOMER);
        ++paints;
    });
    tick.start(20);
    Boxes manual({clickButton(2)});
    EXPECT_EQ(check(1, 1), 0);
    tick.stop();
    ASSERT_EQ(manual.shown.size(), 1u);
    EXPECT_EQ(manual.shown[0].title, "Unable to Complete Update Check");
    EXPECT_NE(manual.shown[0].text1.find("|The server did not answer in time. (Timeout was reached, error 28)|"),
              std::string::npos)
        << manual.shown[0].text1;
    EXPECT_GE(paints, 10);
    EXPECT_TRUE(EZ_FORMEXISTS("RI"));
}

// Exit or the close box while the check or the download waits: the calculator stays until the
// wait has ended, then closes; nothing the waiting code returns to is gone.
TEST_F(UpdateCheckTest, ExitAndTheCloseBoxWaitUntilTheWaitHasEnded) {
    const std::function<void()> acts[] = {[] { driver::CHOOSEMENU("RI", RI::MENU_EXIT); },
                                          [] { driver::CLOSEBOX("RI"); }};
    for (const std::string wait : {"manual check", "automatic check", "download"}) {
        for (const auto& act : acts) {
            SCOPED_TRACE(wait);
            serve(wait == "download" ? versionText(fieldsFor(), key.secretKey) : "", kInstaller, 800);
            if (wait != "download") server->setPaths({{"/TarvexVersion.txt", {RawServer::hold(800)}}});
            const auto waiting = [&] { return wait == "download" ? EZ_FORMEXISTS("ZD") : !server->requests().empty(); };
            bool acted = false, stayed = false;
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                if (acted || !waiting()) return;
                acted = true;
                act();
                stayed = EZ_FORMEXISTS("RI");
            });
            watch.start(20);
            Boxes boxes({clickButton(wait == "download" ? 1 : 2)});
            WRITEINI(IniFile, "Options", "AutoUpdate", wait == "automatic check" ? "1" : "0");
            WRITEINI(IniFile, "Update", "LastCheck", "0");
            WRITEINI(IniFile, "Update", "Failed", "0");
            closeAllForms();
            EZ_RI_Display("");  // checks by itself when the option is on
            if (wait != "automatic check") driver::CHOOSEMENU("RI", RI::MENU_CHECKUPDATE);
            EXPECT_TRUE(driver::WAITFOR([] { return !EZ_FORMEXISTS("RI"); }, 10000));
            EXPECT_TRUE(acted && stayed);
            server = RawServer::servingPaths({});
        }
    }
    UpdatePending = false;
}

}  // namespace
