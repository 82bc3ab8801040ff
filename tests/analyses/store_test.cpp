// The store of saved analyses on disk: a round trip, empty, damaged, read-only and newer files,
// and a writer killed at random moments.
#include "analyses/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <random>

#include "platform/database.h"
#include "platform/files.h"
#include "platform/local_date.h"
#include "tests/analyses/writer_rounds.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

namespace fs = std::filesystem;

namespace {

// A new, empty folder with the store opened in it.
std::string openedIn(const std::string& name) {
    const std::string folder = utf8(scratchFolder("store-" + name)) + "/";
    EXPECT_EQ(OPENSTORE(folder), "");
    return folder;
}

Analysis saved(Analysis analysis) {
    std::string why;
    EXPECT_TRUE(SAVEANALYSIS(analysis, why)) << why;
    return analysis;
}

// The file's schema version when PRAGMA integrity_check finds it whole, else -1.
int64_t checkedVersion(const std::string& file) {
    int32_t db = 0;
    int64_t version = -1;
    if (!DB_CHECKRESULT(DB_STARTCHECK(file)).ok() || !DB_OPEN(file, true, db).ok() || !DB_USERVERSION(db, version).ok())
        version = -1;
    DB_CLOSE(db);
    return version;
}

// Starts the store writer from round first, waits until it has reported `want` commits, kills it,
// and returns every round it reported; empty when it stopped by itself or never got so far.
std::vector<long> runAndKill(const std::string& folder, long first, size_t want) {
    ChildProcess writer(STORE_WRITER, {folder, std::to_string(first)});
    std::vector<long> rounds;
    while (writer.started() && rounds.size() < want) {
        const std::optional<std::string> line = writer.readLine(30000);
        if (!line) return {};
        rounds.push_back(std::stol(*line));
    }
    if (!writer.kill()) return {};
    // What it wrote before the kill and was not read yet, it reported too.
    while (const std::optional<std::string> line = writer.readLine(0)) rounds.push_back(std::stol(*line));
    return rounds;
}

}  // namespace

TEST(AnalysesStore, SaveListLoadReplaceRenameDelete) {
    const std::string folder = openedIn("round-trip");
    const Analysis first = saved(writerRound(8)), second = saved(writerRound(28)), other = saved(writerRound(1));
    const std::vector<AnalysisSummary> list = LISTANALYSES();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].id, other.id);
    EXPECT_EQ(list[2].scenario + list[2].grossReturn, "Plan 0g8");
    EXPECT_EQ(fieldsOf(LOADANALYSIS(first.id)), fieldsOf(first));
    EXPECT_EQ(LOADANALYSIS(first.id).saved.size(), 16u);  // "YYYY-MM-DD HH:MM"
    // The same customer and scenario, in other letter case, replaces the analysis.
    Analysis again = writerRound(68);
    again.customer = "CLIENT 8", again.scenario = "plan 0";
    EXPECT_TRUE(ANALYSISEXISTS(again.customer, again.scenario));
    again = saved(again);
    EXPECT_EQ(LISTANALYSES().size(), 3u);
    EXPECT_EQ(fieldsOf(LOADANALYSIS(LISTANALYSES()[0].id)), fieldsOf(again));
    EXPECT_EQ(LOADANALYSIS(first.id).id, 0);
    std::string why;
    EXPECT_FALSE(RENAMEANALYSIS(again.id, "Plan 1", why));
    EXPECT_NE(why.find("already has"), std::string::npos);
    EXPECT_TRUE(RENAMEANALYSIS(again.id, "Light", why) && ANALYSISEXISTS("Client 8", "Light")) << why;
    EXPECT_TRUE(DELETEANALYSES({second.id}, why)) << why;
    EXPECT_FALSE(DELETEANALYSES({second.id}, why));
    // Bad input changes nothing.
    Analysis blank = writerRound(3), nine = writerRound(3);
    blank.customer = "  ";
    nine.stations.resize(9);
    EXPECT_FALSE(SAVEANALYSIS(blank, why) || SAVEANALYSIS(nine, why));
    EXPECT_EQ(LISTANALYSES().size(), 2u);
    CLOSESTORE();
    fs::remove_all(fromUtf8(folder));
}

// The search finds the analyses with every word typed, in any case, in one of their three texts
// and never across two of them, also after a rename, a replacement and a deletion.
TEST(AnalysesStore, SearchFindsEveryWordInAnyCaseWithinOneText) {
    const std::string folder = openedIn("search");
    const auto analysis = [](const char* customer, const char* rep, const char* scenario) {
        Analysis a = writerRound(1);
        a.customer = customer, a.salesRep = rep, a.scenario = scenario;
        return saved(a);
    };
    const Analysis motors = analysis("Main Street MOTORS", "Jo Smith", "Heavy Schedule");
    analysis("Harbor Dental", "Ann Lee", "Light"), analysis("Client abc", "bcd Rep", "Plan");
    const struct {
        const char* search;
        int64_t found;
    } searches[] = {{"", 3},           {"   ", 3},         {"m", 1},          {"MOTORS", 1},   {"street heavy", 1},
                    {"  jo   heavy ", 1}, {"heavy light", 0}, {"z", 0},       {"motorsjo", 0}, {"s j", 1},
                    {"schedule!", 0},  {"é", 0},          {"l", 3},          {"ht", 1},       {"abc", 1},
                    {"abcd", 0},       {"\"", 0},         {"a OR b", 1}};
    for (const auto& s : searches) EXPECT_EQ(COUNTANALYSES(s.search), s.found) << "\"" << s.search << "\"";
    std::string why;
    Analysis replaced = writerRound(1);
    replaced.customer = "main street motors", replaced.salesRep = "Kim", replaced.scenario = "heavy schedule";
    replaced = saved(replaced);
    EXPECT_TRUE(RENAMEANALYSIS(replaced.id, "Summer", why)) << why;
    EXPECT_TRUE(DELETEANALYSES({LISTANALYSES({"dental"}).at(0).id}, why)) << why;
    const std::pair<const char*, int64_t> after[] = {{"jo", 0}, {"kim summer", 1}, {"heavy", 0}, {"dental", 0}, {"l", 1}};
    for (const auto& [search, found] : after) EXPECT_EQ(COUNTANALYSES(search), found) << search;
    EXPECT_EQ(LISTANALYSES({"motors"}).at(0).id, replaced.id);
    EXPECT_NE(replaced.id, motors.id);
    CLOSESTORE();
    fs::remove_all(fromUtf8(folder));
}

// Each column sorts both ways, figures by value before other texts, texts regardless of case, the
// latest first among equals; a page starts where it is asked to, and every analysis has its place.
TEST(AnalysesStore, ListsSortByEachColumnAndPlaceEveryAnalysis) {
    const std::string folder = openedIn("sort");
    const char* const rows[][3] = {{"Acme", "$1,200", "12%"}, {"bravo", "$950", "n/a"}, {"Charlie", "$10,000", "5%"},
                                   {"alpha", "-", "40%"},     {"delta", "$950", "5%"}};
    std::vector<int64_t> ids;
    for (const auto& row : rows) {
        Analysis a = writerRound(static_cast<long>(ids.size()));
        a.customer = row[0], a.budget = row[1], a.responses = row[2];
        ids.push_back(saved(a).id);
    }
    const struct {
        AnalysisOrder order;
        bool ascending;
        std::vector<int> rows;
    } orders[] = {{AnalysisOrder::Latest, true, {4, 3, 2, 1, 0}},   {AnalysisOrder::Customer, true, {0, 3, 1, 2, 4}},
                  {AnalysisOrder::Customer, false, {4, 2, 1, 3, 0}}, {AnalysisOrder::Budget, true, {4, 1, 0, 2, 3}},
                  {AnalysisOrder::Budget, false, {3, 2, 0, 1, 4}},   {AnalysisOrder::Responses, true, {4, 2, 0, 3, 1}}};
    for (const auto& o : orders) {
        std::vector<int64_t> expected, listed, pageTwo;
        for (int row : o.rows) expected.push_back(ids[static_cast<size_t>(row)]);
        for (const AnalysisSummary& a : LISTANALYSES({"", o.order, o.ascending})) listed.push_back(a.id);
        for (const AnalysisSummary& a : LISTANALYSES({"", o.order, o.ascending}, 2, 2)) pageTwo.push_back(a.id);
        EXPECT_EQ(listed, expected) << static_cast<int>(o.order) << o.ascending;
        EXPECT_EQ(pageTwo, std::vector<int64_t>(expected.begin() + 2, expected.begin() + 4));
        // Few are placed one by one, many in one pass; both agree.
        std::vector<int64_t> many = ids, places = {0, 1, 2, 3, 4}, manyPlaces(17, -1);
        many.resize(17, 999);
        for (size_t n = 0; n < ids.size(); ++n)
            manyPlaces[n] = places[n] = std::find(expected.begin(), expected.end(), ids[n]) - expected.begin();
        EXPECT_EQ(PLACESOFANALYSES({"", o.order, o.ascending}, ids), places);
        EXPECT_EQ(PLACESOFANALYSES({"", o.order, o.ascending}, many), manyPlaces);
    }
    EXPECT_EQ(PLACESOFANALYSES({"acme", AnalysisOrder::Customer}, {ids[0], ids[1]}), (std::vector<int64_t>{0, -1}));
    CLOSESTORE();
    fs::remove_all(fromUtf8(folder));
}

// A file from before the search index gets one, whole, on its first opening.
TEST(AnalysesStore, FileWithoutSearchIndexIsIndexedOnOpening) {
    const std::string folder = openedIn("upgrade");
    std::vector<Analysis> many;
    for (long n = 0; n < 1500; ++n) {
        many.push_back(writerRound(n));
        many.back().customer = "Client " + std::to_string(n);
    }
    std::string why;
    ASSERT_TRUE(SAVEANALYSES(many, why)) << why;
    CLOSESTORE();
    int32_t db = 0;
    DB_OPEN(folder + "Clients.db", false, db);
    std::string drop = "DROP TABLE analyses_search;";
    for (const char* index : {"customer", "scenario", "saved", "budget", "gross_return", "responses"})
        drop += std::string("DROP INDEX analyses_by_") + index + ";";
    EXPECT_TRUE(DB_SCRIPT(db, drop).ok());
    DB_SETUSERVERSION(db, 1), DB_CLOSE(db);
    EXPECT_EQ(OPENSTORE(folder), "");
    EXPECT_EQ(COUNTANALYSES("client"), 1500);
    EXPECT_EQ(COUNTANALYSES("ent 1499"), 1);
    // So many found are picked from the sort index, in the same order as all of them.
    const auto customers = [](const std::string& search) {
        std::string names;
        for (const AnalysisSummary& a : LISTANALYSES({search, AnalysisOrder::Customer, false}, 1, 2)) names += a.customer + "|";
        return names;
    };
    EXPECT_EQ(customers("client"), "Client 998|Client 997|");
    EXPECT_EQ(customers(""), customers("client"));
    CLOSESTORE();
    EXPECT_EQ(checkedVersion(folder + "Clients.db"), 2);
    fs::remove_all(fromUtf8(folder));
}

// A file that cannot be used as it is gives its notice and loses nothing: its analysis can still
// be opened, or the damaged file is kept aside byte for byte before anything is written to it;
// an empty file becomes a new store.
TEST(AnalysesStore, EmptyDamagedReadOnlyAndNewerFiles) {
    int32_t year = 0, month = 0, day = 0;
    OS_TODAY(year, month, day);
    char aside[64];
    std::snprintf(aside, sizeof aside, "Clients.damaged-%04d-%02d-%02d", year, month, day);
    // A spoiling tells whether it took: Windows takes files in a folder marked read-only.
    const struct Case {
        const char* name;
        bool (*spoil)(const std::string& folder, const std::string& aside);
        std::string notice;
        size_t listed;
        int64_t version;
    } cases[] = {
        {"empty", [](const std::string& f, const std::string&) {
             fs::resize_file(fromUtf8(f + "Clients.db"), 0);
             return true;
         }, "", 0, 2},
        {"damaged", [](const std::string& f, const std::string& aside) {
             writeRaw(fromUtf8(f + "Clients.db"), std::string(5000, 'G'));
             writeRaw(fromUtf8(f + aside + ".db"), "kept");
             return true;
         }, aside + std::string("-2.db"), 0, 2},
        {"damaged-inside", [](const std::string& f, const std::string& aside) {
             std::string bytes = readRaw(fromUtf8(f + "Clients.db"));
             writeRaw(fromUtf8(f + "Clients.db"), bytes.replace(4096, 4096, 4096, 'G'));
             writeRaw(fromUtf8(f + aside + ".db"), "kept");
             return true;
         }, aside + std::string("-2.db"), 0, 2},
        {"read-only", [](const std::string& f, const std::string&) {
             fs::permissions(fromUtf8(f + "Clients.db"), fs::perms(0444));
             return true;
         }, "may not be written", 1, 2},
        {"read-only-folder", [](const std::string& f, const std::string&) {
             fs::permissions(fromUtf8(f), fs::perms(0555));
             return !OS_FOLDERTAKESFILES(f);
         }, "may not be written", 1, 2},
        {"newer", [](const std::string& f, const std::string&) {
             int32_t db = 0;
             DB_OPEN(f + "Clients.db", false, db), DB_SETUSERVERSION(db, 99), DB_CLOSE(db);
             return true;
         }, "newer version of Tarvex", 1, 99},
    };
    std::string spoiled;
    for (const Case& c : cases) {
        const std::string folder = openedIn(c.name);
        const Analysis kept = saved(writerRound(7));
        CLOSESTORE();
        if (c.spoil(folder, aside)) {
            spoiled = readRaw(fromUtf8(folder + "Clients.db"));
            // Damage inside the file is found by the check that runs once it has opened.
            std::string notice = OPENSTORE(folder);
            notice += STORECHECKED(true);
            EXPECT_TRUE(notice.find(c.notice) != std::string::npos && notice.empty() == c.notice.empty()) << notice;
            ASSERT_EQ(LISTANALYSES().size(), c.listed) << c.name;
            EXPECT_TRUE(c.listed == 0 || fieldsOf(LOADANALYSIS(LISTANALYSES()[0].id)) == fieldsOf(kept)) << c.name;
            Analysis analysis = writerRound(8);
            std::string why;
            EXPECT_EQ(SAVEANALYSIS(analysis, why), c.listed == 0) << c.name;
            EXPECT_EQ(why, STOREREADONLY()) << c.name;
            CLOSESTORE();
        }
        fs::permissions(fromUtf8(folder), fs::perms(0755));
        fs::permissions(fromUtf8(folder + "Clients.db"), fs::perms(0644));
        EXPECT_EQ(checkedVersion(folder + "Clients.db"), c.version) << c.name;
        EXPECT_TRUE(c.listed || c.notice.empty() ||
                    (readRaw(fromUtf8(folder + c.notice)) == spoiled &&
                     fs::file_size(fromUtf8(folder + aside + ".db")) == 4));
        fs::remove_all(fromUtf8(folder));
    }
}

// After each kill every analysis is whole: the one of the last round reported for it, or of a
// later round whose commit was done before it could be reported.
TEST(AnalysesStore, KilledWriterLeavesEveryReportedAnalysisWhole) {
    const std::string folder = openedIn("durability");
    CLOSESTORE();
    std::map<std::string, long> last;  // customer and scenario -> the last round reported for them
    auto key = [](const Analysis& a) { return a.customer + "|" + a.scenario; };
    std::mt19937 random(2205);
    long next = 1;
    for (int kill = 0; kill < 300; ++kill) {
        const std::vector<long> rounds = runAndKill(folder, next, std::uniform_int_distribution<size_t>(1, 4)(random));
        ASSERT_FALSE(rounds.empty()) << "the writer stopped by itself or never saved, kill " << kill;
        for (long n : rounds) last[key(writerRound(n))] = n;
        ASSERT_EQ(OPENSTORE(folder), "") << "kill " << kill;
        const std::vector<AnalysisSummary> list = LISTANALYSES();
        ASSERT_GE(list.size(), last.size());
        for (const AnalysisSummary& summary : list) {
            const Analysis analysis = LOADANALYSIS(summary.id);
            const long round = std::stol(analysis.budget);
            ASSERT_EQ(fieldsOf(analysis), fieldsOf(writerRound(round))) << "kill " << kill;
            ASSERT_GE(round, last.contains(key(analysis)) ? last[key(analysis)] : 0) << "kill " << kill;
            next = std::max(next, round + 1);
        }
        CLOSESTORE();
        ASSERT_EQ(checkedVersion(folder + "Clients.db"), 2) << "kill " << kill;
    }
    fs::remove_all(fromUtf8(folder));
}
