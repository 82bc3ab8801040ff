#include "stations/storage.h"

#include "base/number_reader.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "stations/fields.h"
#include "stations/station_editor_ids.h"
#include "stations/tables.h"

void LOADSTATIONS() {
    StationCalls = SPLITFIELDS(GETINI(IniFile, "Stations", "Calls", ""));
    StationCume = SPLITFIELDS(GETINI(IniFile, "Stations", "Cume", ""));
}

// Saving leaves nothing unsaved in the station editor: its "&OK" goes grey.
void SAVESTATIONS() {
    WRITEINI(IniFile, "Stations", "Calls", JOINFIELDS(StationCalls));
    WRITEINI(IniFile, "Stations", "Cume", JOINFIELDS(StationCume));
    EZ_DISABLEC("SE", SE::OK_BUTTON);
}

bool STATIONSHOWN(int row) { return row >= 1 && row <= kStationRows && READNUMBER(StationCume[row - 1]) > 0; }
