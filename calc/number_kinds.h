// The three kinds a calculated number is stored in: money in cents,
// single precision and 32-bit whole numbers. Arithmetic in between is long double.
#pragma once

#include <cstdint>

// A money value: a count of hundredths (cents).
using Money = int64_t;

// Stores value × 100 as cents, ties to even, saturating; NaN gives 0.
Money TOMONEY(long double value);

// Reads cents back as dollars.
long double FROMMONEY(Money cents);

// Nearest single, ties to even, saturating at the largest finite single; NaN gives 0.
float TOSINGLE(long double value);

// Nearest 32-bit integer, ties to even, saturating; NaN gives 0.
int32_t TOWHOLE(long double value);
