// The station editor, form "SE": the user's eight stations and their cume figures.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "stations/tables.h"

// Where each of the eight rows' station stood before an edit: its row (1 to 8), 0 for one new.
using StationMoves = std::array<int, kStationRows>;
// Opens the station editor over parent until it closes: where the stations saved in it came
// from, nothing when they were not saved.
std::optional<StationMoves> EDITSTATIONS(const std::string& parent);
void EZ_SE_Display(const std::string& parent);
void EZ_SE_Design();
void EZ_SE_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
// Asks whether to save when the control (the dialog's "&OK") is enabled: 1 Yes, 2 No,
// 3 Cancel, 99 Escape or closed; 2 without asking when nothing is unsaved.
int32_t CHECKFORCHANGES(const std::string& formName, int32_t control, const std::string& itemName = "");
