// The stored form of the station list: eight fields joined with commas.
#pragma once

#include <string>
#include <string_view>

#include "stations/tables.h"

// Splits a stored value into the eight rows: spaces before a field skipped, a field in double
// quotes runs to the closing quote, others to the next comma with trailing spaces dropped.
StationTable SPLITFIELDS(std::string_view value);
// The rows joined with commas; a row with a comma or with spaces at its ends, which only a
// quoted field of a stored value gives, is written in double quotes so that it comes back.
std::string JOINFIELDS(const StationTable& rows);
