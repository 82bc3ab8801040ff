#include "base/number_reader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

TEST(NumberReader, StopsAtTheFirstCharacterThatDoesNotFit) {
    EXPECT_EQ(READNUMBER("7%"), 7);
    EXPECT_EQ(READNUMBER("1,234"), 1);
    EXPECT_EQ(READNUMBER("1 000"), 1);
    EXPECT_EQ(READNUMBER("7,5"), 7);
    EXPECT_EQ(READNUMBER("$50"), 0);
    EXPECT_EQ(READNUMBER("abc"), 0);
    EXPECT_EQ(READNUMBER(""), 0);
    EXPECT_EQ(READNUMBER("-"), 0);
    EXPECT_EQ(READNUMBER("."), 0);
    EXPECT_EQ(READNUMBER("- 5"), 0);
    EXPECT_EQ(READNUMBER("1.2.3"), 1.2L);
    EXPECT_EQ(READNUMBER("-.5"), -0.5L);
    EXPECT_EQ(READNUMBER("+5"), 5);
    EXPECT_EQ(READNUMBER("5."), 5);
    EXPECT_EQ(READNUMBER("0.1"), 0.1L);
    EXPECT_EQ(READNUMBER("1234567.891"), 1234567.891L);
    EXPECT_EQ(READNUMBER("007"), 7);
}

TEST(NumberReader, SkipsOnlyLeadingBlanksTabsAndLineBreaks) {
    EXPECT_EQ(READNUMBER("  42"), 42);
    EXPECT_EQ(READNUMBER("\t\r\n 42"), 42);
    EXPECT_EQ(READNUMBER(" -3.5 "), -3.5L);
    EXPECT_EQ(READNUMBER("\v42"), 0);
    EXPECT_EQ(READNUMBER("_42"), 0);
}

TEST(NumberReader, ReadsExponentsWithEOrD) {
    EXPECT_EQ(READNUMBER("1E3"), 1000);
    EXPECT_EQ(READNUMBER("1e+3"), 1000);
    EXPECT_EQ(READNUMBER("25E-2"), 0.25L);
    EXPECT_EQ(READNUMBER("1D2"), 100);
    EXPECT_EQ(READNUMBER("1d-2"), 0.01L);
    EXPECT_EQ(READNUMBER("-1.5D+2x"), -150);
    EXPECT_EQ(READNUMBER("1.5E2.5"), 150);
    // A letter without digits after it is not part of the number.
    EXPECT_EQ(READNUMBER("1E"), 1);
    EXPECT_EQ(READNUMBER("1E+"), 1);
    EXPECT_EQ(READNUMBER("2d-x"), 2);
    EXPECT_EQ(READNUMBER("E5"), 0);
}

TEST(NumberReader, ReadsWholeNumbersInOtherBases) {
    EXPECT_EQ(READNUMBER("&H1F"), 31);
    EXPECT_EQ(READNUMBER("&hff"), 255);
    EXPECT_EQ(READNUMBER("&o17"), 15);
    EXPECT_EQ(READNUMBER("&O17"), 15);
    EXPECT_EQ(READNUMBER("&Q17"), 15);
    EXPECT_EQ(READNUMBER("&q178"), 15);
    EXPECT_EQ(READNUMBER("&B101"), 5);
    EXPECT_EQ(READNUMBER("&b102"), 2);
    EXPECT_EQ(READNUMBER("  &H10"), 16);
    EXPECT_EQ(READNUMBER("&H1.5"), 1);
    EXPECT_EQ(READNUMBER("&H"), 0);
    EXPECT_EQ(READNUMBER("&X1"), 0);
    EXPECT_EQ(READNUMBER("&"), 0);
}

TEST(NumberReader, ClampsInsteadOfOverflowing) {
    EXPECT_EQ(READNUMBER("1E99999"), LDBL_MAX);
    EXPECT_EQ(READNUMBER("-1E99999"), -LDBL_MAX);
    EXPECT_EQ(READNUMBER("1E5000"), LDBL_MAX);
    EXPECT_EQ(READNUMBER("1E99999999999999999999999"), LDBL_MAX);
    EXPECT_EQ(READNUMBER("1E-99999"), 0);
    EXPECT_EQ(READNUMBER("0E99999"), 0);
    EXPECT_EQ(READNUMBER("1" + std::string(5000, '0')), LDBL_MAX);
    EXPECT_EQ(READNUMBER("0." + std::string(5000, '0') + "1"), 0);
    EXPECT_EQ(READNUMBER("0." + std::string(5000, '0') + "1E5000"), 1e-1L);
    EXPECT_EQ(READNUMBER("&H" + std::string(5000, 'F')), LDBL_MAX);
    EXPECT_TRUE(std::isfinite(READNUMBER("1E4932")));
}

// The long double of each text is the one the C library's correctly rounded reader gives on Linux.
TEST(NumberReader, RoundsLongDecimalsOnceToTheNearestLongDouble) {
    const std::string zeros(17000, '0');
    const struct {
        std::string text;
        long double value;
    } cases[] = {
        {"3.14159265358979323846", 0xc90fdaa22168c235p-62L},
        {"1e30", 0xc9f2c9cd04674edfp36L},
        {"1e-30", 0xa2425ff75e14fc32p-163L},
        {"12345678901234567890123", 0xa750ad939d9c5091p10L},
        {"123456789012345678901234567890.5", 0xc77487fb61b9f077p33L},
        {"1e400", 0xda763fc8cb9ff9e6p1265L},
        {"-1e400", -0xda763fc8cb9ff9e6p1265L},
        {"0.5e-4931", 0xbe5b66ecbce0b7b1p-16445L},
        // Halfway between two long doubles: to the even one; a digit beyond the kept ones tips it.
        {"18446744073709551617", 0x1p64L},
        {"18446744073709551617" + zeros + "1e-17001", 0x8000000000000001p1L},
        {"1844674407370955161" + zeros + "e-17000", 0xccccccccccccccc8p-3L},
        {"1.18973149535723176509e4932", LDBL_MAX},
        {"3.362103143112093506262677817321751e-4932", LDBL_MIN},
        {"3.3621031431120935061e-4932", 0},
        {"1e-4940", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(READNUMBER(c.text), c.value) << c.text.substr(0, 40);
}

TEST(NumberReader, RemovesEveryCharacterOfTheSet) {
    EXPECT_EQ(REMOVECHARS("$1,000.00", "$,"), "1000.00");
    EXPECT_EQ(REMOVECHARS(" $1, 000 ", "$, "), "1000");
    EXPECT_EQ(REMOVECHARS(" $1, 000 ", "$,"), " 1 000 ");
    EXPECT_EQ(REMOVECHARS("abc", ""), "abc");
    EXPECT_EQ(REMOVECHARS("$$$", "$"), "");
}
