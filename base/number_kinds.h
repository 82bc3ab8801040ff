// The kinds a calculated number is stored in: money in cents and 32-bit whole numbers.
// Products of money are exact; quotients are long double.
#pragma once

#include <cstdint>
#include <optional>

// A money value: a count of hundredths (cents).
using Money = int64_t;

// Stores value × 100 as cents, ties to even, saturating; NaN gives 0.
Money TOMONEY(long double value);

// Reads cents back as dollars.
long double FROMMONEY(Money cents);

// a × b ÷ 10^scale (scale 0 to 38) rounded once to a whole number, ties to even, saturating
// to 64 bits; nullopt when the product does not fit 128 bits.
std::optional<Money> ROUNDEDPRODUCT(__int128 a, __int128 b, int scale);

// Nearest 32-bit integer, ties to even, saturating; NaN gives 0.
int32_t TOWHOLE(long double value);

// value × 10^power, or false when 128 bits cannot hold it.
bool TIMESPOWEROFTEN(__int128& value, long power);
