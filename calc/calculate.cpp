// Reads the calculator's texts, runs the calculation and writes the results back.
#include "calc/calculate.h"

#include "calc/listeners.h"
#include "calc/results.h"
#include "gui/ezgui.h"
#include "stations/tables.h"

namespace {

CalculatorTexts WINDOWTEXTS() {
    CalculatorTexts in;
    in.budget = EZ_GETTEXT("RI", 145);
    in.roi = EZ_GETTEXT("RI", 150);
    in.margin = EZ_GETTEXT("RI", 155);
    in.averageSale = EZ_GETTEXT("RI", 160);
    in.closingRatio = EZ_GETTEXT("RI", 165);
    in.cume = StationCume;
    return in;
}

}  // namespace

// The shares are described again only when the responses change, so that a keystroke
// re-describes no more than it must.
std::string CALCULATE() {
    const Calculation calculation = CALCULATERESULTS(WINDOWTEXTS());
    const std::string responsesBefore = EZ_GETTEXT("RI", 215);
    for (const ControlUpdate& update : calculation.updates) EZ_SETTEXT("RI", update.id, update.text);
    if (EZ_GETTEXT("RI", 215) != responsesBefore) DESCRIBESHARES();
    return calculation.stop;
}

// A screen reader reading a station's row hears the tooltip's figure with its share, and the
// whole figure with its tick box.
void DESCRIBESHARES() {
    const std::string responses = EZ_GETTEXT("RI", 215);
    for (int row = 1; row <= kStationRows; ++row) {
        const int32_t tick = 225 + 10 * (row - 1);
        std::string figure = LISTENERSTEXT(responses, StationCume[row - 1], StationCalls[row - 1]);
        EZ_SETACCESSDESCRIPTION("RI", tick + 5, figure);
        const std::string share = EZ_GETTEXT("RI", tick + 5);
        if (!figure.empty() && figure[0] == 'T') figure[0] = 't';
        EZ_SETACCESSDESCRIPTION("RI", tick, share.empty() || figure.empty() ? ""
                                                   : share + " percent of the audience, " + figure);
    }
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
    return LISTENERSTEXT(EZ_GETTEXT("RI", 215), StationCume[row - 1], StationCalls[row - 1]);
}
