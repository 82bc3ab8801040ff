// Design requests and events reach only the form they name.
#include <map>

#include "app/routing.h"
#include "calc/calculator_ids.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "stations/tables.h"
#include "tests/support/fixture.h"

namespace {

std::map<int32_t, std::string> calculatorTexts() {
    std::map<int32_t, std::string> texts;
    for (int32_t id = 135; id <= 355; id += 5) texts[id] = EZ_GETTEXT("RI", id);
    return texts;
}

TEST_F(CalculatorTest, UnknownFormsAndPseudoFormsChangeNothing) {
    StationCume[0] = "10000";
    EZ_SETTEXT("RI", RI::BUDGET, "1000");
    EZ_SETTEXT("RI", RI::ROI, "7");
    auto before = calculatorTexts();
    const char* names[] = {"XX", "ri", "RI ", "", "{APP}", "{MSGBOX}", "{OPENDLG}", "{PRINTDLG}"};
    const int32_t messages[] = {0, 1, 3, 4, 6, 8, 30, 85, 86, 87, 130, 300};
    for (const char* name : names) {
        EZ_DESIGN(name);
        for (int32_t message : messages) {
            for (int32_t id : {0, 145, 320, 911}) {
                int32_t control = id, msg = message, value = 13, cancel = 0;
                EZ_EVENTS(name, control, msg, value, cancel);
                EXPECT_EQ(value, 13);
                EXPECT_EQ(cancel, 0);
            }
        }
    }
    driver::SETTLE();
    EXPECT_EQ(calculatorTexts(), before);
    EXPECT_TRUE(EZ_FORMEXISTS("RI"));
    EXPECT_EQ(EZ_CURRENTFORM(), "RI");
}

TEST_F(CalculatorTest, CalculatorEventsReachTheCalculator) {
    int32_t id = 145, message = 30, value = 13, cancel = 0;
    EZ_EVENTS("RI", id, message, value, cancel);
    EXPECT_EQ(value, 9);
    id = 320, message = 1, value = 0;
    EZ_EVENTS("RI", id, message, value, cancel);
    driver::SETTLE();
    EXPECT_FALSE(EZ_FORMEXISTS("RI"));
}

}  // namespace
