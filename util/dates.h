// The date routines the program calls: a date text to its day number (with today's date for an
// empty text, and a notice for an invalid one), and the date on which the program was built.
#pragma once

#include <cstdint>
#include <string>

#include "base/date_rules.h"

// The day number of dateText in order ("MDY" or "YMD"); 0 after the "Invalid Date" notice when a
// field reads as 0. An empty text stands for today, and then order becomes "MDY".
int32_t Date2JulianDate(std::string dateText, std::string& order);

// The build date, MM/DD/YYYY under a month/day/year locale.
std::string GETBUILDDATE();
