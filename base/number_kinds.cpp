#include "base/number_kinds.h"

#include <algorithm>
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

std::optional<Money> ROUNDEDPRODUCT(__int128 a, __int128 b, int scale) {
    __int128 product = 0;
    if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
    __int128 divisor = 1;
    for (int n = 0; n < scale; ++n) divisor *= 10;
    __int128 quotient = product / divisor;
    const __int128 remainder = product % divisor;
    // Compared without doubling the remainder, which could overflow.
    const __int128 away = remainder < 0 ? -remainder : remainder;
    const __int128 sign = product < 0 ? -1 : 1;
    if (away > divisor - away || (away == divisor - away && quotient % 2 != 0)) quotient += sign;
    return static_cast<Money>(
        std::clamp<__int128>(quotient, std::numeric_limits<Money>::min(), std::numeric_limits<Money>::max()));
}

int32_t TOWHOLE(long double value) {
    if (std::isnan(value)) return 0;
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    constexpr int32_t least = std::numeric_limits<int32_t>::min();
    if (value >= most) return most;
    if (value <= least) return least;
    // In range, the processor's rounding to nearest breaks ties to even.
    return static_cast<int32_t>(std::llrint(value));
}

bool TIMESPOWEROFTEN(__int128& value, long power) {
    for (long n = 0; n < power && value != 0; ++n)
        if (__builtin_mul_overflow(value, 10, &value)) return false;
    return true;
}
