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
    if (!DB_OPEN(file, true, db).ok() || !DB_INTEGRITYCHECK(db).ok() || !DB_USERVERSION(db, version).ok()) version = -1;
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
    EXPECT_TRUE(DELETEANALYSIS(second.id, why)) << why;
    EXPECT_FALSE(DELETEANALYSIS(second.id, why));
    // Bad input changes nothing.
    Analysis blank = writerRound(3), nine = writerRound(3);
    blank.customer = "  ";
    nine.stations.resize(9);
    EXPECT_FALSE(SAVEANALYSIS(blank, why) || SAVEANALYSIS(nine, why));
    EXPECT_EQ(LISTANALYSES().size(), 2u);
    CLOSESTORE();
    fs::remove_all(fromUtf8(folder));
}

// A file that cannot be used as it is gives its notice and loses nothing: its analysis can still
// be opened, or the damaged file is kept aside byte for byte; an empty file becomes a new store.
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
         }, "", 0, 1},
        {"damaged", [](const std::string& f, const std::string& aside) {
             writeRaw(fromUtf8(f + "Clients.db"), std::string(5000, 'G'));
             writeRaw(fromUtf8(f + aside + ".db"), "kept");
             return true;
         }, aside + std::string("-2.db"), 0, 1},
        {"read-only", [](const std::string& f, const std::string&) {
             fs::permissions(fromUtf8(f + "Clients.db"), fs::perms(0444));
             return true;
         }, "may not be written", 1, 1},
        {"read-only-folder", [](const std::string& f, const std::string&) {
             fs::permissions(fromUtf8(f), fs::perms(0555));
             return !OS_FOLDERTAKESFILES(f);
         }, "may not be written", 1, 1},
        {"newer", [](const std::string& f, const std::string&) {
             int32_t db = 0;
             DB_OPEN(f + "Clients.db", false, db), DB_SETUSERVERSION(db, 99), DB_CLOSE(db);
             return true;
         }, "newer version of Tarvex", 1, 99},
    };
    for (const Case& c : cases) {
        const std::string folder = openedIn(c.name);
        const Analysis kept = saved(writerRound(7));
        CLOSESTORE();
        if (c.spoil(folder, aside)) {
            const std::string notice = OPENSTORE(folder);
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
                    (fs::file_size(fromUtf8(folder + c.notice)) == 5000 &&
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
        ASSERT_EQ(checkedVersion(folder + "Clients.db"), 1) << "kill " << kill;
    }
    fs::remove_all(fromUtf8(folder));
}
