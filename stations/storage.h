// The station list: loading it from the settings file, saving it, and showing it as the
// calculator's station rows.
#pragma once

void LOADSTATIONS();
void SAVESTATIONS();
void SHOWSTATIONS();
// True when row (1 to 8) has a station, which shows on the calculator: its cume is above 0.
bool STATIONSHOWN(int row);
