// Date arithmetic and date texts, with no clock, locale or window: the day number of a date,
// the fields of a date text, the separators, and the build date's text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The Julian Day Number of a Gregorian date (1 January 2000 is 2451545). Every division truncates
// toward zero, as the formula requires; a result beyond 32 bits is held at the nearest limit.
int32_t JULIANDATE(int32_t month, int32_t day, int32_t year);

// The day number of a date text of three fields separated by "-" or "/", in the order "MDY" or
// "YMD"; nothing when a field reads as 0 (missing, empty or not a number) or the order is another.
std::optional<int32_t> DAYNUMBER(std::string_view dateText, std::string_view order);

// Every "-" made "/" when useSlashes is nonzero, else every "/" made "-"; dateText changes too.
std::string FORMATDATE(std::string& dateText, int32_t useSlashes);

// The build date from the locale's short date of it: the three "/"-fields of shortDate joined as
// at least two, two and four digits, in the locale's order. A short date that is not three
// numbers between slashes ("22 May 2023", "22.05.23") would give no date at all, so then the
// date is written as MM/DD/YYYY from month, day and year.
std::string BUILDDATETEXT(std::string_view shortDate, int32_t year, int32_t month, int32_t day);

// Today's date as the routines write it: mm-dd-yyyy.
std::string TODAYTEXT(int32_t year, int32_t month, int32_t day);
