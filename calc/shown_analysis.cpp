// The analysis the calculator shows: read from its boxes, ticks and figures, put back into them,
// and what it showed at the last save, open or clear.
#include "calc/shown_analysis.h"

#include <vector>

#include "analyses/saving.h"
#include "base/text.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "calc/results.h"
#include "calc/status_notice.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "stations/storage.h"
#include "stations/tables.h"

namespace {

std::string riText(int32_t id) { return EZ_GETTEXT("RI", id); }

std::string shownAs(int32_t id, std::string (*format)(std::string_view)) {
    const std::string text = riText(id);
    return ISBLANK(text) ? text : format(text);
}

// What the calculator showed at the last save, open or clear.
Analysis kept;

// The inputs and comments, which opening another analysis would replace.
std::vector<std::string> typedPart(const Analysis& a) {
    std::vector<std::string> typed;
    for (const AnalysisField& field : kAnalysisFields)
        if (field.typed) typed.push_back(a.*field.member);
    return typed;
}

}  // namespace

void KEEPSHOWN() { kept = SHOWNANALYSIS(); }

bool SHOWNCHANGED() { return typedPart(SHOWNANALYSIS()) != typedPart(kept); }

Analysis SHOWNANALYSIS() {
    Analysis a;
    a.customer = TRIMSPACES(riText(RI::CUSTOMER));
    a.salesRep = TRIMSPACES(riText(RI::SALESREP));
    // The figures as the calculator shows them once the field is left, even while it is being typed.
    a.budget = shownAs(RI::BUDGET, DOLLARTEXT);
    a.roi = shownAs(RI::ROI, PCTTEXT);
    a.margin = shownAs(RI::MARGIN, PCTTEXT);
    a.averageSale = shownAs(RI::AVERAGE_SALE, DOLLARTEXT);
    a.closingRatio = shownAs(RI::CLOSING_RATIO, PCTTEXT);
    a.comments = riText(RI::COMMENTS);
    a.netReturn = riText(RI::NET_RETURN);
    a.grossReturn = riText(RI::GROSS_RETURN);
    a.sales = riText(RI::SALES);
    a.responses = riText(RI::RESPONSES);
    for (int row = 1; row <= kStationRows; ++row) {
        if (!STATIONSHOWN(row)) continue;
        a.stations.push_back({StationCalls[row - 1], StationCume[row - 1], EZ_GETCHECK("RI", RI::TICKBOX(row)) != 0,
                              riText(RI::SHARELABEL(row))});
    }
    return a;
}

void SHOWANALYSIS(const Analysis& analysis) {
    const std::pair<int32_t, const std::string*> fields[] = {
        {RI::CUSTOMER, &analysis.customer}, {RI::SALESREP, &analysis.salesRep},
        {RI::BUDGET, &analysis.budget},     {RI::ROI, &analysis.roi},
        {RI::MARGIN, &analysis.margin},     {RI::AVERAGE_SALE, &analysis.averageSale},
        {RI::CLOSING_RATIO, &analysis.closingRatio}, {RI::COMMENTS, &analysis.comments}};
    for (const auto& [id, text] : fields) EZ_SETTEXT("RI", id, *text);
    std::string missing;
    for (int row = 1; row <= kStationRows; ++row) EZ_SETCHECK("RI", RI::TICKBOX(row), 0);
    for (const SavedStation& station : analysis.stations) {
        int kept = 0;
        for (int row = 1; row <= kStationRows && kept == 0; ++row)
            if (STATIONSHOWN(row) && StationCalls[row - 1] == station.name) kept = row;
        if (kept != 0) {
            EZ_SETCHECK("RI", RI::TICKBOX(kept), station.ticked ? 1 : 0);
        } else {
            missing += (missing.empty() ? "" : ", ") + station.name + (station.ticked ? " (ticked)" : "");
        }
    }
    CHECKPRINT();
    KEEPSHOWN();
    if (!missing.empty())
        DISPLAYMESSAGE("Stations Not in Your List",
                       "This analysis was saved with stations that are no longer in your station list:{f7}",
                       SHOWNTEXT(missing) + "{f10}", "RI");
}

Analysis TOSAVE() {
    Analysis analysis = SHOWNANALYSIS();
    analysis.scenario = DOLLARTEXT(analysis.budget) + " at " + PCTTEXT(analysis.roi) + "%";
    return analysis;
}

void SAVESHOWN() {
    if (const std::optional<Analysis> saved = SAVEANALYSISOVER("RI", TOSAVE())) {
        KEEPSHOWN();
        PASSINGNOTICE("Saved \"" + saved->scenario + "\" for " + saved->customer + ".", NoticeLasts::UNTILNEXTEDIT,
                      0);
    }
}
