// The stored form of the station list: eight fields joined with commas.
#pragma once

#include <string>
#include <string_view>

#include "stations/tables.h"

// Splits a stored value into the eight rows: spaces before a field skipped, a field in double
// quotes runs to the closing quote, others to the next comma with trailing spaces dropped.
StationTable SPLITFIELDS(std::string_view value);
std::string JOINFIELDS(const StationTable& rows);
