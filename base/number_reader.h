// Reading numbers out of the texts the user types.
#pragma once

#include <cstddef>
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

// How many characters of text the number reader reads: the blanks before the number and the
// number itself; what follows is ignored.
size_t READLENGTH(std::string_view text);

// The decimals a typed number is written with: those after its point, less its exponent
// ("7.25" 2, "0.05" 2, "1e-3" 3, "7" 0).
int TYPEDDECIMALS(std::string_view text);

// A number followed at once by "k" or "K" (thousands) or "M" or "m" (millions), and by nothing
// after that but blanks, written with the reader's exponent instead ("12.5k" becomes "12.5E3");
// any other text unchanged.
std::string EXPANDSHORTHAND(std::string_view text);
