// Writing numbers as text by the display masks of the calculator:
// "#" digit or nothing, "0" digit or "0", "." the decimal point, "," anywhere
// before the point groups in threes, other characters copied where they stand.
// An empty mask writes the plain form: no grouping, only the digits needed.
#pragma once

#include <string>
#include <string_view>

// Rounds on the shortest decimal text of the long double value.
std::string FORMATNUMBER(long double value, std::string_view mask);

// Rounds on the shortest decimal text of the single value, so 0.35f is 0.35.
std::string FORMATNUMBER(float value, std::string_view mask);
