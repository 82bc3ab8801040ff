#include "analyses/saved_analyses.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "analyses/compare_window.h"
#include "analyses/csv.h"
#include "analyses/saved_analyses_ids.h"
#include "analyses/saving.h"
#include "analyses/scenario_name.h"
#include "analyses/store.h"
#include "common/help.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "platform/files.h"

namespace {

const std::string kForm = "SA";

// What the calculator showed when the window was opened, whether it had changed since it was last
// saved, opened or cleared, and the analysis the user chose to open.
Analysis shown;
bool shownChanged = false;
std::optional<Analysis> chosen;

// How many analyses are saved, and how many the search finds.
int64_t savedCount = 0, shownCount = 0;

// The list's columns, in the order they stand, and what each sorts by.
constexpr AnalysisOrder kColumnOrders[] = {AnalysisOrder::Customer, AnalysisOrder::Scenario,
                                           AnalysisOrder::Saved,    AnalysisOrder::Budget,
                                           AnalysisOrder::GrossReturn, AnalysisOrder::Responses};

AnalysisList listOf(const std::string& search, int32_t column, bool ascending) {
    const bool sorted = column >= 0 && static_cast<size_t>(column) < std::size(kColumnOrders);
    return {search, sorted ? kColumnOrders[column] : AnalysisOrder::Latest, ascending};
}

// The list's rows straight from the store: the analyses the search finds, a page at a time.
EZ_LISTSOURCE sourceFor(const std::string& search) {
    EZ_LISTSOURCE source;
    source.count = COUNTANALYSES(search);
    source.fetch = [search](int64_t first, int64_t count, int32_t column, bool ascending) {
        EZ_LISTROWS rows;
        for (AnalysisSummary& a : LISTANALYSES(listOf(search, column, ascending), first, count)) {
            rows.keys.push_back(a.id);
            rows.cells.push_back({std::move(a.customer), std::move(a.scenario), std::move(a.saved), std::move(a.budget),
                                  std::move(a.grossReturn), std::move(a.responses)});
        }
        return rows;
    };
    source.places = [search](const std::vector<int64_t>& keys, int32_t column, bool ascending) {
        return PLACESOFANALYSES(listOf(search, column, ascending), keys);
    };
    return source;
}

std::vector<int64_t> selectedIds() { return EZ_GETLISTSELECTION(kForm, SA::LIST); }

// Each button works on the selection it fits: one to open or rename, two to four to compare.
void SA_SETBUTTONS() {
    const int64_t selected = EZ_LISTSELECTEDCOUNT(kForm, SA::LIST);
    const bool writable = STOREREADONLY().empty();
    const std::pair<int32_t, bool> buttons[] = {{SA::OPEN_BUTTON, selected == 1},
                                                {SA::RENAME_BUTTON, writable && selected == 1},
                                                {SA::DELETE_BUTTON, writable && selected >= 1},
                                                {SA::COMPARE_BUTTON, selected >= 2 && selected <= 4},
                                                {SA::EXPORT_BUTTON, selected >= 1}};
    for (const auto& [id, on] : buttons) {
        if (on) EZ_ENABLEC(kForm, id);
        else EZ_DISABLEC(kForm, id);
    }
    const std::string count = std::to_string(shownCount) + " of " + std::to_string(savedCount) + " analyses";
    if (EZ_GETTEXT(kForm, SA::COUNT) != count) EZ_SETTEXT(kForm, SA::COUNT, count);
}

void SA_FILTER() {
    const EZ_LISTSOURCE source = sourceFor(EZ_GETTEXT(kForm, SA::SEARCH));
    shownCount = source.count;
    EZ_SETLISTSOURCE(kForm, SA::LIST, source);
    SA_SETBUTTONS();
}

// Reads the list again, keeping the analyses of keep selected; tells first what the check of the
// file found, if it has found anything since.
void SA_LOADLIST(const std::vector<int64_t>& keep) {
    STOREREADY(kForm);
    savedCount = COUNTANALYSES("");
    SA_FILTER();
    EZ_SETLISTSELECTION(kForm, SA::LIST, keep);
    SA_SETBUTTONS();
}

// Opening replaces what the calculator shows: figures or comments changed since they were last
// saved, opened or cleared are offered to be saved first.
void SA_OPEN() {
    const std::vector<int64_t> ids = selectedIds();
    if (ids.size() != 1) return;
    if (shownChanged) {
        const int32_t answer =
            ASKUSER("Changes Not Saved", "Save the analysis on the calculator before you open another?{f10}",
                    "(Figures and comments not saved will be lost.){f6}", "", "*{G,f7}|&Yes|&No|&Cancel", 1);
        if (answer != 1 && answer != 2) return;
        if (answer == 1 && !SAVEANALYSISOVER(kForm, shown)) return;
    }
    const Analysis analysis = LOADANALYSIS(ids.front());
    if (analysis.id == 0) {
        DISPLAYMESSAGE("Analysis Not Found", "The analysis is no longer saved.{f10}", "", kForm);
        SA_LOADLIST({});
        return;
    }
    chosen = analysis;
    EZ_UNLOADFORM(kForm);
}

void SA_RENAME() {
    const std::vector<int64_t> ids = selectedIds();
    if (ids.size() != 1) return;
    const Analysis analysis = LOADANALYSIS(ids.front());
    if (analysis.id == 0) return;
    const std::string name = ASKSCENARIO(kForm, "Rename Analysis", "New scenario name for " + analysis.customer + ":",
                                         analysis.scenario);
    if (name.empty() || name == analysis.scenario) return;
    std::string why;
    if (ANALYSISEXISTS(analysis.customer, name))
        why = analysis.customer + " already has a scenario named \"" + name + "\".";
    else if (RENAMEANALYSIS(analysis.id, name, why))
        why.clear();
    if (!why.empty()) DISPLAYMESSAGE("Analysis Not Renamed", SHOWNTEXT(why) + "{f7}", "", kForm);
    SA_LOADLIST(ids);
}

// The question before deleting names what goes: one analysis in a line, several one a line
// (the first eight, then how many more).
void SA_DELETE() {
    const std::vector<int64_t> ids = selectedIds();
    if (ids.empty()) return;
    std::string question = "Delete these " + std::to_string(ids.size()) + " analyses?", named;
    for (size_t n = 0; n < std::min<size_t>(ids.size(), 8); ++n) {
        const Analysis a = LOADANALYSIS(ids[n]);
        if (ids.size() == 1) question = "Delete the analysis \"" + a.scenario + "\" of " + a.customer + "?";
        else named += SHOWNTEXT(a.customer + ": " + a.scenario) + "|";
    }
    if (ids.size() > 8) named += "and " + std::to_string(ids.size() - 8) + " more|";
    if (ASKUSER("Delete Analyses?", SHOWNTEXT(question) + "{f10}",
                named + "(Deleted analyses cannot be brought back.){f6}", "", "*{G,f7}|&Yes|&No", 2) != 1)
        return;
    std::string why;
    if (!DELETEANALYSES(ids, why)) DISPLAYMESSAGE("Analyses Not Deleted", SHOWNTEXT(why) + "{f7}", "", kForm);
    SA_LOADLIST({});
}

// The selected analyses in the order the list shows them.
std::vector<Analysis> selectedAnalyses() {
    std::vector<Analysis> analyses;
    for (int64_t id : selectedIds()) {
        Analysis analysis = LOADANALYSIS(id);
        if (analysis.id != 0) analyses.push_back(std::move(analysis));
    }
    return analyses;
}

void SA_EXPORT() {
    const std::vector<Analysis> analyses = selectedAnalyses();
    if (analyses.empty()) return;
    const std::string path =
        EZ_SAVEFILENAME(kForm, "Export Analyses", STOREFOLDER() + "Analyses.csv", "CSV files (*.csv)");
    if (path.empty()) return;
    // Written under a temporary name and renamed, so an existing file is replaced only by a whole one.
    const std::string csv = ANALYSESCSV(analyses);
    const std::string part = path + ".part";
    const int32_t file = OS_CREATEPRIVATEFILE(part);
    bool written = file != 0 && OS_WRITEFILE(file, csv.data(), csv.size());
    if (file != 0) written = OS_FINISHFILE(file) && written;
    if (!written || !OS_RENAMEFILE(part, path)) {
        OS_DELETEFILE(part);
        DISPLAYMESSAGE("Export Failed", "The analyses could not be written to{f7}", SHOWNTEXT(path) + "{f7}", kForm);
    }
}

void SA_COMPARE() {
    const std::vector<Analysis> analyses = selectedAnalyses();
    if (analyses.size() >= 2 && analyses.size() <= 4) COMPAREANALYSES(kForm, analyses);
}

void SA_INITIALIZE() {
    EZ_SETLISTCOLUMNS(kForm, SA::LIST, "Customer,24|Scenario,21|Saved,16|Budget,12|Gross Return,12|Responses,15");
    SA_LOADLIST({});
    EZ_FOCUS(kForm, SA::SEARCH);
    EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY));
}

// F1 opens the topic of the control with the focus: comparing and exporting have their own.
void SA_HELP() {
    const int32_t focused = EZ_GETFOCUS(kForm);
    GETHELP(HELP_CONTEXT, focused == SA::COMPARE_BUTTON  ? IDH_COMPARING
                          : focused == SA::EXPORT_BUTTON ? IDH_EXPORTING
                                                         : IDH_SAVED_ANALYSES);
}

}  // namespace

std::optional<Analysis> CHOOSEANALYSIS(const std::string& parent, const Analysis& showing, bool changed) {
    shown = showing;
    shownChanged = changed;
    chosen.reset();
    EZ_SA_Display(parent);
    return std::exchange(chosen, std::nullopt);
}

void EZ_SA_Display(const std::string& parent) {
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "Saved Analyses", 0, 0, 82, 23, "CMR");
}

void EZ_SA_Design() {
    EZ_USEFONT(6);
    EZ_LABEL(SA::SEARCH_CAPTION, 2, 0.8125, 7, 1, "Search:", "L");
    EZ_TEXT(SA::SEARCH, 9, 0.6875, 40, 1.125, "", "EST");
    EZ_SETACCESSNAME(kForm, SA::SEARCH, "Search saved analyses");
    EZ_SETACCESSDESCRIPTION(kForm, SA::SEARCH, "Customer, sales rep or scenario");
    EZ_LABEL(SA::COUNT, 50, 0.8125, 30, 1, "", "");
    EZ_LISTVIEW(SA::LIST, 2, 2.375, 78, 17.5, "TM");
    EZ_SETACCESSNAME(kForm, SA::LIST, "Saved analyses");
    const std::pair<int32_t, const char*> buttons[] = {{SA::OPEN_BUTTON, "&Open"},     {SA::RENAME_BUTTON, "&Rename..."},
                                                       {SA::DELETE_BUTTON, "&Delete"}, {SA::COMPARE_BUTTON, "Co&mpare"},
                                                       {SA::EXPORT_BUTTON, "E&xport..."}};
    double col = 2;
    for (const auto& [id, caption] : buttons) {
        EZ_BUTTON(id, col, 20.75, 9, 1.5, caption, "T");
        col += 10;
    }
    EZ_BUTTON(SA::CLOSE_BUTTON, 71, 20.75, 9, 1.5, "&Close", "T");
    EZ_SETFORMKEYS(kForm, 2);
}

void EZ_SA_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t&) {
    if (message == EZ_MSG_KEY && value == EZ_KEY_ESCAPE) {
        value = EZ_KEY_NONE;
        EZ_UNLOADFORM(kForm);
        return;
    }
    if (id == EZ_FORMITSELF && message == EZ_MSG_STARTED) SA_INITIALIZE();
    else if (id == SA::SEARCH && message == EZ_MSG_CHANGE) SA_FILTER();
    else if (id == SA::SEARCH && message == EZ_MSG_KEY && value == EZ_KEY_ENTER) value = EZ_KEY_TAB;
    else if (id == SA::LIST && message == EZ_MSG_CHANGE) SA_SETBUTTONS();
    else if (id == SA::LIST && message == EZ_MSG_CLICK) SA_OPEN();
    else if (message != EZ_MSG_CLICK) return;
    else if (id == SA::OPEN_BUTTON) SA_OPEN();
    else if (id == SA::RENAME_BUTTON) SA_RENAME();
    else if (id == SA::DELETE_BUTTON) SA_DELETE();
    else if (id == SA::COMPARE_BUTTON) SA_COMPARE();
    else if (id == SA::EXPORT_BUTTON) SA_EXPORT();
    else if (id == SA::CLOSE_BUTTON) EZ_UNLOADFORM(kForm);
    else if (id == HELP_KEY) SA_HELP();
}
