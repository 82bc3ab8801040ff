// The options and the remembered client across a real restart: each session is a separate
// run of the program on the same program folder.
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstdio>

#include "calc/calculator_ids.h"
#include "common/globals.h"
#include "common/settings.h"
#include "common/stored_text.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "tests/support/sessions.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "session check failed: %s\n", what.c_str());
    ++failures;
}

// Chooses an option in the menu and returns the notice it showed, answered with its OK.
std::string toggle(int32_t item) {
    Boxes boxes({clickButton(1)});
    driver::CHOOSEMENU("RI", item);
    check(boxes.shown.size() == 1, "the notice opened");
    return boxes.shown.empty() ? "" : boxes.shown[0].title + "|" + boxes.shown[0].text1;
}

const bool typeAndClose = registerSession("type-and-close", [] {
    startProgram();
    check(!EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105), "remembering starts off");
    check(toggle(9105) == "Status Change|Storing of current client information is now ON.", "ON notice");
    driver::TYPE("RI", RI::CUSTOMER, " Main Street Motors ");
    driver::TYPE("RI", RI::SALESREP, "Pat Kelly");
    driver::TYPE("RI", RI::BUDGET, "1,000");
    driver::TYPE("RI", RI::ROI, "7");
    driver::TYPE("RI", RI::MARGIN, "50");
    driver::TYPE("RI", RI::AVERAGE_SALE, "0");
    driver::TYPE("RI", RI::CLOSING_RATIO, "20");
    EZ_SETTEXT("RI", RI::COMMENTS, "First line\nSecond line");
    driver::CLICK("RI", RI::TICKBOX(1));
    driver::CLICK("RI", RI::TICKBOX(3));
    driver::CLICK("RI", RI::EXIT_BUTTON);
    check(!EZ_FORMEXISTS("RI"), "Exit closed the calculator");
    return failures;
});

const bool comesBack = registerSession("comes-back-then-off", [] {
    startProgram();
    check(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105), "remembering is on");
    check(EZ_GETTEXT("RI", RI::CUSTOMER) == "Main Street Motors",
          "customer: " + EZ_GETTEXT("RI", RI::CUSTOMER));
    check(EZ_GETTEXT("RI", RI::SALESREP) == "Pat Kelly", "salesrep");
    check(EZ_GETTEXT("RI", RI::BUDGET) == "$1,000.00", "budget: " + EZ_GETTEXT("RI", RI::BUDGET));
    check(EZ_GETTEXT("RI", RI::ROI) == "7.0", "return");
    check(EZ_GETTEXT("RI", RI::AVERAGE_SALE) == "",
          "average sale of 0: " + EZ_GETTEXT("RI", RI::AVERAGE_SALE));
    check(EZ_GETCHECK("RI", RI::TICKBOX(1)) == 1 && EZ_GETCHECK("RI", RI::TICKBOX(3)) == 1, "two ticks");
    check(EZ_GETCHECK("RI", RI::TICKBOX(2)) == 0, "third row clear");
    check(EZ_GETTEXT("RI", RI::COMMENTS) == "First line\nSecond line",
          "comment: " + EZ_GETTEXT("RI", RI::COMMENTS));
    check(EZ_GETTEXT("RI", RI::NET_RETURN) == "$1,070.00", "results follow the restored inputs");
    check(toggle(9105) == "Status Change|Storing of current client information is now OFF.", "OFF notice");
    driver::TYPE("RI", RI::CUSTOMER, " and more");
    driver::CLOSEBOX("RI");
    return failures;
});

// A comment of one line with a tab at each end, then one of a megabyte in many lines.
const std::string kEndsComment = "\tTabbed at both ends\t";

std::string longComment() {
    std::string comment;
    for (int line = 0; comment.size() < 1'000'000; ++line)
        comment += "Line " + std::to_string(line) + " says \"call back\" \\ \u00e9t\u00e9\n";
    return comment;
}

const bool closeWithEnds = registerSession("close-with-ends", [] {
    startProgram();
    EZ_SETTEXT("RI", RI::COMMENTS, kEndsComment);
    driver::CLOSEBOX("RI");
    return failures;
});

const bool endsComeBack = registerSession("ends-come-back", [] {
    startProgram();
    check(EZ_GETTEXT("RI", RI::COMMENTS) == kEndsComment, "comment: " + EZ_GETTEXT("RI", RI::COMMENTS));
    driver::CLOSEBOX("RI");
    return failures;
});

const bool closeWithLong = registerSession("close-with-long-comment", [] {
    startProgram();
    EZ_SETTEXT("RI", RI::COMMENTS, longComment());
    driver::CLOSEBOX("RI");
    return failures;
});

std::string fileText(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "";
}

// Each test starts the program in sessions of their own over the test's program folder.
using RememberedClient = ProgramTest;

TEST_F(RememberedClient, ACommentComesBackExactlyAndALongOneIsCutOnceToFit) {
    const std::string& ini = IniFile;
    WRITEINI(ini, "Options", "Recall", "1");

    ASSERT_EQ(runSessionIn(folder, "close-with-ends"), 0);
    const std::string first = fileText(ini);
    ASSERT_EQ(runSessionIn(folder, "ends-come-back"), 0);
    ASSERT_EQ(runSessionIn(folder, "ends-come-back"), 0);
    EXPECT_EQ(fileText(ini), first) << "a value written again grew";

    ASSERT_EQ(runSessionIn(folder, "close-with-long-comment"), 0);
    const std::string stored = GETINI(ini, "Info", "16");
    EXPECT_LE(stored.size(), 999u);
    EXPECT_GE(stored.size(), 990u) << "cut more than it had to";
    const std::string comment = FROMSTOREDTEXT(stored);
    EXPECT_EQ(longComment().substr(0, comment.size()), comment);
    EXPECT_EQ(QString::fromUtf8(comment.data(), qsizetype(comment.size())).toUtf8().toStdString(), comment)
        << "the cut split a character";
}

const bool startOverPipe = registerSession("start-over-a-pipe", [] {
    startProgram();
    check(EZ_GETTEXT("RI", RI::CUSTOMER).empty(), "no client remembered");
    check(!EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105), "remembering starts off");
    toggle(9105);
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    driver::CLOSEBOX("RI");
    return failures;
});

// A pipe, or a link to a device, where the settings file belongs: reading it must not wait for
// a writer or read for ever, and nothing is ever written into it.
TEST_F(RememberedClient, ASettingsFileThatIsNoFileNeitherStopsTheStartNorIsWritten) {
    const std::string& ini = IniFile;
    ASSERT_EQ(::unlink(ini.c_str()), 0);
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    ASSERT_EQ(runSessionIn(folder, "start-over-a-pipe"), 0);
    struct stat info {};
    ASSERT_EQ(::lstat(ini.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    ASSERT_EQ(::unlink(ini.c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", ini.c_str()), 0);
    ASSERT_EQ(runSessionIn(folder, "start-over-a-pipe"), 0);
    ASSERT_EQ(::lstat(ini.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(RememberedClient, ComesBackAfterARestartAndStaysWhenTheOptionIsOff) {
    const std::string& ini = IniFile;
    WRITEINI(ini, "Stations", "Calls", "WAAA,WBBB,WCCC,,,,,");
    WRITEINI(ini, "Stations", "Cume", "10000,5000,2500,0,0,0,0,0");

    ASSERT_EQ(runSessionIn(folder, "type-and-close"), 0);
    EXPECT_EQ(GETINI(ini, "Options", "Recall"), "1");
    EXPECT_EQ(GETINI(ini, "Info", "1"), "Main Street Motors");
    EXPECT_EQ(GETINI(ini, "Info", "3"), "1000.00");
    EXPECT_EQ(GETINI(ini, "Info", "8"), "1");
    EXPECT_EQ(GETINI(ini, "Info", "9"), "0");
    EXPECT_EQ(GETINI(ini, "Info", "10"), "1");

    ASSERT_EQ(runSessionIn(folder, "comes-back-then-off"), 0);
    EXPECT_EQ(GETINI(ini, "Options", "Recall"), "0");
    EXPECT_EQ(GETINI(ini, "Info", "1"), "Main Street Motors");
}

}  // namespace
