// Reading numbers out of the texts the user types.
#pragma once

#include <string>
#include <string_view>

// The number at the start of text: blanks skipped, reading stops at the first
// character that does not fit, no digits read as 0. "&H", "&O"/"&Q" and "&B"
// begin a whole number in base 16, 8 or 2. Never infinite, never NaN.
long double READNUMBER(std::string_view text);

// text without any of the characters in set.
std::string REMOVECHARS(std::string_view text, std::string_view set);
