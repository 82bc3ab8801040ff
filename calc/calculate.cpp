// Reads the calculator's texts, runs the calculation and writes the results back.
#include "calc/calculate.h"

#include "calc/results.h"
#include "gui/ezgui.h"
#include "stations/tables.h"

void CALCULATE() {
    CalculatorTexts in;
    in.budget = EZ_GETTEXT("RI", 145);
    in.roi = EZ_GETTEXT("RI", 150);
    in.margin = EZ_GETTEXT("RI", 155);
    in.averageSale = EZ_GETTEXT("RI", 160);
    in.closingRatio = EZ_GETTEXT("RI", 165);
    in.salesNeeded = EZ_GETTEXT("RI", 355);
    in.cume = StationCume;
    for (const ControlUpdate& update : CALCULATERESULTS(in))
        if (update.text) EZ_SETTEXT("RI", update.id, *update.text);
    // A screen reader reading a station's row hears the tooltip's figure with it.
    for (int32_t id = 230; id <= 300; id += 10) EZ_SETACCESSDESCRIPTION("RI", id, SHOWCUME(id));
}

void DOLLARFORMAT(const std::string& formName, int32_t& id) {
    EZ_SETTEXT(formName, id, DOLLARTEXT(EZ_GETTEXT(formName, id)));
}

void PCTFORMAT(const std::string& formName, int32_t& id) {
    EZ_SETTEXT(formName, id, PCTTEXT(EZ_GETTEXT(formName, id)));
}

std::string SHOWCUME(int32_t& id) {
    int row = (id - 230) / 10 + 1;
    if (row < 1 || row > kStationRows) return "";
    return CUMETIP(EZ_GETTEXT("RI", 215), StationCume[row - 1]);
}
