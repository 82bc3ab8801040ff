// Writing numbers as text by the display masks of the calculator:
// "#" digit or nothing, "0" digit or "0", "." the decimal point, "," anywhere
// before the point groups in threes, other characters copied where they stand.
// An empty mask writes the plain form: no grouping, only the digits needed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Rounds on the shortest decimal text of the long double value.
std::string FORMATNUMBER(long double value, std::string_view mask);

// The exact quotient num ÷ den (den above 0) written by a mask with a point, rounded on its exact
// decimal expansion; nullopt when 128 bits cannot hold it scaled to the mask's decimals.
std::optional<std::string> FORMATQUOTIENT(__int128 num, __int128 den, std::string_view mask);
