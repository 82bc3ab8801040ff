// The calculation reached through the calculator window, as a user types.

#include <QFile>

#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "common/globals.h"
#include "common/help.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "update/addresses.h"

namespace {

TEST_F(CalculatorTest, WorkedExampleTypedIntoTheWindow) {
    StationCume[0] = "10000";
    typeWorkedExample();
    EXPECT_EQ(EZ_GETTEXT("RI", RI::BUDGET), "$1,000.00");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::ROI), "7.0");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::MARGIN), "50.0");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::AVERAGE_SALE), "$100.00");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::CLOSING_RATIO), "20.0");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::NET_RETURN), "$1,070.00");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::GROSS_RETURN), "$2,140.00");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::SALES), "21.40");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::RESPONSES), "107.0");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::SHARELABEL(1)), "01.070");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::SHARELABEL(2)), "");
    EXPECT_EQ(driver::TOOLTIP("RI", RI::SHARELABEL(1)), "1 response from every 93 listeners.");
}

// A figure that cannot be computed is empty, never the last one; "Print" waits for it and the
// status bar says which input stops it.
TEST_F(CalculatorTest, FiguresThatCannotBeComputedAreEmptyAndStopPrint) {
    StationCalls[0] = "WAAA";
    StationCume[0] = "10000";
    SHOWSTATIONS();
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    driver::TYPE("RI", RI::SALESREP, "Pat Kelly");
    typeWorkedExample();
    driver::CLICK("RI", RI::TICKBOX(1));
    driver::FOCUS("RI", RI::CUSTOMER);
    const std::string notice = EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1);
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
        EXPECT_EQ(EZ_GETTEXT("RI", RI::NET_RETURN), "$1,070.00");
        EXPECT_EQ(EZ_GETTEXT("RI", RI::GROSS_RETURN), c.gross);
        EXPECT_EQ(EZ_GETTEXT("RI", RI::SALES), c.sales);
        EXPECT_EQ(EZ_GETTEXT("RI", RI::RESPONSES), c.responses);
        EXPECT_EQ(EZ_GETTEXT("RI", RI::SHARELABEL(1)), "");
        EXPECT_EQ(driver::TOOLTIP("RI", RI::SHARELABEL(1)), "");
        EXPECT_FALSE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
        EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), c.status);
        retype(c.field, typed);
        EXPECT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
        EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), notice);
        EXPECT_EQ(EZ_GETTEXT("RI", RI::SHARELABEL(1)), "01.070");
    }
}

// A field left is shown as the figures read it; what the reader ignored of a typed figure stays
// in the status bar, while other fields change, until its own field changes.
TEST_F(CalculatorTest, LeavingFieldsReformatsThemAndSaysWhatWasIgnored) {
    const std::string standing = EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1);
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
        driver::FOCUS("RI", RI::CUSTOMER);
        EXPECT_EQ(EZ_GETTEXT("RI", c.field), c.shown);
        const std::string notice = *c.notice ? c.notice : standing;
        EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), notice);
        driver::TYPE("RI", RI::CUSTOMER, "x");
        EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), notice);
        driver::PRESS("RI", c.field, "End");
        driver::PRESS("RI", c.field, "Backspace");
        EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), standing);
        driver::FOCUS("RI", RI::CUSTOMER);
        EZ_SETTEXT("RI", c.field, "");
    }
}

TEST_F(CalculatorTest, EnterMovesOnAndEscapeChangesNothing) {
    driver::TYPE("RI", RI::BUDGET, "12");
    driver::PRESS("RI", RI::BUDGET, "Escape");
    EXPECT_EQ(EZ_GETFOCUS("RI"), 145);
    EXPECT_EQ(EZ_GETTEXT("RI", RI::BUDGET), "12");
    EXPECT_TRUE(EZ_FORMEXISTS("RI"));
    driver::PRESS("RI", RI::BUDGET, "Enter");
    EXPECT_EQ(EZ_GETFOCUS("RI"), 150);
    EXPECT_EQ(EZ_GETTEXT("RI", RI::BUDGET), "$12.00");
}

// Once the inputs are filled, the status bar says what "Print" waits for.
TEST_F(CalculatorTest, PrintNeedsAllSevenInputsAndATickedStation) {
    const std::string standing = EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1);
    const int32_t inputs[] = {135, 140, 145, 150, 155, 160, 165};
    for (int32_t id : inputs) EZ_SETTEXT("RI", id, "5");
    EXPECT_FALSE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1),
              " \"Print\" waits for a station: add your stations with Tarvex, Stations.");
    // A tick on a row without a station (hidden) does not count, one on a shown row does.
    EZ_SETCHECK("RI", RI::TICKBOX(8), 1);
    EZ_SETTEXT("RI", RI::SALESREP, "6");
    EXPECT_FALSE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    EZ_SETCHECK("RI", RI::TICKBOX(8), 0);
    StationCalls[0] = "WAAA";
    StationCume[0] = "100";
    SHOWSTATIONS();
    EZ_SETTEXT("RI", RI::SALESREP, "7");
    EXPECT_FALSE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1),
              " \"Print\" waits for a ticked station: tick the stations the schedule runs on.");
    driver::CLICK("RI", RI::TICKBOX(1));
    EXPECT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    driver::FOCUS("RI", RI::CUSTOMER);
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), standing);
    EZ_SETTEXT("RI", RI::SALESREP, "   ");
    EXPECT_FALSE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 1), standing);
}

}  // namespace

namespace {

void fillEverything() {
    StationCalls[0] = "WAAA";
    StationCume[0] = "10000";
    SHOWSTATIONS();
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    driver::TYPE("RI", RI::SALESREP, "Pat / WAAA");
    typeWorkedExample();
    driver::TYPE("RI", RI::COMMENTS, "Call back Friday");
    driver::CLICK("RI", RI::TICKBOX(1));
}

TEST_F(CalculatorTest, ClearAnsweredNoChangesNothing) {
    fillEverything();
    ASSERT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    Boxes boxes({clickButton(2)});
    driver::CLICK("RI", RI::CLEAR_BUTTON);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].all(), "Clear This Form?|Remove all information on this form?|Are you SURE?");
    EXPECT_EQ(boxes.shown[0].focus, 12);  // No is the default
    EXPECT_EQ(EZ_GETTEXT("RI", RI::CUSTOMER), "Main Street Motors");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::BUDGET), "$1,000.00");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::COMMENTS), "Call back Friday");
    EXPECT_EQ(EZ_GETCHECK("RI", RI::TICKBOX(1)), 1);
    EXPECT_EQ(EZ_GETTEXT("RI", RI::SHARELABEL(1)), "01.070");
    EXPECT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
}

TEST_F(CalculatorTest, ClearAnsweredYesEmptiesInputsCommentsAndTicks) {
    fillEverything();
    Boxes boxes({clickButton(1)});
    driver::CLICK("RI", RI::CLEAR_BUTTON);
    EXPECT_EQ(boxes.shown.size(), 1u);
    for (int32_t id = 135; id <= 165; id += 5) EXPECT_EQ(EZ_GETTEXT("RI", id), "") << id;
    EXPECT_EQ(EZ_GETCHECK("RI", RI::TICKBOX(1)), 0);
    EXPECT_FALSE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    EXPECT_EQ(EZ_GETTEXT("RI", RI::COMMENTS), "");
    EXPECT_EQ(EZ_GETTEXT("RI", RI::NET_RETURN), "$.00");
    for (int32_t id : {350, 355, 215, 230}) EXPECT_EQ(EZ_GETTEXT("RI", id), "") << id;
    EXPECT_EQ(EZ_GETTEXT("RI", RI::TICKBOX(1)), "WAAA");
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
        EXPECT_EQ(helpShownAfter([] { driver::PRESS("RI", RI::CUSTOMER, "F1"); }), page) << "F1 over " << id;
        driver::HOVER("RI", 0);
        driver::FOCUS("RI", id);
        if (EZ_GETFOCUS("RI") != id) continue;
        EXPECT_EQ(helpShownAfter([] { driver::PRESS("RI", EZ_GETFOCUS("RI"), "F1"); }), page) << "F1 in " << id;
    }
    driver::HOVER("RI", RI::PRINT_BUTTON);
    EXPECT_EQ(helpShownAfter([] { driver::CLICK("RI", RI::HELP_BUTTON); }), "/calculator.htm");
    EXPECT_EQ(helpShownAfter([] { driver::CHOOSEMENU("RI", RI::MENU_CONTENTS); }), "/getting_started.htm");
}

TEST_F(CalculatorTest, StationRowsFollowTheTables) {
    StationCalls = {"WAAA", "WBBB", "", "WDDD", "", "", "", ""};
    StationCume = {"900", "0", "", "abc", "", "", "", "12"};
    SHOWSTATIONS();
    EXPECT_TRUE(EZ_ISVISIBLE("RI", RI::TICKBOX(1)));
    EXPECT_TRUE(EZ_ISVISIBLE("RI", RI::SHARELABEL(1)));
    EXPECT_EQ(EZ_GETTEXT("RI", RI::TICKBOX(1)), "WAAA");
    EXPECT_FALSE(EZ_ISVISIBLE("RI", RI::TICKBOX(2)));
    EXPECT_FALSE(EZ_ISVISIBLE("RI", RI::SHARELABEL(2)));
    EXPECT_FALSE(EZ_ISVISIBLE("RI", RI::TICKBOX(4)));
    EXPECT_TRUE(EZ_ISVISIBLE("RI", RI::TICKBOX(8)));
    EXPECT_EQ(EZ_GETTEXT("RI", RI::TICKBOX(8)), "");
}

// With no settings file remembering is off and the automatic check on (here against a closed port).
TEST_F(ProgramTest, MenusCaptionsAndStatusBar) {
    QFile::remove(path("Tarvex.ini"));
    VersionFileUrl = "http://127.0.0.1:9/TarvexVersion.txt";
    EZ_RI_Display("");
    driver::SETTLE();
    EXPECT_EQ(EZ_GETTEXT("RI", 0), "Tarvex");
    EXPECT_EQ(EZ_GETSBTEXT("RI", RI::STATUS_BAR, 2), "\tVersion: " TARVEX_VERSION_TEXT);
    EXPECT_FALSE(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9105));
    EXPECT_TRUE(EZ_MENUCHECKED(EZ_GETMENU("RI", 2), 9110));
    driver::CHOOSEMENU("RI", RI::MENU_EXIT);
    EXPECT_FALSE(EZ_FORMEXISTS("RI"));
}

// Only the lowest bit of the stored option, rounded to a whole number, counts.
TEST_F(ProgramTest, StoredOptionsCountByTheLowestBitOfTheRoundedNumber) {
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
}

}  // namespace
