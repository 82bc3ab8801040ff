// The calculation reached through the calculator window, as a user types.
#include <QDir>
#include <QTemporaryDir>

#include "calc/calculator_form.h"
#include "common/globals.h"
#include "common/help.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"

namespace {

void typeWorkedExample() {
    driver::TYPE("RI", 145, "1000");
    driver::TYPE("RI", 150, "7");
    driver::TYPE("RI", 155, "50");
    driver::TYPE("RI", 160, "100");
    driver::TYPE("RI", 165, "20");
    driver::FOCUS("RI", 135);
}

TEST_F(CalculatorTest, WorkedExampleTypedIntoTheWindow) {
    StationCume[0] = "10000";
    typeWorkedExample();
    EXPECT_EQ(EZ_GETTEXT("RI", 145), "$1,000.00");
    EXPECT_EQ(EZ_GETTEXT("RI", 150), "7.0");
    EXPECT_EQ(EZ_GETTEXT("RI", 155), "50.0");
    EXPECT_EQ(EZ_GETTEXT("RI", 160), "$100.00");
    EXPECT_EQ(EZ_GETTEXT("RI", 165), "20.0");
    EXPECT_EQ(EZ_GETTEXT("RI", 345), "$1,070.00");
    EXPECT_EQ(EZ_GETTEXT("RI", 350), "$2,140.00");
    EXPECT_EQ(EZ_GETTEXT("RI", 355), "21.40");
    EXPECT_EQ(EZ_GETTEXT("RI", 215), "107.0");
    EXPECT_EQ(EZ_GETTEXT("RI", 230), "01.070");
    EXPECT_EQ(EZ_GETTEXT("RI", 240), "");
    EXPECT_EQ(driver::TOOLTIP("RI", 230), "1 response from every 93 listeners.");
}

// A figure that cannot be computed is empty, never the last one; "Print" waits for it and the
// status bar says which input stops it.
TEST_F(CalculatorTest, FiguresThatCannotBeComputedAreEmptyAndStopPrint) {
    StationCalls[0] = "WAAA";
    StationCume[0] = "10000";
    SHOWSTATIONS();
    driver::TYPE("RI", 135, "Main Street Motors");
    driver::TYPE("RI", 140, "Pat Kelly");
    typeWorkedExample();
    driver::CLICK("RI", 225);
    driver::FOCUS("RI", 135);
    const std::string notice = EZ_GETSBTEXT("RI", 370, 1);
    const struct {
        int32_t field;
        const char* typed;
        const char *gross, *sales, *responses, *status;
    } cases[] = {
        {155, "0", "", "", "", " Profit Margin must be above 0 to compute the gross return."},
        {155, "-5", "", "", "", " Profit Margin must be above 0 to compute the gross return."},
        {160, "0", "$2,140.00", "", "",
         " Average Sale must give a profit of at least $.01 to compute the number of sales."},
        {165, "0", "$2,140.00", "21.40", "", " Closing Ratio must be above 0 to compute the responses needed."},
    };
    const auto retype = [](int32_t field, const std::string& text) {
        driver::FOCUS("RI", field);
        EZ_SETTEXT("RI", field, "");
        driver::TYPE("RI", field, text);
    };
    for (const auto& c : cases) {
        const std::string typed = EZ_GETTEXT("RI", c.field);
        retype(c.field, c.typed);
        SCOPED_TRACE(std::to_string(c.field) + " " + c.typed);
        EXPECT_EQ(EZ_GETTEXT("RI", 345), "$1,070.00");
        EXPECT_EQ(EZ_GETTEXT("RI", 350), c.gross);
        EXPECT_EQ(EZ_GETTEXT("RI", 355), c.sales);
        EXPECT_EQ(EZ_GETTEXT("RI", 215), c.responses);
        EXPECT_EQ(EZ_GETTEXT("RI", 230), "");
        EXPECT_EQ(driver::TOOLTIP("RI", 230), "");
        EXPECT_FALSE(EZ_ISENABLED("RI", 315));
        EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1), c.status);
        retype(c.field, typed);
        EXPECT_TRUE(EZ_ISENABLED("RI", 315));
        EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1), notice);
        EXPECT_EQ(EZ_GETTEXT("RI", 230), "01.070");
    }
}

// A field left is shown as the figures read it; what the reader ignored of a typed figure stays
// in the status bar, while other fields change, until its own field changes.
TEST_F(CalculatorTest, LeavingFieldsReformatsThemAndSaysWhatWasIgnored) {
    const std::string standing = EZ_GETSBTEXT("RI", 370, 1);
    const struct {
        int32_t field;
        const char *typed, *shown, *notice;
    } cases[] = {
        {145, "12 500", "$12,500.00", ""},
        {160, "1.2M", "$1,200,000.00", ""},
        {145, "", "$.00", ""},
        {145, "12.5x", "$12.50", " Read \"12.5x\" as $12.50; the rest was ignored."},
        {160, "abc", "$.00", " No figure in \"abc\"; it counts as $.00."},
        {165, "0.05", "0.05", ""},
        {155, "7.1234", "7.123", ""},
        {150, "7,5", "7.0", " Read \"7,5\" as 7.0%; the rest was ignored."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        driver::FOCUS("RI", c.field);
        EZ_SETTEXT("RI", c.field, "");
        driver::TYPE("RI", c.field, c.typed);
        driver::FOCUS("RI", 135);
        EXPECT_EQ(EZ_GETTEXT("RI", c.field), c.shown);
        const std::string notice = *c.notice ? c.notice : standing;
        EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1), notice);
        driver::TYPE("RI", 135, "x");
        EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1), notice);
        driver::PRESS("RI", c.field, "End");
        driver::PRESS("RI", c.field, "Backspace");
        EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1), standing);
        driver::FOCUS("RI", 135);
        EZ_SETTEXT("RI", c.field, "");
    }
}

TEST_F(CalculatorTest, EnterMovesOnAndEscapeChangesNothing) {
    driver::TYPE("RI", 145, "12");
    driver::PRESS("RI", 145, "Escape");
    EXPECT_EQ(EZ_GETFOCUS("RI"), 145);
    EXPECT_EQ(EZ_GETTEXT("RI", 145), "12");
    EXPECT_TRUE(EZ_FORMEXISTS("RI"));
    driver::PRESS("RI", 145, "Enter");
    EXPECT_EQ(EZ_GETFOCUS("RI"), 150);
    EXPECT_EQ(EZ_GETTEXT("RI", 145), "$12.00");
}

// Once the inputs are filled, the status bar says what "Print" waits for.
TEST_F(CalculatorTest, PrintNeedsAllSevenInputsAndATickedStation) {
    const std::string standing = EZ_GETSBTEXT("RI", 370, 1);
    const int32_t inputs[] = {135, 140, 145, 150, 155, 160, 165};
    for (int32_t id : inputs) EZ_SETTEXT("RI", id, "5");
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
    EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1),
              " \"Print\" waits for a station: add your stations with Tarvex, Stations.");
    // A tick on a row without a station (hidden) does not count, one on a shown row does.
    EZ_SETCHECK("RI", 295, 1);
    EZ_SETTEXT("RI", 140, "6");
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
    EZ_SETCHECK("RI", 295, 0);
    StationCalls[0] = "WAAA";
    StationCume[0] = "100";
    SHOWSTATIONS();
    EZ_SETTEXT("RI", 140, "7");
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
    EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1),
              " \"Print\" waits for a ticked station: tick the stations the schedule runs on.");
    driver::CLICK("RI", 225);
    EXPECT_TRUE(EZ_ISENABLED("RI", 315));
    driver::FOCUS("RI", 135);
    EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1), standing);
    EZ_SETTEXT("RI", 140, "   ");
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
    EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 1), standing);
}

}  // namespace

namespace {

void fillEverything() {
    StationCalls[0] = "WAAA";
    StationCume[0] = "10000";
    SHOWSTATIONS();
    driver::TYPE("RI", 135, "Main Street Motors");
    driver::TYPE("RI", 140, "Pat / WAAA");
    typeWorkedExample();
    driver::TYPE("RI", 310, "Call back Friday");
    driver::CLICK("RI", 225);
}

TEST_F(CalculatorTest, ClearAnsweredNoChangesNothing) {
    fillEverything();
    ASSERT_TRUE(EZ_ISENABLED("RI", 315));
    Boxes boxes({clickButton(2)});
    driver::CLICK("RI", 330);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].all(), "Clear This Form?|Remove all information on this form?|Are you SURE?");
    EXPECT_EQ(boxes.shown[0].focus, 12);  // No is the default
    EXPECT_EQ(EZ_GETTEXT("RI", 135), "Main Street Motors");
    EXPECT_EQ(EZ_GETTEXT("RI", 145), "$1,000.00");
    EXPECT_EQ(EZ_GETTEXT("RI", 310), "Call back Friday");
    EXPECT_EQ(EZ_GETCHECK("RI", 225), 1);
    EXPECT_EQ(EZ_GETTEXT("RI", 230), "01.070");
    EXPECT_TRUE(EZ_ISENABLED("RI", 315));
}

TEST_F(CalculatorTest, ClearAnsweredYesEmptiesInputsCommentsAndTicks) {
    fillEverything();
    Boxes boxes({clickButton(1)});
    driver::CLICK("RI", 330);
    EXPECT_EQ(boxes.shown.size(), 1u);
    for (int32_t id = 135; id <= 165; id += 5) EXPECT_EQ(EZ_GETTEXT("RI", id), "") << id;
    EXPECT_EQ(EZ_GETCHECK("RI", 225), 0);
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
    EXPECT_EQ(EZ_GETTEXT("RI", 310), "");
    EXPECT_EQ(EZ_GETTEXT("RI", 345), "$.00");
    for (int32_t id : {350, 355, 215, 230}) EXPECT_EQ(EZ_GETTEXT("RI", id), "") << id;
    EXPECT_EQ(EZ_GETTEXT("RI", 225), "WAAA");
}

// Every place has a topic: F1 opens that of the control under the pointer, over the bare window
// that of the focused control; "Help" always opens the overview.
TEST_F(CalculatorTest, EveryPlaceHasTheTopicF1Opens) {
    HelpFile = TARVEX_HELP_FILE;
    StationCume[0] = "10000";
    SHOWSTATIONS();
    const std::pair<int32_t, std::string> places[] = {
        {135, "/inputs.htm"},       {100, "/inputs.htm"},       {175, "/inputs.htm"},      {190, "/inputs.htm"},
        {345, "/results.htm"},      {215, "/results.htm"},      {210, "/results.htm"},     {370, "/results.htm"},
        {225, "/station_rows.htm"}, {230, "/station_rows.htm"}, {310, "/comments.htm"},    {305, "/comments.htm"},
        {315, "/printing.htm"},     {325, "/buttons.htm"},      {330, "/buttons.htm"},     {320, "/buttons.htm"}};
    for (const auto& [id, page] : places) {
        driver::HOVER("RI", id);
        EXPECT_EQ(helpShownAfter([] { driver::PRESS("RI", 135, "F1"); }), page) << "F1 over " << id;
        driver::HOVER("RI", 0);
        driver::FOCUS("RI", id);
        if (EZ_GETFOCUS("RI") != id) continue;
        EXPECT_EQ(helpShownAfter([] { driver::PRESS("RI", EZ_GETFOCUS("RI"), "F1"); }), page) << "F1 in " << id;
    }
    driver::HOVER("RI", 315);
    EXPECT_EQ(helpShownAfter([] { driver::CLICK("RI", 325); }), "/calculator.htm");
    EXPECT_EQ(helpShownAfter([] { driver::CHOOSEMENU("RI", 9205); }), "/getting_started.htm");
}

TEST_F(CalculatorTest, StationRowsFollowTheTables) {
    StationCalls = {"WAAA", "WBBB", "", "WDDD", "", "", "", ""};
    StationCume = {"900", "0", "", "abc", "", "", "", "12"};
    SHOWSTATIONS();
    EXPECT_TRUE(EZ_ISVISIBLE("RI", 225));
    EXPECT_TRUE(EZ_ISVISIBLE("RI", 230));
    EXPECT_EQ(EZ_GETTEXT("RI", 225), "WAAA");
    EXPECT_FALSE(EZ_ISVISIBLE("RI", 235));
    EXPECT_FALSE(EZ_ISVISIBLE("RI", 240));
    EXPECT_FALSE(EZ_ISVISIBLE("RI", 255));
    EXPECT_TRUE(EZ_ISVISIBLE("RI", 295));
    EXPECT_EQ(EZ_GETTEXT("RI", 295), "");
}

TEST_F(CalculatorTest, MenusCaptionsAndStatusBar) {
    EXPECT_EQ(EZ_GETTEXT("RI", 0), "Tarvex");
    EXPECT_EQ(EZ_GETSBTEXT("RI", 370, 2), "\tVersion: " TARVEX_VERSION_TEXT);
    EXPECT_FALSE(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105));
    EXPECT_TRUE(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9110));
    driver::CHOOSEMENU("RI", 9015);
    EXPECT_FALSE(EZ_FORMEXISTS("RI"));
}

}  // namespace

namespace {

// Only the lowest bit of the stored option, rounded to a whole number, counts.
TEST(StoredOptions, LowestBitOfTheRoundedNumber) {
    QTemporaryDir folder;
    IniFile = QDir(folder.path()).filePath("Tarvex.ini").toStdString();
    const std::pair<const char*, bool> cases[] = {{"2", false}, {"3", true}, {"1.5", false}, {"abc", false},
                                                  {"1", true},  {"0", false}};
    for (const auto& [stored, on] : cases) {
        WRITEINI(IniFile, "Options", "Recall", stored);
        WRITEINI(IniFile, "Options", "AutoUpdate", stored);
        EZ_RI_Display("");
        driver::SETTLE();
        EXPECT_EQ(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105), on) << stored;
        EXPECT_EQ(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9110), on) << stored;
        closeAllForms();
    }
    IniFile.clear();
}

}  // namespace
