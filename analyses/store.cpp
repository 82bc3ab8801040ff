// The saved analyses in "Clients.db": opening and upgrading the file, keeping a damaged one
// aside, and saving, listing, loading, renaming and deleting analyses, each in one transaction.
#include "analyses/store.h"

#include <charconv>
#include <cstdio>

#include "platform/database.h"
#include "platform/files.h"
#include "platform/local_date.h"
#include "platform/text.h"

namespace {

constexpr size_t kMaxStations = 8;
// The list shows short texts; the whole ones come with LOADANALYSIS.
constexpr size_t kListText = 256;

// The schema, one step per version: step n takes a file of version n to version n + 1. A later
// version of the program adds steps and never changes one.
const char* const kSteps[] = {
    R"(CREATE TABLE analyses (
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
};
constexpr int64_t kVersion = sizeof kSteps / sizeof kSteps[0];

// The texts of an analysis in the order of the columns named below, "saved" apart.
constexpr std::string Analysis::*kTexts[] = {
    &Analysis::customer,    &Analysis::salesRep,     &Analysis::scenario,  &Analysis::budget,
    &Analysis::roi,         &Analysis::margin,       &Analysis::averageSale, &Analysis::closingRatio,
    &Analysis::comments,    &Analysis::netReturn,    &Analysis::grossReturn, &Analysis::sales,
    &Analysis::responses};
const char* const kTextColumns =
    "customer, sales_rep, scenario, budget, roi, margin, average_sale, closing_ratio, comments, net_return, "
    "gross_return, sales, responses";

int32_t Store = 0;        // the open database, 0 when none
std::string StoreFile;    // its path
std::string CannotSave;   // why nothing can be saved, empty when saving is possible

int64_t idOf(const std::string& text) {
    int64_t id = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size() ? id : 0;
}

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

// Opens the file and checks it whole; Store is set when the answer is Ok.
DbAnswer openChecked(bool readOnly) {
    DbAnswer answer = DB_OPEN(StoreFile, readOnly, Store);
    if (answer.ok()) answer = DB_INTEGRITYCHECK(Store);
    if (!answer.ok()) {
        DB_CLOSE(Store);
        Store = 0;
    }
    return answer;
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
DbAnswer migrate(int64_t version) {
    DbAnswer answer;
    for (int64_t step = version; step < kVersion && answer.ok(); ++step) {
        answer = DB_BEGIN(Store);
        if (answer.ok()) answer = DB_SCRIPT(Store, kSteps[step]);
        if (answer.ok()) answer = DB_SETUSERVERSION(Store, step + 1);
        if (answer.ok()) answer = DB_COMMIT(Store);
        if (!answer.ok()) DB_ROLLBACK(Store);
    }
    return answer;
}

bool mayChange(std::string& why) {
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
    for (auto text : kTexts) tooLong = tooLong || (analysis.*text).size() > kDbMaxText;
    for (const SavedStation& station : analysis.stations)
        for (const std::string* text : {&station.name, &station.cume, &station.share})
            tooLong = tooLong || text->size() > kDbMaxText;
    return tooLong ? "A text of the analysis is too long to be saved (at most 64 KB each)." : "";
}

// Saves one analysis inside the open transaction, replacing one of the same customer and
// scenario; its id and time of saving come back in id and saved.
DbAnswer saveOne(const Analysis& analysis, std::string& id, std::string& saved) {
    const std::vector<std::string> key = {analysis.customer, analysis.scenario};
    DbAnswer answer = DB_RUN(Store,
                             "DELETE FROM stations WHERE analysis IN "
                             "(SELECT id FROM analyses WHERE customer = ?1 AND scenario = ?2)",
                             key);
    if (answer.ok()) answer = DB_RUN(Store, "DELETE FROM analyses WHERE customer = ?1 AND scenario = ?2", key);
    std::vector<std::string> texts;
    for (auto text : kTexts) texts.push_back(analysis.*text);
    if (answer.ok())
        answer = DB_RUN(Store,
                        std::string("INSERT INTO analyses (") + kTextColumns +
                            ", saved) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, "
                            "strftime('%Y-%m-%d %H:%M', 'now', 'localtime')) RETURNING id, saved",
                        texts, 1);
    if (answer.ok() && (answer.rows.empty() || answer.rows[0].size() != 2)) answer.outcome = DbOutcome::Failed;
    if (!answer.ok()) return answer;
    id = answer.rows[0][0];
    saved = answer.rows[0][1];
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

std::string OPENSTORE(const std::string& folder) {
    CLOSESTORE();
    StoreFile = folder + "Clients.db";
    const bool exists = OS_FILEEXISTS(StoreFile), folderWritable = OS_FOLDERTAKESFILES(folder);
    if (!exists && !folderWritable)
        return refuse("The saved analyses cannot be kept in " + folder + ": that folder may not be written.");
    bool readOnly = exists && (!OS_FILEWRITABLE(StoreFile) || !folderWritable);
    DbAnswer answer = openChecked(readOnly);
    std::string notice;
    if (answer.outcome == DbOutcome::Damaged) {
        const std::string aside = folderWritable ? moveAside(folder) : "";
        if (aside.empty())
            return refuse("The file of saved analyses, " + StoreFile + ", is damaged (" + answer.message +
                          ") and could not be kept aside, so no analysis can be opened or saved.");
        notice = "The file of saved analyses was damaged (" + answer.message + "). It has been kept aside as " +
                 aside + " in " + folder + ", and a new, empty one has been started.";
        readOnly = false;
        answer = openChecked(false);
    }
    if (answer.outcome == DbOutcome::Busy)
        return refuse(notice + (notice.empty() ? "" : " ") + "The file of saved analyses, " + StoreFile +
                      ", is in use by another program. Close that program and try again.");
    int64_t version = 0;
    if (answer.ok()) answer = DB_USERVERSION(Store, version);
    if (answer.ok() && version > kVersion) {
        if (!readOnly) DB_CLOSE(Store);
        if (!readOnly) answer = DB_OPEN(StoreFile, true, Store);
        CannotSave = "Saving is not possible: the file of saved analyses was written by a newer version of "
                     "Tarvex. Update Tarvex to save analyses.";
        if (answer.ok())
            return "The file of saved analyses, " + StoreFile +
                   ", was written by a newer version of Tarvex. Its analyses can be opened, but none can be "
                   "saved until Tarvex is updated.";
    } else if (answer.ok() && readOnly) {
        CannotSave = "Saving is not possible: the file of saved analyses, " + StoreFile + ", may not be written.";
        return "The file of saved analyses, " + StoreFile +
               ", may not be written. Its analyses can be opened, but none can be saved.";
    } else if (answer.ok()) {
        answer = migrate(version);
    }
    if (!answer.ok())
        return refuse(notice + (notice.empty() ? "" : " ") + "The file of saved analyses, " + StoreFile +
                      ", could not be opened (" + answer.message + ").");
    return notice;
}

void CLOSESTORE() {
    DB_CLOSE(Store);
    Store = 0;
    CannotSave.clear();
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
        analyses[i].id = idOf(ids[i]);
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

std::vector<AnalysisSummary> LISTANALYSES() {
    DbAnswer answer = DB_RUN(Store,
                             "SELECT id, customer, sales_rep, scenario, saved, budget, gross_return, responses "
                             "FROM analyses ORDER BY id DESC",
                             {}, kDbMaxRows, kListText);
    std::vector<AnalysisSummary> list;
    list.reserve(answer.rows.size());
    for (std::vector<std::string>& row : answer.rows) {
        if (row.size() != 8) break;
        list.push_back({idOf(row[0]), std::move(row[1]), std::move(row[2]), std::move(row[3]), std::move(row[4]),
                        std::move(row[5]), std::move(row[6]), std::move(row[7])});
    }
    return list;
}

Analysis LOADANALYSIS(int64_t id) {
    Analysis analysis;
    const std::vector<std::string> key = {std::to_string(id)};
    DbAnswer answer =
        DB_RUN(Store, std::string("SELECT id, saved, ") + kTextColumns + " FROM analyses WHERE id = ?1", key, 1);
    if (!answer.ok() || answer.rows.empty() || answer.rows[0].size() != 2 + std::size(kTexts)) return analysis;
    const std::vector<std::string>& row = answer.rows[0];
    analysis.saved = row[1];
    for (size_t i = 0; i < std::size(kTexts); ++i) analysis.*kTexts[i] = row[2 + i];
    const DbAnswer stations = DB_RUN(
        Store, "SELECT name, cume, ticked, share FROM stations WHERE analysis = ?1 ORDER BY position", key, kMaxStations);
    if (!stations.ok()) return Analysis{};
    for (const std::vector<std::string>& station : stations.rows)
        if (station.size() == 4) analysis.stations.push_back({station[0], station[1], station[2] == "1", station[3]});
    analysis.id = idOf(row[0]);
    return analysis;
}

bool RENAMEANALYSIS(int64_t id, const std::string& scenario, std::string& why) {
    if (!mayChange(why)) return false;
    if (ISBLANK(scenario)) why = "Give the analysis a scenario name.";
    if (scenario.size() > kDbMaxText) why = "The scenario name is too long.";
    if (!why.empty()) return false;
    DbAnswer answer = DB_RUN(Store, "UPDATE analyses SET scenario = ?2 WHERE id = ?1 RETURNING id",
                             {std::to_string(id), scenario}, 1);
    if (answer.outcome == DbOutcome::Constraint)
        why = "This customer already has an analysis named \"" + scenario + "\".";
    else if (!answer.ok())
        why = "The analysis was not renamed: " + failureText(answer);
    else if (answer.rows.empty())
        why = "That analysis is no longer saved.";
    return why.empty();
}

bool DELETEANALYSIS(int64_t id, std::string& why) {
    if (!mayChange(why)) return false;
    const std::vector<std::string> key = {std::to_string(id)};
    DbAnswer answer = DB_BEGIN(Store);
    if (answer.ok()) answer = DB_RUN(Store, "DELETE FROM stations WHERE analysis = ?1", key);
    if (answer.ok()) answer = DB_RUN(Store, "DELETE FROM analyses WHERE id = ?1 RETURNING id", key, 1);
    const bool found = answer.ok() && !answer.rows.empty();
    if (answer.ok()) answer = DB_COMMIT(Store);
    if (!answer.ok()) {
        DB_ROLLBACK(Store);
        why = "The analysis was not deleted: " + failureText(answer);
    } else if (!found) {
        why = "That analysis is no longer saved.";
    }
    return why.empty();
}
