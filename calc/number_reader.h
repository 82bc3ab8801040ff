// Reading numbers out of the texts the user types.
#pragma once

#include <string>
#include <string_view>

// The number at the start of text: blanks skipped, reading stops at the first
// character that does not fit, no digits read as 0. "&H", "&O"/"&Q" and "&B"
// begin a whole number in base 16, 8 or 2. Never infinite, never NaN.
long double READNUMBER(std::string_view text);

// At most this many decimals are held exactly.
constexpr int kExactDecimals = 36;

// A number read by the same rules, held exactly as digits × 10^-scale.
// Not exact when 128 bits or kExactDecimals cannot hold it.
struct ExactNumber {
    bool exact = false;
    __int128 digits = 0;
    int scale = 0;
};

ExactNumber READEXACT(std::string_view text);

// text without any of the characters in set.
std::string REMOVECHARS(std::string_view text, std::string_view set);
