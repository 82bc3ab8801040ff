// The date routines as the program meets them: the "Invalid Date" notice and today's date.
#include <QDate>

#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "tests/support/fixture.h"
#include "util/dates.h"

namespace {

const std::string kBox = "DGMSGBOX1";

class DatesTest : public testing::Test {
protected:
    void SetUp() override {
        EZ_FORM("HOST", "", "Host", 0, 0, 40, 20, "C");
        driver::SETTLE();
    }
    void TearDown() override { closeAllForms(); }

    // The day number, and the notice shown meanwhile ("" when none), answered with its OK.
    int32_t julian(const std::string& text, std::string order, std::string& notice) {
        notice.clear();
        auto answer = driver::WHENOPEN(
            kBox,
            [&] {
                notice = EZ_GETTEXT(kBox, 0) + "|" + EZ_GETTEXT(kBox, 5) + "|" + EZ_GETTEXT(kBox, 11);
                driver::CLICK(kBox, 11);
            },
            1500);
        return Date2JulianDate(text, order);
    }
};

TEST_F(DatesTest, InvalidDatesAreReportedAndGiveZero) {
    std::string notice;
    for (const char* text : {"0-5-2024", "May-5-2024", "5-2024", "5/0/2024"}) {
        EXPECT_EQ(julian(text, "MDY", notice), 0) << text;
        EXPECT_EQ(notice, "Invalid Date|Date values in Date2JulianDate are invalid.|&OK") << text;
    }
    EXPECT_EQ(julian("2000/1/1", "YMD", notice), 2451545);
    EXPECT_EQ(notice, "");
    EXPECT_EQ(julian("13-1-2024", "MDY", notice), julian("1-1-2025", "MDY", notice));
    EXPECT_EQ(notice, "");
}

TEST_F(DatesTest, AnEmptyTextIsTodayInMonthDayYearOrder) {
    std::string order = "YMD";
    const QDate today = QDate::currentDate();
    int32_t number = Date2JulianDate("", order);
    EXPECT_EQ(order, "MDY");
    EXPECT_EQ(number, JULIANDATE(today.month(), today.day(), today.year()));
    EXPECT_EQ(number, static_cast<int32_t>(today.toJulianDay()));
}

}  // namespace
