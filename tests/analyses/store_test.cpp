// The store of saved analyses on disk: a round trip, empty, damaged, read-only and newer files.
#include "analyses/store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/database.h"
#include "tests/analyses/store_folders.h"
#include "tests/analyses/writer_rounds.h"

namespace fs = std::filesystem;

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
    fs::remove_all(pathOf(folder));
}

// A file that cannot be used as it is gives its notice and loses nothing: its analysis can still
// be opened, or the damaged file is kept aside byte for byte; an empty file becomes a new store.
TEST(AnalysesStore, EmptyDamagedReadOnlyAndNewerFiles) {
    const std::string aside = asideName();
    const SpoiledStore cases[] = {
        {"empty",
         [](const std::string& f, const std::string&) { fs::resize_file(pathOf(f + "Clients.db"), 0); }, "", 0, 1},
        {"damaged", [](const std::string& f, const std::string& aside) {
             std::ofstream(pathOf(f + "Clients.db")) << std::string(5000, 'G');
             std::ofstream(pathOf(f + aside + ".db")) << "kept";
         }, aside + "-2.db", 0, 1},
        {"read-only",
         [](const std::string& f, const std::string&) { fs::permissions(pathOf(f + "Clients.db"), fs::perms(0444)); },
         "may not be written", 1, 1},
        {"newer", [](const std::string& f, const std::string&) {
             int32_t db = 0;
             DB_OPEN(f + "Clients.db", false, db), DB_SETUSERVERSION(db, 99), DB_CLOSE(db);
         }, "newer version of Tarvex", 1, 99},
    };
    for (const SpoiledStore& c : cases) expectKeptThrough(c, aside);
}
