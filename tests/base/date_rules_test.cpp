// Day numbers, date texts and the build date's text.
#include "base/date_rules.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <limits>

#include "platform/local_date.h"
#include "util/dates.h"

namespace {

int32_t day(const std::string& text, const std::string& order = "MDY") {
    return DAYNUMBER(text, order).value_or(0);
}

TEST(DateRules, DayNumbersOfKnownDates) {
    EXPECT_EQ(JULIANDATE(1, 1, 2000), 2451545);
    EXPECT_EQ(day("1-1-2000"), 2451545);
    EXPECT_EQ(day("2000/1/1", "YMD"), 2451545);
    EXPECT_EQ(day("01/01/2000"), 2451545);
    EXPECT_EQ(day("1/1-2000"), 2451545);
    EXPECT_EQ(day("12-31-1999"), 2451544);
    EXPECT_EQ(day("3-1-2024") - day("2-29-2024"), 1);
    EXPECT_EQ(day("2-28-2023") + 1, day("3-1-2023"));
    EXPECT_EQ(day("12-6-2026") + 10, day("12-16-2026"));
    EXPECT_EQ(day("12-17-2026") - day("12-6-2026"), 11);
    // Month 13 is not refused: it is January of the next year.
    EXPECT_EQ(day("13-1-2024"), day("1-1-2025"));
    EXPECT_EQ(day("1-32-2024"), day("2-1-2024"));
    // The year is used as written: 24 is the year 24.
    EXPECT_EQ(day("1-1-2024") - day("1-1-24"), 730485);
    EXPECT_EQ(JULIANDATE(10, 15, 1582), 2299161);
}

// FIX truncates toward zero; rounding down would give each of these one day more or less.
TEST(DateRules, TruncationTowardZeroForNegativeYearsAndMonths) {
    EXPECT_EQ(JULIANDATE(1, 1, -4801), -32468);
    EXPECT_EQ(JULIANDATE(-1, 1, 2000), 2451484);
    EXPECT_EQ(JULIANDATE(-13, 5, 2000), 2451123);
    EXPECT_EQ(JULIANDATE(3, 1, -4901), -68934);
    // Far outside any calendar the formula neither overflows nor wraps.
    EXPECT_EQ(JULIANDATE(1, 1, std::numeric_limits<int32_t>::max()), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(JULIANDATE(1, 1, std::numeric_limits<int32_t>::min()), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(JULIANDATE(std::numeric_limits<int32_t>::min(), 0, 0), std::numeric_limits<int32_t>::min());
}

TEST(DateRules, FieldsAreReadAsNumbersAndZeroIsInvalid) {
    EXPECT_FALSE(DAYNUMBER("0-5-2024", "MDY"));
    EXPECT_FALSE(DAYNUMBER("x-5-2024", "MDY"));
    EXPECT_FALSE(DAYNUMBER("5-2024", "MDY"));
    EXPECT_FALSE(DAYNUMBER("5--2024", "MDY"));
    EXPECT_FALSE(DAYNUMBER("", "MDY"));
    EXPECT_FALSE(DAYNUMBER("1-1-2000", "DMY"));
    // Each field is read by the number reader: leading blanks skipped, the rest after a number ignored.
    EXPECT_EQ(day(" 5th- 22nd-2023 AD"), day("5-22-2023"));
    EXPECT_EQ(day("5-22-2023-extra-fields"), day("5-22-2023"));
    // Halves round to the even neighbour: 1.5 and 2.5 are both month 2.
    EXPECT_EQ(day("1.5-1-2000"), day("2-1-2000"));
    EXPECT_EQ(day("2.5-1-2000"), day("2-1-2000"));
    EXPECT_EQ(day("3.5-1-2000"), day("4-1-2000"));
    // 0.4 is not 0, so it is no invalid field; it rounds to month 0, December before.
    EXPECT_EQ(day("0.4-1-2000"), day("12-1-1999"));
}

TEST(DateRules, SeparatorsSwitchInPlace) {
    std::string text = "05/22/2023";
    EXPECT_EQ(FORMATDATE(text, 0), "05-22-2023");
    EXPECT_EQ(text, "05-22-2023");
    EXPECT_EQ(FORMATDATE(text, 1), "05/22/2023");
    EXPECT_EQ(text, "05/22/2023");
    std::string mixed = "1-2/3";
    EXPECT_EQ(FORMATDATE(mixed, 7), "1/2/3");
    EXPECT_EQ(TODAYTEXT(2026, 12, 8), "12-08-2026");
}

TEST(DateRules, BuildDateTextFromTheLocalesShortDate) {
    EXPECT_EQ(BUILDDATETEXT("5/22/2023", 2023, 5, 22), "05/22/2023");
    EXPECT_EQ(BUILDDATETEXT("12/8/2026", 2026, 12, 8), "12/08/2026");
    EXPECT_EQ(BUILDDATETEXT("5/22/23", 2023, 5, 22), "05/22/0023");
    // The locale's order is kept, as it is the order its user reads.
    EXPECT_EQ(BUILDDATETEXT("22/05/2023", 2023, 5, 22), "22/05/2023");
    // Short dates that are not three numbers between slashes give month, day and year.
    EXPECT_EQ(BUILDDATETEXT("22 May 2023", 2023, 5, 22), "05/22/2023");
    EXPECT_EQ(BUILDDATETEXT("22.05.23", 2023, 5, 22), "05/22/2023");
    EXPECT_EQ(BUILDDATETEXT("2023-05-22", 2023, 5, 22), "05/22/2023");
    EXPECT_EQ(BUILDDATETEXT("5/22", 2023, 5, 22), "05/22/2023");
    EXPECT_EQ(BUILDDATETEXT("", 2023, 5, 22), "05/22/2023");
}

// The date of the stamp the build fixed, as MM/DD/YYYY, and checks of the stamp itself.
std::string stampDate(int32_t& year, int32_t& month, int32_t& dayOfMonth) {
    OS_STAMPDATE(OS_BUILDSTAMP(), year, month, dayOfMonth);
    return QDate(year, month, dayOfMonth).toString("MM/dd/yyyy").toStdString();
}

TEST(DateRules, BuildDateFollowsTheLocale) {
    int32_t year = 0, month = 0, dayOfMonth = 0;
    const std::string expected = stampDate(year, month, dayOfMonth);
    const int64_t seconds = OS_BUILDSTAMP() / 10000000 - 11644473600;
    EXPECT_GT(seconds, QDateTime(QDate(2026, 1, 1), QTime(0, 0)).toSecsSinceEpoch());
    EXPECT_LE(seconds, QDateTime::currentSecsSinceEpoch());

    QLocale::setDefault(QLocale("en_US"));
    EXPECT_EQ(OS_SHORTDATE(2023, 5, 22), "5/22/2023");
    EXPECT_EQ(GETBUILDDATE(), expected);
    QLocale::setDefault(QLocale("en_GB"));
    EXPECT_EQ(GETBUILDDATE(), QDate(year, month, dayOfMonth).toString("dd/MM/yyyy").toStdString());
    QLocale::setDefault(QLocale("de_DE"));
    EXPECT_EQ(OS_SHORTDATE(2023, 5, 22), "22.05.2023");
    EXPECT_EQ(GETBUILDDATE(), expected);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(GETBUILDDATE(), expected);
}

}  // namespace
