// The long double nearest a decimal number, worked out from its digits alone so that every
// platform reads a text to the same value, whatever its C library does.
#pragma once

#include <string_view>

// mantissa (decimal digits with at most one point) × 10^exponent, rounded once to the nearest
// long double, ties to even. Beyond the largest finite long double it is that largest value; a
// value that rounds below the smallest normal one is 0 unless a long double holds it exactly.
long double DECIMALVALUE(std::string_view mantissa, long exponent);
