// The eight stations the user keeps: names and weekly audiences (cume), rows 1 to 8
// at indices 0 to 7.
#pragma once

#include <array>
#include <string>

constexpr int kStationRows = 8;
using StationTable = std::array<std::string, kStationRows>;

extern StationTable StationCalls;
extern StationTable StationCume;
