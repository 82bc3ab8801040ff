// The calculator for keyboard and screen-reader users: names and the order of the Tab key.
#include <vector>

#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/fixture.h"

namespace {

TEST_F(CalculatorTest, BoxesAreNamedByTheirCaptions) {
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", 135), "Customer:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", 160), "Average Sale:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", 345), "Net Return on Investment:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", 215), "Total Responses Needed:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", 310), "Comments:");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", 245), "Station 3");
    EXPECT_EQ(driver::ACCESSIBLENAME("RI", 250), "Share of station 3");
}

TEST_F(CalculatorTest, TabFollowsTheOrderOfCreation) {
    StationCume[1] = "500";
    SHOWSTATIONS();
    driver::FOCUS("RI", 135);
    std::vector<int32_t> order{EZ_GETFOCUS("RI")};
    for (int i = 0; i < 13; ++i) {
        driver::PRESS("RI", 0, "Tab");
        order.push_back(EZ_GETFOCUS("RI"));
    }
    // Result boxes are skipped, so are hidden rows and the disabled "Print".
    const std::vector<int32_t> expected{135, 140, 145, 150, 155, 160, 165, 235, 310, 320, 325, 330, 135, 140};
    EXPECT_EQ(order, expected);
}

}  // namespace
