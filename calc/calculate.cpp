// Reads the calculator's texts, runs the calculation and writes the results back.
#include "calc/calculate.h"

#include "calc/calculator_ids.h"
#include "calc/listeners.h"
#include "calc/results.h"
#include "gui/ezgui.h"
#include "stations/tables.h"

namespace {

CalculatorTexts WINDOWTEXTS() {
    CalculatorTexts in;
    in.budget = EZ_GETTEXT("RI", RI::BUDGET);
    in.roi = EZ_GETTEXT("RI", RI::ROI);
    in.margin = EZ_GETTEXT("RI", RI::MARGIN);
    in.averageSale = EZ_GETTEXT("RI", RI::AVERAGE_SALE);
    in.closingRatio = EZ_GETTEXT("RI", RI::CLOSING_RATIO);
    in.cume = StationCume;
    return in;
}

}  // namespace

// The figures the listeners per response come from: the number of sales shown and the closing ratio.
std::string RESPONSESSOURCE() {
    return EZ_GETTEXT("RI", RI::SALES) + "|" + EZ_GETTEXT("RI", RI::CLOSING_RATIO);
}

// The shares are described again only when the responses change, so that a keystroke
// re-describes no more than it must.
std::string CALCULATE() {
    const Calculation calculation = CALCULATERESULTS(WINDOWTEXTS());
    const std::string before = RESPONSESSOURCE() + "|" + EZ_GETTEXT("RI", RI::RESPONSES);
    for (const ControlUpdate& update : calculation.updates) EZ_SETTEXT("RI", update.id, update.text);
    if (RESPONSESSOURCE() + "|" + EZ_GETTEXT("RI", RI::RESPONSES) != before) DESCRIBESHARES();
    return calculation.stop;
}

// A screen reader reading a station's row hears the tooltip's figure with its share, and the
// whole figure with its tick box.
void DESCRIBESHARES() {
    const std::string sales = EZ_GETTEXT("RI", RI::SALES);
    const std::string closingRatio = EZ_GETTEXT("RI", RI::CLOSING_RATIO);
    for (int row = 1; row <= kStationRows; ++row) {
        std::string figure = LISTENERSTEXT(sales, closingRatio, StationCume[row - 1], StationCalls[row - 1]);
        EZ_SETACCESSDESCRIPTION("RI", RI::SHARELABEL(row), figure);
        const std::string share = EZ_GETTEXT("RI", RI::SHARELABEL(row));
        if (!figure.empty() && figure[0] == 'T') figure[0] = 't';
        EZ_SETACCESSDESCRIPTION("RI", RI::TICKBOX(row), share.empty() || figure.empty() ? ""
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
    const int row = RI::STATIONROW(id);
    if (row == 0) return "";
    return LISTENERSTEXT(EZ_GETTEXT("RI", RI::SALES), EZ_GETTEXT("RI", RI::CLOSING_RATIO),
                         StationCume[row - 1], StationCalls[row - 1]);
}
