// The saved analyses in "Clients.db": opening and upgrading the file, keeping a damaged one
// aside, and saving, listing, loading, renaming and deleting analyses, each in one transaction.
#include "analyses/store.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <utility>

#include "analyses/search.h"
#include "base/text.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/local_date.h"

namespace {

constexpr size_t kMaxStations = 8;
// The list shows short texts; the whole ones come with LOADANALYSIS.
constexpr size_t kListText = 256;
// Up to this many rows a list keeps selected are placed one by one; more, in one pass over it.
constexpr size_t kPlacedOneByOne = 16;
// Up to this many analyses found by a search are sorted; more are picked from a sort index.
constexpr int64_t kSortedAtMost = 1000;

// How a column of figures sorts: figures ("$1,200", "-35", "12.5%") by their value before any
// other text, the other texts by their letters regardless of case.
std::vector<std::string> figureTerms(const std::string& column) {
    const std::string bare = "replace(replace(replace(trim(" + column + "), '$', ''), ',', ''), '%', '')";
    return {"(CASE WHEN " + bare + " GLOB '*[0-9]*' AND NOT " + bare + " GLOB '*[^0-9.-]*' THEN 0 ELSE 1 END)",
            "CAST(" + bare + " AS REAL)", column + " COLLATE NOCASE"};
}

// What an order sorts by before the id, its columns named with prefix; the sort indexes are made
// of the same terms, so that SQLite walks an index instead of sorting.
std::vector<std::string> orderTerms(AnalysisOrder order, const std::string& prefix = "") {
    switch (order) {
    case AnalysisOrder::Customer: return {prefix + "customer"};
    case AnalysisOrder::Scenario: return {prefix + "scenario"};
    case AnalysisOrder::Saved: return {prefix + "saved"};
    case AnalysisOrder::Budget: return figureTerms(prefix + "budget");
    case AnalysisOrder::GrossReturn: return figureTerms(prefix + "gross_return");
    case AnalysisOrder::Responses: return figureTerms(prefix + "responses");
    default: return {};
    }
}

// The sort index of each order but the latest first, which the ids give.
const std::pair<const char*, AnalysisOrder> kSortIndexes[] = {
    {"analyses_by_customer", AnalysisOrder::Customer}, {"analyses_by_scenario", AnalysisOrder::Scenario},
    {"analyses_by_saved", AnalysisOrder::Saved},       {"analyses_by_budget", AnalysisOrder::Budget},
    {"analyses_by_gross_return", AnalysisOrder::GrossReturn}, {"analyses_by_responses", AnalysisOrder::Responses}};

std::string sortIndexes() {
    std::string sql;
    for (const auto& [name, order] : kSortIndexes) {
        sql += std::string("CREATE INDEX ") + name + " ON analyses (";
        for (const std::string& term : orderTerms(order)) sql += term + ", ";
        sql += "id DESC);\n";
    }
    return sql;
}

DbAnswer indexEvery();

// The schema, one step per version: step n takes a file of version n to version n + 1, its
// script first, then what it fills in. A later version of the program adds steps and never
// changes one.
struct Step {
    std::string script;
    DbAnswer (*fill)();
};
const std::vector<Step>& steps() {
    static const std::vector<Step> all = {
        {R"(CREATE TABLE analyses (
              id INTEGER PRIMARY KEY,
              customer TEXT NOT NULL COLLATE NOCASE, sales_rep TEXT NOT NULL, scenario TEXT NOT NULL COLLATE NOCASE,
              saved TEXT NOT NULL,
              budget TEXT NOT NULL, roi TEXT NOT NULL, margin TEXT NOT NULL, average_sale TEXT NOT NULL,
              closing_ratio TEXT NOT NULL, comments TEXT NOT NULL,
              net_return TEXT NOT NULL, gross_return TEXT NOT NULL, sales TEXT NOT NULL, responses TEXT NOT NULL,
              UNIQUE (customer, scenario));
            CREATE TABLE stations (
              analysis INTEGER NOT NULL REFERENCES analyses (id), position INTEGER NOT NULL,
              name TEXT NOT NULL, cume TEXT NOT NULL, ticked INTEGER NOT NULL, share TEXT NOT NULL,
              PRIMARY KEY (analysis, position)) WITHOUT ROWID;)",
         nullptr},
        // The search index holds pieces of the texts, not the analyses: the store writes them.
        {"CREATE VIRTUAL TABLE analyses_search USING fts5 (threes, shorter, content='', tokenize='ascii');\n" +
             sortIndexes(),
         indexEvery},
    };
    return all;
}

// The columns of the analysis' texts, "saved" apart (the store sets it), in the table's order.
std::vector<const AnalysisField*> storedFields() {
    std::vector<const AnalysisField*> fields;
    for (const AnalysisField& field : kAnalysisFields)
        if (field.member != &Analysis::saved) fields.push_back(&field);
    return fields;
}

std::string storedColumns() {
    std::string columns;
    for (const AnalysisField* field : storedFields()) columns += (columns.empty() ? "" : ", ") + std::string(field->column);
    return columns;
}

int32_t Store = 0;        // the open database, 0 when none
std::string Folder;       // its folder
std::string StoreFile;    // its path
std::string CannotSave;   // why nothing can be saved, empty when saving is possible
int32_t Check = 0;        // the whole-file check running since the store was opened, 0 when none
std::string Pending;      // what that check found that the user has not been told yet

int64_t numberOf(const std::string& text) {
    int64_t number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() ? number : 0;
}

int64_t version() { return static_cast<int64_t>(steps().size()); }

// Leaves the store closed, with the reason as the notice and as the reason not to save.
std::string refuse(const std::string& notice) {
    DB_CLOSE(Store);
    Store = 0;
    CannotSave = notice;
    return notice;
}

std::string failureText(const DbAnswer& answer) {
    switch (answer.outcome) {
    case DbOutcome::Busy: return "the file of saved analyses is in use by another program; try again in a moment.";
    case DbOutcome::ReadOnly: return "the file of saved analyses, " + StoreFile + ", may not be written.";
    case DbOutcome::Damaged:
        return "the file of saved analyses is damaged (" + answer.message +
               "). Start Tarvex again to keep it aside and begin a new one.";
    default: return "the file of saved analyses could not be written (" + answer.message + ").";
    }
}

// Renames the damaged file with its journal files to the first free "Clients.damaged-<date>[-n].db";
// the new name, or "" when it could not be moved.
std::string moveAside(const std::string& folder) {
    int32_t year = 0, month = 0, day = 0;
    OS_TODAY(year, month, day);
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    for (int n = 1; n <= 100; ++n) {
        const std::string name =
            "Clients.damaged-" + std::string(date) + (n > 1 ? "-" + std::to_string(n) : "") + ".db";
        const std::string aside = folder + name;
        if (OS_FILEEXISTS(aside) || OS_FILEEXISTS(aside + "-wal") || OS_FILEEXISTS(aside + "-shm")) continue;
        if (!OS_RENAMEFILE(StoreFile, aside)) return "";
        for (const char* journal : {"-wal", "-shm"})
            if (OS_FILEEXISTS(StoreFile + journal) && !OS_RENAMEFILE(StoreFile + journal, aside + journal))
                return "";
        return name;
    }
    return "";
}

// Takes the file from its version up to the program's, one transaction per step.
DbAnswer migrate(int64_t from) {
    DbAnswer answer;
    for (int64_t step = from; step < version() && answer.ok(); ++step) {
        const Step& next = steps()[static_cast<size_t>(step)];
        answer = DB_BEGIN(Store);
        if (answer.ok()) answer = DB_SCRIPT(Store, next.script);
        if (answer.ok() && next.fill) answer = next.fill();
        if (answer.ok()) answer = DB_SETUSERVERSION(Store, step + 1);
        if (answer.ok()) answer = DB_COMMIT(Store);
        if (!answer.ok()) DB_ROLLBACK(Store);
    }
    return answer;
}

// Puts an analysis into the search index, or takes it out: an index without content of its own
// is told the very pieces it was given. row: id, customer, sales rep, scenario.
DbAnswer searchIndex(const std::vector<std::string>& row, bool add) {
    const SearchPieces pieces = SEARCHPIECES({row[1], row[2], row[3]});
    return DB_RUN(Store,
                  std::string("INSERT INTO analyses_search (") + (add ? "" : "analyses_search, ") +
                      "rowid, threes, shorter) VALUES (" + (add ? "" : "'delete', ") + "?1, ?2, ?3)",
                  {row[0], pieces.threes, pieces.shorter});
}

// Puts the analyses that `where` picks into the search index, or takes them out.
DbAnswer searchIndexWhere(const std::string& where, const std::vector<std::string>& parameters, bool add) {
    DbAnswer found = DB_RUN(Store, "SELECT id, customer, sales_rep, scenario FROM analyses WHERE " + where, parameters);
    for (size_t n = 0; n < found.rows.size() && found.ok(); ++n) found.outcome = searchIndex(found.rows[n], add).outcome;
    return found;
}

// Indexes every analysis of a file saved before the store had a search index.
DbAnswer indexEvery() {
    DbAnswer page;
    std::string last = "0";
    do {
        page = searchIndexWhere("id > ?1 ORDER BY id LIMIT 1000", {last}, true);
        if (!page.rows.empty()) last = page.rows.back()[0];
    } while (page.ok() && !page.rows.empty());
    return page;
}

// The ids of the analyses the search finds, as a SELECT whose parameter is added to parameters;
// "" when the search has no words and so finds every analysis.
std::string foundIds(const std::string& search, std::vector<std::string>& parameters) {
    const std::string query = SEARCHQUERY(search);
    if (query.empty()) return "";
    parameters.push_back(query);
    return "SELECT rowid FROM analyses_search WHERE analyses_search MATCH ?" + std::to_string(parameters.size());
}

// The terms of the list's order for ORDER BY: the latest first, or by the order's terms with the
// latest first among equals, the whole order turned over when descending.
std::string orderBy(const AnalysisList& list) {
    const bool up = list.ascending || list.order == AnalysisOrder::Latest;
    std::string sql;
    for (const std::string& term : orderTerms(list.order)) sql += term + (up ? " ASC, " : " DESC, ");
    return sql + (up ? "id DESC" : "id ASC");
}

// Where one analysis stands in the list: how many the list shows before it, -1 when not shown.
int64_t placeOf(const AnalysisList& list, int64_t id) {
    std::vector<std::string> parameters = {std::to_string(id)};
    const std::string found = foundIds(list.search, parameters);
    const auto key = [&](const std::string& prefix) {
        std::string terms;
        for (const std::string& term : orderTerms(list.order, prefix)) terms += term + ", ";
        return "(" + terms + "-" + prefix + "id)";
    };
    const bool up = list.ascending || list.order == AnalysisOrder::Latest;
    const std::string shown = found.empty() ? "" : " AND a.id IN (" + found + ")";
    const DbAnswer answer =
        DB_RUN(Store,
               "SELECT (SELECT count(*) FROM analyses a WHERE " + key("a.") + (up ? " < " : " > ") + key("b.") +
                   shown + ") FROM analyses b WHERE b.id = ?1" + (found.empty() ? "" : " AND b.id IN (" + found + ")"),
               parameters, 1);
    return answer.ok() && !answer.rows.empty() && !answer.rows[0].empty() ? numberOf(answer.rows[0][0]) : -1;
}

// Where each of many analyses stands, in one pass over the list.
std::vector<int64_t> placesInOnePass(const AnalysisList& list, const std::vector<int64_t>& ids) {
    std::vector<std::string> parameters;
    const std::string found = foundIds(list.search, parameters);
    std::string wanted;
    for (int64_t id : ids) wanted += (wanted.empty() ? "[" : ",") + std::to_string(id);
    parameters.push_back(wanted + "]");
    const DbAnswer answer =
        DB_RUN(Store,
               "SELECT id, place FROM (SELECT id, row_number() OVER (ORDER BY " + orderBy(list) +
                   ") - 1 AS place FROM analyses" + (found.empty() ? "" : " WHERE id IN (" + found + ")") +
                   ") WHERE id IN (SELECT value FROM json_each(?" + std::to_string(parameters.size()) + "))",
               parameters);
    std::map<int64_t, int64_t> places;
    for (const std::vector<std::string>& row : answer.rows)
        if (row.size() == 2) places[numberOf(row[0])] = numberOf(row[1]);
    std::vector<int64_t> result;
    for (int64_t id : ids) result.push_back(places.contains(id) ? places[id] : -1);
    return result;
}

std::string damagedNotice(const std::string& finding, const std::string& aside) {
    return "The file of saved analyses was damaged (" + finding + "). It has been kept aside as " + aside + " in " +
           Folder + ", and a new, empty one has been started.";
}

std::string openIn(const std::string& folder, bool afterKeepingAside);

// A damaged file is kept aside and a new one started in its place; the notice says which.
std::string keepAside(const std::string& finding) {
    DB_CLOSE(Store);
    Store = 0;
    const std::string aside = OS_FOLDERTAKESFILES(Folder) ? moveAside(Folder) : "";
    if (aside.empty())
        return refuse("The file of saved analyses, " + StoreFile + ", is damaged (" + finding +
                      ") and could not be kept aside, so no analysis can be opened or saved.");
    const std::string notice = damagedNotice(finding, aside);
    const std::string next = openIn(Folder, true);
    return next.empty() ? notice : notice + " " + next;
}

// Opens the store; the whole-file check starts on its own thread once the file has opened.
std::string openIn(const std::string& folder, bool afterKeepingAside) {
    CLOSESTORE();
    Folder = folder;
    StoreFile = folder + "Clients.db";
    const bool exists = OS_FILEEXISTS(StoreFile), folderWritable = OS_FOLDERTAKESFILES(folder);
    if (!exists && !folderWritable)
        return refuse("The saved analyses cannot be kept in " + folder + ": that folder may not be written.");
    const bool readOnly = exists && (!OS_FILEWRITABLE(StoreFile) || !folderWritable);
    DbAnswer answer = DB_OPEN(StoreFile, readOnly, Store);
    if (answer.outcome == DbOutcome::Damaged && !afterKeepingAside) return keepAside(answer.message);
    if (answer.outcome == DbOutcome::Busy)
        return refuse("The file of saved analyses, " + StoreFile +
                      ", is in use by another program. Close that program and try again.");
    int64_t fileVersion = 0;
    if (answer.ok()) answer = DB_USERVERSION(Store, fileVersion);
    std::string notice;
    if (answer.ok() && fileVersion > version()) {
        if (!readOnly) DB_CLOSE(Store);
        if (!readOnly) answer = DB_OPEN(StoreFile, true, Store);
        CannotSave = "Saving is not possible: the file of saved analyses was written by a newer version of "
                     "Tarvex. Update Tarvex to save analyses.";
        notice = "The file of saved analyses, " + StoreFile +
                 ", was written by a newer version of Tarvex. Its analyses can be opened, but none can be "
                 "saved until Tarvex is updated.";
    } else if (answer.ok() && readOnly) {
        CannotSave = "Saving is not possible: the file of saved analyses, " + StoreFile + ", may not be written.";
        notice = "The file of saved analyses, " + StoreFile +
                 ", may not be written. Its analyses can be opened, but none can be saved.";
    } else if (answer.ok()) {
        answer = migrate(fileVersion);
    }
    if (answer.outcome == DbOutcome::Damaged && !afterKeepingAside) return keepAside(answer.message);
    if (!answer.ok())
        return refuse("The file of saved analyses, " + StoreFile + ", could not be opened (" + answer.message + ").");
    Check = DB_STARTCHECK(StoreFile);
    return notice;
}

// Takes the answer of the whole-file check when it is done, or waits for it: a damaged file is
// kept aside before anything more is written to it, and the user is to be told.
void settle(bool wait) {
    if (Check == 0 || (!wait && !DB_CHECKDONE(Check))) return;
    const DbAnswer answer = DB_CHECKRESULT(Check);
    Check = 0;
    if (answer.outcome == DbOutcome::Damaged) Pending = keepAside(answer.message);
}

bool mayChange(std::string& why) {
    settle(true);
    why = CannotSave;
    if (why.empty() && Store == 0) why = "The saved analyses are not open.";
    return why.empty();
}

// Why the analysis cannot be saved as it is, or "".
std::string refusal(const Analysis& analysis) {
    if (ISBLANK(analysis.customer)) return "Type the customer's name before saving the analysis.";
    if (ISBLANK(analysis.scenario)) return "Give the analysis a scenario name before saving it.";
    if (analysis.stations.size() > kMaxStations) return "An analysis holds at most 8 stations.";
    bool tooLong = false;
    for (const AnalysisField& field : kAnalysisFields) tooLong = tooLong || (analysis.*field.member).size() > kDbMaxText;
    for (const SavedStation& station : analysis.stations)
        for (const std::string* text : {&station.name, &station.cume, &station.share})
            tooLong = tooLong || text->size() > kDbMaxText;
    return tooLong ? "A text of the analysis is too long to be saved (at most 64 KB each)." : "";
}

// Saves one analysis inside the open transaction, replacing one of the same customer and
// scenario; its id and time of saving come back in id and saved.
DbAnswer saveOne(const Analysis& analysis, std::string& id, std::string& saved) {
    const std::vector<std::string> key = {analysis.customer, analysis.scenario};
    DbAnswer answer = searchIndexWhere("customer = ?1 AND scenario = ?2", key, false);
    if (answer.ok())
        answer = DB_RUN(Store,
                             "DELETE FROM stations WHERE analysis IN "
                             "(SELECT id FROM analyses WHERE customer = ?1 AND scenario = ?2)",
                             key);
    if (answer.ok()) answer = DB_RUN(Store, "DELETE FROM analyses WHERE customer = ?1 AND scenario = ?2", key);
    std::vector<std::string> texts;
    std::string values;
    for (const AnalysisField* field : storedFields()) {
        texts.push_back(analysis.*field->member);
        values += "?" + std::to_string(texts.size()) + ", ";
    }
    if (answer.ok())
        answer = DB_RUN(Store,
                        "INSERT INTO analyses (" + storedColumns() + ", saved) VALUES (" + values +
                            "strftime('%Y-%m-%d %H:%M', 'now', 'localtime')) RETURNING id, saved",
                        texts, 1);
    if (answer.ok() && (answer.rows.empty() || answer.rows[0].size() != 2)) answer.outcome = DbOutcome::Failed;
    if (!answer.ok()) return answer;
    id = answer.rows[0][0];
    saved = answer.rows[0][1];
    answer = searchIndex({id, analysis.customer, analysis.salesRep, analysis.scenario}, true);
    for (size_t position = 0; position < analysis.stations.size() && answer.ok(); ++position) {
        const SavedStation& station = analysis.stations[position];
        answer = DB_RUN(Store,
                        "INSERT INTO stations (analysis, position, name, cume, ticked, share) "
                        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
                        {id, std::to_string(position), station.name, station.cume, station.ticked ? "1" : "0",
                         station.share});
    }
    return answer;
}

}  // namespace

std::string OPENSTORE(const std::string& folder) { return openIn(folder, false); }

void CLOSESTORE() {
    DB_STOPCHECK(Check);
    Check = 0;
    DB_CLOSE(Store);
    Store = 0;
    CannotSave.clear();
    Pending.clear();
}

std::string STORECHECKED(bool wait) {
    settle(wait);
    return std::exchange(Pending, "");
}

std::string STOREREADONLY() { return Store == 0 && CannotSave.empty() ? "The saved analyses are not open." : CannotSave; }

bool SAVEANALYSES(std::vector<Analysis>& analyses, std::string& why) {
    if (!mayChange(why)) return false;
    for (const Analysis& analysis : analyses)
        if (!(why = refusal(analysis)).empty()) return false;
    std::vector<std::string> ids(analyses.size()), times(analyses.size());
    DbAnswer answer = DB_BEGIN(Store);
    for (size_t i = 0; i < analyses.size() && answer.ok(); ++i) answer = saveOne(analyses[i], ids[i], times[i]);
    if (answer.ok()) answer = DB_COMMIT(Store);
    if (!answer.ok()) {
        DB_ROLLBACK(Store);
        why = "The analysis was not saved: " + failureText(answer);
        return false;
    }
    for (size_t i = 0; i < analyses.size(); ++i) {
        analyses[i].id = numberOf(ids[i]);
        analyses[i].saved = times[i];
    }
    return true;
}

bool SAVEANALYSIS(Analysis& analysis, std::string& why) {
    std::vector<Analysis> one{analysis};
    if (!SAVEANALYSES(one, why)) return false;
    analysis.id = one[0].id;
    analysis.saved = one[0].saved;
    return true;
}

bool ANALYSISEXISTS(const std::string& customer, const std::string& scenario) {
    DbAnswer answer =
        DB_RUN(Store, "SELECT 1 FROM analyses WHERE customer = ?1 AND scenario = ?2", {customer, scenario}, 1);
    return answer.ok() && !answer.rows.empty();
}

int64_t COUNTANALYSES(const std::string& search) {
    std::vector<std::string> parameters;
    const std::string ids = foundIds(search, parameters);
    const DbAnswer answer =
        DB_RUN(Store, ids.empty() ? "SELECT count(*) FROM analyses" : "SELECT count(*) FROM (" + ids + ")", parameters, 1);
    return answer.ok() && !answer.rows.empty() && !answer.rows[0].empty() ? numberOf(answer.rows[0][0]) : 0;
}

// The latest first are found in the order of the search index, which then needs no sort. In
// another order, what a search finds is sorted when it is little, and picked from the order's
// index while walking it when it is much, which sorting would take longer than.
std::vector<AnalysisSummary> LISTANALYSES(const AnalysisList& list, int64_t first, int64_t count) {
    std::vector<std::string> parameters;
    const std::string ids = foundIds(list.search, parameters);
    const std::string window = " LIMIT " + std::to_string(std::clamp<int64_t>(count, 0, kDbMaxRows)) + " OFFSET " +
                               std::to_string(std::max<int64_t>(first, 0));
    const bool byIds = !ids.empty() && list.order == AnalysisOrder::Latest;
    const std::string where = ids.empty() ? ""
                              : byIds     ? " WHERE id IN (" + ids + " ORDER BY rowid DESC" + window + ")"
                                          : " WHERE id IN (" + ids + ")";
    std::string walked;
    for (const auto& [name, order] : kSortIndexes)
        if (order == list.order && !ids.empty() && COUNTANALYSES(list.search) > kSortedAtMost)
            walked = std::string(" INDEXED BY ") + name;
    DbAnswer answer = DB_RUN(Store,
                             "SELECT id, customer, sales_rep, scenario, saved, budget, gross_return, responses "
                             "FROM analyses" + walked + where + " ORDER BY " + orderBy(list) + (byIds ? "" : window),
                             parameters, kDbMaxRows, kListText);
    std::vector<AnalysisSummary> summaries;
    summaries.reserve(answer.rows.size());
    for (std::vector<std::string>& row : answer.rows) {
        if (row.size() != 8) break;
        summaries.push_back({numberOf(row[0]), std::move(row[1]), std::move(row[2]), std::move(row[3]),
                             std::move(row[4]), std::move(row[5]), std::move(row[6]), std::move(row[7])});
    }
    return summaries;
}

std::vector<int64_t> PLACESOFANALYSES(const AnalysisList& list, const std::vector<int64_t>& ids) {
    if (ids.size() > kPlacedOneByOne) return placesInOnePass(list, ids);
    std::vector<int64_t> places;
    for (int64_t id : ids) places.push_back(placeOf(list, id));
    return places;
}

Analysis LOADANALYSIS(int64_t id) {
    Analysis analysis;
    const std::vector<std::string> key = {std::to_string(id)};
    DbAnswer answer =
        DB_RUN(Store, "SELECT id, saved, " + storedColumns() + " FROM analyses WHERE id = ?1", key, 1);
    const std::vector<const AnalysisField*> fields = storedFields();
    if (!answer.ok() || answer.rows.empty() || answer.rows[0].size() != 2 + fields.size()) return analysis;
    const std::vector<std::string>& row = answer.rows[0];
    analysis.saved = row[1];
    for (size_t i = 0; i < fields.size(); ++i) analysis.*fields[i]->member = row[2 + i];
    const DbAnswer stations = DB_RUN(
        Store, "SELECT name, cume, ticked, share FROM stations WHERE analysis = ?1 ORDER BY position", key, kMaxStations);
    if (!stations.ok()) return Analysis{};
    for (const std::vector<std::string>& station : stations.rows)
        if (station.size() == 4) analysis.stations.push_back({station[0], station[1], station[2] == "1", station[3]});
    analysis.id = numberOf(row[0]);
    return analysis;
}

bool RENAMEANALYSIS(int64_t id, const std::string& scenario, std::string& why) {
    if (!mayChange(why)) return false;
    if (ISBLANK(scenario)) why = "Give the analysis a scenario name.";
    if (scenario.size() > kDbMaxText) why = "The scenario name is too long.";
    if (!why.empty()) return false;
    const std::vector<std::string> key = {std::to_string(id)};
    DbAnswer answer = DB_BEGIN(Store);
    if (answer.ok()) answer = searchIndexWhere("id = ?1", key, false);
    const bool found = answer.ok() && !answer.rows.empty();
    if (answer.ok()) answer = DB_RUN(Store, "UPDATE analyses SET scenario = ?2 WHERE id = ?1", {key[0], scenario});
    if (answer.ok()) answer = searchIndexWhere("id = ?1", key, true);
    if (answer.ok()) answer = DB_COMMIT(Store);
    if (!answer.ok()) DB_ROLLBACK(Store);
    if (answer.outcome == DbOutcome::Constraint)
        why = "This customer already has an analysis named \"" + scenario + "\".";
    else if (!answer.ok())
        why = "The analysis was not renamed: " + failureText(answer);
    else if (!found)
        why = "That analysis is no longer saved.";
    return why.empty();
}

bool DELETEANALYSES(const std::vector<int64_t>& ids, std::string& why) {
    if (!mayChange(why)) return false;
    DbAnswer answer = DB_BEGIN(Store);
    bool found = true;
    for (size_t n = 0; n < ids.size() && answer.ok(); ++n) {
        const std::vector<std::string> key = {std::to_string(ids[n])};
        answer = searchIndexWhere("id = ?1", key, false);
        if (answer.ok()) answer = DB_RUN(Store, "DELETE FROM stations WHERE analysis = ?1", key);
        if (answer.ok()) answer = DB_RUN(Store, "DELETE FROM analyses WHERE id = ?1 RETURNING id", key, 1);
        found = found && answer.ok() && !answer.rows.empty();
    }
    if (answer.ok()) answer = DB_COMMIT(Store);
    if (!answer.ok()) {
        DB_ROLLBACK(Store);
        why = "The analyses were not deleted: " + failureText(answer);
    } else if (!found) {
        why = ids.size() == 1 ? "That analysis is no longer saved." : "Some of the analyses were no longer saved.";
    }
    return why.empty();
}
