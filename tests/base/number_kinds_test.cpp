#include "base/number_kinds.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

TEST(NumberKinds, MoneyRoundsToCentsWithTiesToEven) {
    EXPECT_EQ(TOMONEY(0.125L), 12);
    EXPECT_EQ(TOMONEY(0.375L), 38);
    EXPECT_EQ(TOMONEY(0.625L), 62);
    EXPECT_EQ(TOMONEY(-0.125L), -12);
    EXPECT_EQ(TOMONEY(-0.375L), -38);
    EXPECT_EQ(TOMONEY(0.126L), 13);
    EXPECT_EQ(TOMONEY(0.124L), 12);
    EXPECT_EQ(TOMONEY(12.34L), 1234);
    EXPECT_EQ(TOMONEY(1000), 100000);
    EXPECT_EQ(FROMMONEY(1234), 12.34L);
    EXPECT_EQ(FROMMONEY(-5), -0.05L);
    EXPECT_EQ(FROMMONEY(TOMONEY(1070)), 1070);
}

TEST(NumberKinds, MoneySaturatesAndIgnoresNaN) {
    constexpr Money most = std::numeric_limits<Money>::max();
    constexpr Money least = std::numeric_limits<Money>::min();
    EXPECT_EQ(TOMONEY(1e30L), most);
    EXPECT_EQ(TOMONEY(-1e30L), least);
    EXPECT_EQ(TOMONEY(LDBL_MAX), most);
    EXPECT_EQ(TOMONEY(-LDBL_MAX), least);
    EXPECT_EQ(TOMONEY(INFINITY), most);
    EXPECT_EQ(TOMONEY(-INFINITY), least);
    EXPECT_EQ(TOMONEY(NAN), 0);
    // Just inside the range the cents are still exact.
    EXPECT_EQ(TOMONEY(92233720368547758.06L), 9223372036854775806);
}

TEST(NumberKinds, WholeRoundsToNearestEvenAndSaturates) {
    EXPECT_EQ(TOWHOLE(0.5L), 0);
    EXPECT_EQ(TOWHOLE(1.5L), 2);
    EXPECT_EQ(TOWHOLE(2.5L), 2);
    EXPECT_EQ(TOWHOLE(-0.5L), 0);
    EXPECT_EQ(TOWHOLE(-1.5L), -2);
    EXPECT_EQ(TOWHOLE(-2.5L), -2);
    EXPECT_EQ(TOWHOLE(2.4999L), 2);
    EXPECT_EQ(TOWHOLE(2.5001L), 3);
    EXPECT_EQ(TOWHOLE(10000), 10000);
    EXPECT_EQ(TOWHOLE(3e9L), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TOWHOLE(-3e9L), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(TOWHOLE(2147483646.5L), 2147483646);
    EXPECT_EQ(TOWHOLE(INFINITY), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TOWHOLE(NAN), 0);
}
