// The calculation reached through the calculator window, as a user types.
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "stations/tables.h"
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

TEST_F(CalculatorTest, ResultsFollowEveryKeystrokeAndKeepWhatIsNotComputed) {
    StationCume[0] = "10000";
    typeWorkedExample();
    // Emptying the average sale keeps the sales figure an earlier run wrote.
    EZ_SETTEXT("RI", 160, "");
    EXPECT_EQ(EZ_GETTEXT("RI", 355), "21.40");
    EXPECT_EQ(EZ_GETTEXT("RI", 215), "107.0");
    // The closing ratio at 0 empties every share.
    EZ_SETTEXT("RI", 165, "0");
    EXPECT_EQ(EZ_GETTEXT("RI", 215), "0");
    EXPECT_EQ(EZ_GETTEXT("RI", 230), "");
    EXPECT_EQ(driver::TOOLTIP("RI", 230), "");
    // No margin: sales and responses are 0, the gross return keeps its text.
    EZ_SETTEXT("RI", 155, "");
    EXPECT_EQ(EZ_GETTEXT("RI", 355), "0");
    EXPECT_EQ(EZ_GETTEXT("RI", 350), "$2,140.00");
}

TEST_F(CalculatorTest, LeavingFieldsReformatsThem) {
    driver::TYPE("RI", 150, "7%");
    driver::TYPE("RI", 145, "");
    driver::FOCUS("RI", 155);
    EXPECT_EQ(EZ_GETTEXT("RI", 150), "7.0");
    EXPECT_EQ(EZ_GETTEXT("RI", 145), "$.00");
    driver::FOCUS("RI", 160);
    EXPECT_EQ(EZ_GETTEXT("RI", 155), ".0");
    driver::TYPE("RI", 160, "-1234");
    driver::FOCUS("RI", 135);
    EXPECT_EQ(EZ_GETTEXT("RI", 160), "-$1,234.00");
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

TEST_F(CalculatorTest, PrintNeedsAllSevenInputsAndATickedStation) {
    const int32_t inputs[] = {135, 140, 145, 150, 155, 160, 165};
    for (int32_t id : inputs) EZ_SETTEXT("RI", id, "5");
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
    EZ_SHOWC("RI", 295, 0);
    EZ_SETCHECK("RI", 295, 1);
    EZ_SETTEXT("RI", 140, "6");  // a hidden row's tick counts
    EXPECT_TRUE(EZ_ISENABLED("RI", 315));
    EZ_SETCHECK("RI", 295, 0);
    EZ_SETTEXT("RI", 140, "7");
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
    driver::CLICK("RI", 225);
    EXPECT_TRUE(EZ_ISENABLED("RI", 315));
    EZ_SETTEXT("RI", 140, "   ");
    EXPECT_FALSE(EZ_ISENABLED("RI", 315));
}

}  // namespace
