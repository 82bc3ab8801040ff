#include "base/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

TEST(NumberFormat, WritesTheMaskTableExactly) {
    EXPECT_EQ(FORMATNUMBER(1070.0L, "$#,.00"), "$1,070.00");
    EXPECT_EQ(FORMATNUMBER(1234567.891L, "$#,.00"), "$1,234,567.89");
    EXPECT_EQ(FORMATNUMBER(0.0L, "$#,.00"), "$.00");
    EXPECT_EQ(FORMATNUMBER(21.4L, "##.00"), "21.40");
    EXPECT_EQ(FORMATNUMBER(1234.5L, "##.00"), "1234.50");
    EXPECT_EQ(FORMATNUMBER(7.0L, "#.0"), "7.0");
    EXPECT_EQ(FORMATNUMBER(0.0L, "#.0"), ".0");
    EXPECT_EQ(FORMATNUMBER(1.07L, "0#.000"), "01.070");
    EXPECT_EQ(FORMATNUMBER(0.2L, "0#.000"), "0.200");
    EXPECT_EQ(FORMATNUMBER(12.3456L, "0#.000"), "12.346");
}

TEST(NumberFormat, GroupsIntegerDigitsInThrees) {
    EXPECT_EQ(FORMATNUMBER(123.0L, "$#,.00"), "$123.00");
    EXPECT_EQ(FORMATNUMBER(1000.0L, "$#,.00"), "$1,000.00");
    EXPECT_EQ(FORMATNUMBER(100000.0L, "$#,.00"), "$100,000.00");
    EXPECT_EQ(FORMATNUMBER(999999.999L, "$#,.00"), "$1,000,000.00");
    EXPECT_EQ(FORMATNUMBER(1000.0L, "#,#.0"), "1,000.0");
    EXPECT_EQ(FORMATNUMBER(1000.0L, "##.00"), "1000.00");
}

TEST(NumberFormat, RoundsTheDecimalExpansionHalfAwayFromZero) {
    EXPECT_EQ(FORMATNUMBER(0.25L, "#.0"), ".3");
    EXPECT_EQ(FORMATNUMBER(-0.25L, "#.0"), "-.3");
    EXPECT_EQ(FORMATNUMBER(0.05L, "#.0"), ".1");
    EXPECT_EQ(FORMATNUMBER(0.04L, "#.0"), ".0");
    EXPECT_EQ(FORMATNUMBER(2.675L, "##.00"), "2.68");
    EXPECT_EQ(FORMATNUMBER(9.995L, "##.00"), "10.00");
    EXPECT_EQ(FORMATNUMBER(999.96L, "#.0"), "1000.0");
    EXPECT_EQ(FORMATNUMBER(0.9996L, "0#.000"), "01.000");
    EXPECT_EQ(FORMATNUMBER(0.0004L, "0#.000"), "0.000");
    EXPECT_EQ(FORMATNUMBER(0.0005L, "0#.000"), "0.001");
}

TEST(NumberFormat, RoundsOnTheShortestTextOfTheValue) {
    EXPECT_EQ(FORMATNUMBER(0.35L, "#.0"), ".4");
    EXPECT_EQ(FORMATNUMBER(static_cast<long double>(0.35f), "#.0"), ".3");
    EXPECT_EQ(FORMATNUMBER(2.675L, "##.00"), "2.68");
    EXPECT_EQ(FORMATNUMBER(static_cast<long double>(2.675f), "##.00"), "2.67");
}

TEST(NumberFormat, PutsTheMinusBeforeEverythingUnlessTheShownValueIsZero) {
    EXPECT_EQ(FORMATNUMBER(-1234.0L, "$#,.00"), "-$1,234.00");
    EXPECT_EQ(FORMATNUMBER(-0.5L, "$#,.00"), "-$.50");
    EXPECT_EQ(FORMATNUMBER(-7.0L, "#.0"), "-7.0");
    EXPECT_EQ(FORMATNUMBER(-1.07L, "0#.000"), "-01.070");
    EXPECT_EQ(FORMATNUMBER(-0.004L, "$#,.00"), "$.00");
    EXPECT_EQ(FORMATNUMBER(-0.04L, "#.0"), ".0");
    EXPECT_EQ(FORMATNUMBER(-0.0L, "#.0"), ".0");
    EXPECT_EQ(FORMATNUMBER(-0.05L, "#.0"), "-.1");
    EXPECT_EQ(FORMATNUMBER(-0.35L, "#.0"), "-.4");
}

TEST(NumberFormat, CopiesOtherCharactersWhereTheyStand) {
    EXPECT_EQ(FORMATNUMBER(7.0L, "#%"), "7%");
    EXPECT_EQ(FORMATNUMBER(7.0L, "x#.0y"), "x7.0y");
    EXPECT_EQ(FORMATNUMBER(5.0L, "$###"), "$5");
    EXPECT_EQ(FORMATNUMBER(5.0L, "$000"), "$005");
    EXPECT_EQ(FORMATNUMBER(12.5L, ".00"), "12.50");
}

TEST(NumberFormat, WritesThePlainFormWithoutMask) {
    EXPECT_EQ(FORMATNUMBER(0.0L, ""), "0");
    EXPECT_EQ(FORMATNUMBER(93.0L, ""), "93");
    EXPECT_EQ(FORMATNUMBER(-5.0L, ""), "-5");
    EXPECT_EQ(FORMATNUMBER(1234567.0L, ""), "1234567");
    EXPECT_EQ(FORMATNUMBER(0.5L, ""), "0.5");
    EXPECT_EQ(FORMATNUMBER(-12.25L, ""), "-12.25");
    EXPECT_EQ(FORMATNUMBER(1e20L, ""), "100000000000000000000");
    EXPECT_EQ(FORMATNUMBER(1e-5L, ""), "0.00001");
    EXPECT_EQ(FORMATNUMBER(0.1L, ""), "0.1");
}

TEST(NumberFormat, SurvivesNonFiniteAndHugeValues) {
    EXPECT_EQ(FORMATNUMBER(static_cast<long double>(INFINITY), "$#,.00"), "$.00");
    EXPECT_EQ(FORMATNUMBER(-static_cast<long double>(INFINITY), "#.0"), ".0");
    EXPECT_EQ(FORMATNUMBER(static_cast<long double>(NAN), ""), "0");
    EXPECT_EQ(FORMATNUMBER(NAN, "0#.000"), "0.000");

    const std::string huge = FORMATNUMBER(1e300L, "$#,.00");
    EXPECT_EQ(huge.substr(0, 8), "$1,000,0");
    EXPECT_EQ(huge.size(), 1 + 301 + 100 + 3u);
    EXPECT_EQ(huge.substr(huge.size() - 7), ",000.00");

    const std::string largest = FORMATNUMBER(LDBL_MAX, "##.00");
    EXPECT_EQ(largest.substr(0, 6), "118973");
    EXPECT_EQ(largest.size(), 4933 + 3u);
    EXPECT_EQ(FORMATNUMBER(LDBL_TRUE_MIN, "#.0"), ".0");
}
