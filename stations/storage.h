// The station list: loading it from the settings file and saving it.
#pragma once

void LOADSTATIONS();
void SAVESTATIONS();
// True when row (1 to 8) has a station, which shows on the calculator: its cume is above 0.
bool STATIONSHOWN(int row);
