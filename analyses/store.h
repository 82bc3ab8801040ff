// The saved analyses: every client's proposals in one database file, "Clients.db", kept where
// the settings file is kept. Each save is one transaction, so a crash keeps either the whole new
// analysis or none, and never harms an earlier one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/analysis.h"

// What the list of saved analyses shows of each.
struct AnalysisSummary {
    int64_t id = 0;
    std::string customer, salesRep, scenario, saved, budget, grossReturn, responses;
};

// Opens the store on first use: creates or upgrades the file, moves a damaged one aside as
// "Clients.damaged-<date>.db" and starts a new one, opens a read-only one or one of a newer
// version for reading. Returns the notice the user must see (empty when all is well); every
// later call answers from the open store. folder ends with "/".
// The whole file is checked on a thread of its own once it has opened, so that opening does not
// wait for it; anything that writes waits for that check first.
std::string OPENSTORE(const std::string& folder);
void CLOSESTORE();
// What the whole-file check found: when it is done (or, with wait, once it is) and found the file
// damaged, the file has been kept aside as at opening, and the notice for the user comes back
// once; "" otherwise.
std::string STORECHECKED(bool wait);
// The folder that holds the store: beside the program, as the settings file, when the user may
// write there, else the user's data folder ($XDG_DATA_HOME/Tarvex/).
std::string STOREFOLDER();
// The store's folder for a program in programFolder (ending with "/"): that folder when the user
// may make files there (the store's journal files are made beside it) or it already holds the
// store, else the user's data folder.
std::string STOREFOLDERFOR(const std::string& programFolder);
// Why nothing can be saved now (a read-only or newer file), empty when saving is possible.
std::string STOREREADONLY();

// Saves the analysis, replacing one of the same customer and scenario; false with the reason.
bool SAVEANALYSIS(Analysis& analysis, std::string& why);
// Saves several analyses in one transaction: all of them or, with the reason, none.
bool SAVEANALYSES(std::vector<Analysis>& analyses, std::string& why);
bool ANALYSISEXISTS(const std::string& customer, const std::string& scenario);
// How a list of analyses is ordered: the latest saved first, or by one of the fields it shows,
// figures by their value before any other text, texts regardless of case, the latest first
// among equals; descending turns the whole order over.
enum class AnalysisOrder : int32_t { Latest, Customer, Scenario, Saved, Budget, GrossReturn, Responses };
// The analyses a list shows: those the search finds (every word of it, in any case, in the
// customer, rep or scenario; all of them when it has no words), in its order.
struct AnalysisList {
    std::string search;
    AnalysisOrder order = AnalysisOrder::Latest;
    bool ascending = true;
};
int64_t COUNTANALYSES(const std::string& search);
// At most count of the list's analyses (and at most 100,000), from the one at place first (0 the
// first shown).
std::vector<AnalysisSummary> LISTANALYSES(const AnalysisList& list = {}, int64_t first = 0,
                                          int64_t count = INT64_MAX);
// The place of each analysis in the list, -1 for one it does not show.
std::vector<int64_t> PLACESOFANALYSES(const AnalysisList& list, const std::vector<int64_t>& ids);
// The whole analysis; id 0 when there is none of that id.
Analysis LOADANALYSIS(int64_t id);
bool RENAMEANALYSIS(int64_t id, const std::string& scenario, std::string& why);
// Deletes the analyses in one transaction: all of them or, with the reason, none.
bool DELETEANALYSES(const std::vector<int64_t>& ids, std::string& why);
