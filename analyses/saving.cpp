#include "analyses/saving.h"

#include <vector>

#include "analyses/scenario_name.h"
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

// The folder of the store that is open, empty before the first use.
std::string openedFolder;

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

void KEEPSHOWN() { kept = CURRENTANALYSIS(); }

bool SHOWNCHANGED() { return typedPart(CURRENTANALYSIS()) != typedPart(kept); }

void STOREREADY(const std::string& parent) {
    std::string notice;
    if (openedFolder.empty()) notice = OPENSTORE(openedFolder = STOREFOLDER());
    if (notice.empty()) notice = STORECHECKED(false);
    if (!notice.empty()) DISPLAYMESSAGE("Saved Analyses", SHOWNTEXT(notice) + "{f7}", "", parent);
}

void CLOSEANALYSES() {
    if (openedFolder.empty()) return;
    CLOSESTORE();
    openedFolder.clear();
}

Analysis CURRENTANALYSIS() {
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

std::string DEFAULTSCENARIO(const Analysis& analysis) {
    return DOLLARTEXT(analysis.budget) + " at " + PCTTEXT(analysis.roi) + "%";
}

bool SAVEANALYSISOVER(const std::string& parent) {
    Analysis analysis = CURRENTANALYSIS();
    if (analysis.customer.empty()) {
        DISPLAYMESSAGE("Analysis Not Saved", "Type the customer's name before you save the analysis.{f10}",
                       "Analyses are filed by customer.{f7}", parent);
        return false;
    }
    STOREREADY(parent);
    if (const std::string why = STOREREADONLY(); !why.empty()) {
        DISPLAYMESSAGE("Analysis Not Saved", SHOWNTEXT(why) + "{f7}", "", parent);
        return false;
    }
    analysis.scenario = ASKSCENARIO(parent, "Save Analysis", "Scenario name for " + analysis.customer + ":",
                                    DEFAULTSCENARIO(analysis));
    if (analysis.scenario.empty()) return false;
    if (ANALYSISEXISTS(analysis.customer, analysis.scenario)) {
        const int32_t answer =
            ASKUSER("Replace Analysis?",
                    SHOWNTEXT(analysis.customer + " already has a scenario named \"" + analysis.scenario + "\".") +
                        "{f7}",
                    "Replace it with this analysis?{f10}", "", "*{G,f7}|&Yes|&No", 2);
        if (answer != 1) return false;
    }
    std::string why;
    const bool saved = SAVEANALYSIS(analysis, why);
    STOREREADY(parent);
    if (!saved) {
        DISPLAYMESSAGE("Analysis Not Saved", SHOWNTEXT(why) + "{f7}", "", parent);
        return false;
    }
    KEEPSHOWN();
    PASSINGNOTICE("Saved \"" + analysis.scenario + "\" for " + analysis.customer + ".",
                  NoticeLasts::UNTILNEXTEDIT, 0);
    return true;
}

void SAVEANALYSISMENU() { SAVEANALYSISOVER("RI"); }

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
