// The "1 out of each N listeners" figure of the printed analysis.
#include "calc/listeners.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintedListenersFigure, CumeDividedByResponsesIsTruncated) {
    EXPECT_EQ(LISTENERSPERRESPONSE("12000", "250.0"), 48);
    EXPECT_EQ(LISTENERSPERRESPONSE("1999", "250.0"), 7);  // 7.996, not rounded up
    EXPECT_EQ(LISTENERSPERRESPONSE("249", "250.0"), 0);
    EXPECT_EQ(LISTENERSPERRESPONSE("-1999", "250.0"), -7);  // toward zero
}

TEST(PrintedListenersFigure, BothFiguresAreRoundedBeforeDividing) {
    EXPECT_EQ(LISTENERSPERRESPONSE("1000", "249.6"), 4);  // 1000 / 250
    EXPECT_EQ(LISTENERSPERRESPONSE("1000", "2.5"), 500);  // ties to even: 1000 / 2
    EXPECT_EQ(LISTENERSPERRESPONSE("1000", "3.5"), 250);  // ties to even: 1000 / 4
    EXPECT_EQ(LISTENERSPERRESPONSE("999.5", "10"), 100);  // 1000 / 10
    EXPECT_EQ(LISTENERSPERRESPONSE("  12000 listeners", "250.0"), 48);
}

TEST(PrintedListenersFigure, NoWholeResponseGivesZero) {
    EXPECT_EQ(LISTENERSPERRESPONSE("12000", ""), 0);
    EXPECT_EQ(LISTENERSPERRESPONSE("12000", "0"), 0);
    EXPECT_EQ(LISTENERSPERRESPONSE("12000", ".0"), 0);
    EXPECT_EQ(LISTENERSPERRESPONSE("12000", ".4"), 0);
    EXPECT_EQ(LISTENERSPERRESPONSE("12000", ".5"), 0);  // ties to even
    EXPECT_EQ(LISTENERSPERRESPONSE("12000", ".6"), 12000);
}

TEST(PrintedListenersFigure, ExtremeFiguresDoNotOverflow) {
    EXPECT_EQ(LISTENERSPERRESPONSE("-99999999999", "-1"), 2147483648LL);
    EXPECT_EQ(LISTENERSPERRESPONSE("99999999999", "1"), 2147483647LL);
    EXPECT_EQ(LISTENERSPERRESPONSE("", "250"), 0);
}

}  // namespace
