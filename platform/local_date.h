// The local date, the locale's short date, and the time stamp the build fixed into the program.
#pragma once

#include <cstdint>
#include <string>

// Today's date on the local clock.
void OS_TODAY(int32_t& year, int32_t& month, int32_t& day);

// The date as the user's locale writes a short date, with the year always in full ("5/22/2023",
// never "5/22/23", whose century would be lost).
std::string OS_SHORTDATE(int32_t year, int32_t month, int32_t day);

// When the program was built: 100-nanosecond intervals since 1 January 1601 (UTC).
int64_t OS_BUILDSTAMP();

// The local date of such a time stamp.
void OS_STAMPDATE(int64_t stamp, int32_t& year, int32_t& month, int32_t& day);
