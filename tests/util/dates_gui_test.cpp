// The date routines as the program meets them: the "Invalid Date" notice and today's date.
#include <QDate>

#include "gui/ezgui.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "util/dates.h"

namespace {

class DatesTest : public HostFormTest {
protected:
    // The day number, and the notice shown meanwhile ("" when none), answered with its OK.
    int32_t julian(const std::string& text, std::string order, std::string& notice) {
        Boxes boxes({clickButton(1)});
        const int32_t number = Date2JulianDate(text, order);
        notice = boxes.shown.empty()
                     ? ""
                     : boxes.shown[0].title + "|" + boxes.shown[0].text1 + "|" + boxes.shown[0].buttons;
        return number;
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
