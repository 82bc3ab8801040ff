// The options and the remembered client across a real restart: each session is a separate
// run of the program on the same program folder.
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

#include "app/settings.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
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
    std::string notice;
    auto answer = driver::WHENOPEN("DGMSGBOX1", [&] {
        notice = EZ_GETTEXT("DGMSGBOX1", 0) + "|" + EZ_GETTEXT("DGMSGBOX1", 5);
        driver::CLICK("DGMSGBOX1", 11);
    });
    driver::CHOOSEMENU("RI", item);
    check(answer->answered, "the notice opened");
    return notice;
}

const bool typeAndClose = registerSession("type-and-close", [] {
    startProgram();
    check(!EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105), "remembering starts off");
    check(toggle(9105) == "Status Change|Storing of current client information is now ON.", "ON notice");
    driver::TYPE("RI", 135, " Main Street Motors ");
    driver::TYPE("RI", 140, "Pat Kelly");
    driver::TYPE("RI", 145, "1,000");
    driver::TYPE("RI", 150, "7");
    driver::TYPE("RI", 155, "50");
    driver::TYPE("RI", 160, "0");
    driver::TYPE("RI", 165, "20");
    EZ_SETTEXT("RI", 310, "First line\nSecond line");
    driver::CLICK("RI", 225);
    driver::CLICK("RI", 245);
    driver::CLICK("RI", 320);
    check(!EZ_FORMEXISTS("RI"), "Exit closed the calculator");
    return failures;
});

const bool comesBack = registerSession("comes-back-then-off", [] {
    startProgram();
    check(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105), "remembering is on");
    check(EZ_GETTEXT("RI", 135) == "Main Street Motors", "customer: " + EZ_GETTEXT("RI", 135));
    check(EZ_GETTEXT("RI", 140) == "Pat Kelly", "salesrep");
    check(EZ_GETTEXT("RI", 145) == "$1,000.00", "budget: " + EZ_GETTEXT("RI", 145));
    check(EZ_GETTEXT("RI", 150) == "7.0", "return");
    check(EZ_GETTEXT("RI", 160) == "", "average sale of 0: " + EZ_GETTEXT("RI", 160));
    check(EZ_GETCHECK("RI", 225) == 1 && EZ_GETCHECK("RI", 245) == 1, "two ticks");
    check(EZ_GETCHECK("RI", 235) == 0, "third row clear");
    check(EZ_GETTEXT("RI", 310) == "First line\nSecond line", "comment: " + EZ_GETTEXT("RI", 310));
    check(EZ_GETTEXT("RI", 345) == "$1,070.00", "results follow the restored inputs");
    check(toggle(9105) == "Status Change|Storing of current client information is now OFF.", "OFF notice");
    driver::TYPE("RI", 135, " and more");
    driver::CLOSEBOX("RI");
    return failures;
});

TEST(RememberedClient, ComesBackAfterARestartAndStaysWhenTheOptionIsOff) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string ini = QDir(folder.path()).filePath("Tarvex.ini").toStdString();
    WRITEINI(ini, "Stations", "Calls", "WAAA,WBBB,WCCC,,,,,");
    WRITEINI(ini, "Stations", "Cume", "10000,5000,2500,0,0,0,0,0");

    ASSERT_EQ(runSessionIn(folder.path().toStdString(), "type-and-close"), 0);
    EXPECT_EQ(GETINI(ini, "Options", "Recall"), "1");
    EXPECT_EQ(GETINI(ini, "Info", "1"), "Main Street Motors");
    EXPECT_EQ(GETINI(ini, "Info", "3"), "1000.00");
    EXPECT_EQ(GETINI(ini, "Info", "8"), "1");
    EXPECT_EQ(GETINI(ini, "Info", "9"), "0");
    EXPECT_EQ(GETINI(ini, "Info", "10"), "1");

    ASSERT_EQ(runSessionIn(folder.path().toStdString(), "comes-back-then-off"), 0);
    EXPECT_EQ(GETINI(ini, "Options", "Recall"), "0");
    EXPECT_EQ(GETINI(ini, "Info", "1"), "Main Street Motors");
}

}  // namespace
