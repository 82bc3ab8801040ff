// The calculator window, form "RI": the program's main window.
#pragma once

#include <cstdint>
#include <string>

#include "stations/station_editor.h"

void EZ_RI_Display(const std::string& parent);
void EZ_RI_Design();
void EZ_RI_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
void RI_Events(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel);
void INITIALIZE_RI();
void CHECKPRINT();
// Shows the station list as the calculator's rows: a row, captioned with its station's name, is
// shown exactly when its cume is above 0; a hidden row keeps its caption and its tick.
void SHOWSTATIONS();
void STATIONSEDITED(const StationMoves& moves);
