#include "analyses/saved_analyses.h"

#include <algorithm>
#include <vector>

#include "analyses/compare_window.h"
#include "analyses/csv.h"
#include "analyses/saved_analyses_ids.h"
#include "analyses/saving.h"
#include "analyses/scenario_name.h"
#include "analyses/store.h"
#include "app/help.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

const std::string kForm = "SA";

// The analyses in the list, by row number, and what a search looks in for each.
std::vector<AnalysisSummary> listed;
std::vector<std::string> searchTexts;
size_t shownCount = 0;

std::vector<int64_t> selectedIds() {
    std::vector<int64_t> ids;
    for (int32_t row : EZ_GETLISTSELECTION(kForm, SA::LIST))
        if (row >= 0 && static_cast<size_t>(row) < listed.size()) ids.push_back(listed[row].id);
    return ids;
}

// Each button works on the selection it fits: one to open or rename, two to four to compare.
void SA_SETBUTTONS() {
    const size_t selected = selectedIds().size();
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
    const std::string count = std::to_string(shownCount) + " of " + std::to_string(listed.size()) + " analyses";
    if (EZ_GETTEXT(kForm, SA::COUNT) != count) EZ_SETTEXT(kForm, SA::COUNT, count);
}

void SA_FILTER() {
    const std::string search = EZ_GETTEXT(kForm, SA::SEARCH);
    std::vector<bool> shown(listed.size());
    shownCount = 0;
    for (size_t n = 0; n < listed.size(); ++n) {
        shown[n] = MATCHESSEARCH(searchTexts[n], search);
        shownCount += shown[n] ? 1 : 0;
    }
    EZ_FILTERLIST(kForm, SA::LIST, shown);
    SA_SETBUTTONS();
}

// Reads the list again, keeping the analyses of keep selected.
void SA_LOADLIST(const std::vector<int64_t>& keep) {
    listed = LISTANALYSES();
    searchTexts.clear();
    std::vector<std::vector<std::string>> rows;
    rows.reserve(listed.size());
    for (const AnalysisSummary& a : listed) {
        searchTexts.push_back(SEARCHTEXT(a));
        rows.push_back({a.customer, a.scenario, a.saved, a.budget, a.grossReturn, a.responses});
    }
    EZ_SETLISTROWS(kForm, SA::LIST, rows);
    SA_FILTER();
    std::vector<int32_t> select;
    for (size_t n = 0; n < listed.size(); ++n)
        if (std::ranges::find(keep, listed[n].id) != keep.end()) select.push_back(static_cast<int32_t>(n));
    EZ_SETLISTSELECTION(kForm, SA::LIST, select);
    SA_SETBUTTONS();
}

// Opening replaces what the calculator shows: figures or comments changed since they were last
// saved, opened or cleared are offered to be saved first.
void SA_OPEN() {
    const std::vector<int64_t> ids = selectedIds();
    if (ids.size() != 1) return;
    if (SHOWNCHANGED()) {
        const int32_t answer =
            ASKUSER("Changes Not Saved", "Save the analysis on the calculator before you open another?{f10}",
                    "(Figures and comments not saved will be lost.){f6}", "", "*{G,f7}|&Yes|&No|&Cancel", 1);
        if (answer != 1 && answer != 2) return;
        if (answer == 1 && !SAVEANALYSISOVER(kForm)) return;
    }
    const Analysis analysis = LOADANALYSIS(ids.front());
    if (analysis.id == 0) {
        DISPLAYMESSAGE("Analysis Not Found", "The analysis is no longer saved.{f10}", "", kForm);
        SA_LOADLIST({});
        return;
    }
    EZ_UNLOADFORM(kForm);
    SHOWANALYSIS(analysis);
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
    std::string question, named;
    size_t count = 0;
    for (const AnalysisSummary& a : listed) {
        if (std::ranges::find(ids, a.id) == ids.end()) continue;
        if (ids.size() == 1) question = "Delete the analysis \"" + a.scenario + "\" of " + a.customer + "?";
        else if (++count <= 8) named += SHOWNTEXT(a.customer + ": " + a.scenario) + "|";
    }
    if (ids.size() > 1) question = "Delete these " + std::to_string(ids.size()) + " analyses?";
    if (count > 8) named += "and " + std::to_string(count - 8) + " more|";
    if (ASKUSER("Delete Analyses?", SHOWNTEXT(question) + "{f10}",
                named + "(Deleted analyses cannot be brought back.){f6}", "", "*{G,f7}|&Yes|&No", 2) != 1)
        return;
    std::string why;
    for (int64_t id : ids)
        if (!DELETEANALYSIS(id, why)) break;
    if (!why.empty()) DISPLAYMESSAGE("Analyses Not Deleted", SHOWNTEXT(why) + "{f7}", "", kForm);
    SA_LOADLIST({});
}

// The selected analyses in the order the list shows them.
std::vector<Analysis> selectedAnalyses() {
    std::vector<Analysis> analyses;
    const std::vector<int32_t> selection = EZ_GETLISTSELECTION(kForm, SA::LIST);
    for (int32_t row : EZ_GETLISTORDER(kForm, SA::LIST)) {
        if (std::ranges::find(selection, row) == selection.end()) continue;
        Analysis analysis = LOADANALYSIS(listed[row].id);
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
    STOREREADY(kForm);
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
