#include "stations/storage.h"

#include "base/number_reader.h"
#include "calc/calculator_ids.h"
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

// A row is shown, captioned with its station's name, exactly when its cume is above 0;
// a hidden row keeps its caption and its tick.
void SHOWSTATIONS() {
    for (int row = 1; row <= kStationRows; ++row) {
        const int32_t tick = RI::TICKBOX(row), share = RI::SHARELABEL(row);
        if (STATIONSHOWN(row)) {
            const std::string& name = StationCalls[row - 1];
            EZ_SETTEXT("RI", tick, name);
            // A screen reader hears the figure beside the tick box as this station's.
            EZ_SETACCESSNAME("RI", share, (name.empty() ? "Station " + std::to_string(row) : name) +
                                                 " share of audience");
            EZ_SHOWC("RI", tick, 1);
            EZ_SHOWC("RI", share, 1);
        } else {
            EZ_SHOWC("RI", tick, 0);
            EZ_SHOWC("RI", share, 0);
        }
    }
}

bool STATIONSHOWN(int row) { return row >= 1 && row <= kStationRows && READNUMBER(StationCume[row - 1]) > 0; }
