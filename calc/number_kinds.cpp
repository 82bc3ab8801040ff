#include "calc/number_kinds.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

// Nearest integer to value, a tie going to the even neighbour.
long double ROUNDEVEN(long double value) {
    const long double below = std::floor(value);
    const long double fraction = value - below;
    if (fraction > 0.5L) return below + 1;
    if (fraction < 0.5L) return below;
    return std::fmod(below, 2.0L) == 0 ? below : below + 1;
}

}  // namespace

Money TOMONEY(long double value) {
    // Every int64 is exact in long double, so the limits compare exactly.
    const long double cents = value * 100;
    if (std::isnan(cents)) return 0;
    constexpr Money most = std::numeric_limits<Money>::max();
    constexpr Money least = std::numeric_limits<Money>::min();
    if (cents >= static_cast<long double>(most)) return most;
    if (cents <= static_cast<long double>(least)) return least;
    return static_cast<Money>(ROUNDEVEN(cents));
}

long double FROMMONEY(Money cents) { return static_cast<long double>(cents) / 100; }

float TOSINGLE(long double value) {
    if (std::isnan(value)) return 0;
    if (value >= FLT_MAX) return FLT_MAX;
    if (value <= -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

int32_t TOWHOLE(long double value) {
    if (std::isnan(value)) return 0;
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    constexpr int32_t least = std::numeric_limits<int32_t>::min();
    if (value >= most) return most;
    if (value <= least) return least;
    return static_cast<int32_t>(ROUNDEVEN(value));
}
