// The store of saved analyses on disk: a round trip, empty, damaged, read-only and newer files,
// and a writer killed at random moments.
#include "analyses/store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "platform/database.h"
#include "platform/local_date.h"
#include "tests/analyses/writer_rounds.h"
#include "tests/support/wait.h"

namespace fs = std::filesystem;

namespace {

// A new, empty folder with the store opened in it.
std::string openedIn(const std::string& name) {
    const std::string folder = fs::temp_directory_path() / ("tarvex-store-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    EXPECT_EQ(OPENSTORE(folder + "/"), "");
    return folder + "/";
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
std::vector<long> runAndKill(std::string folder, long first, size_t want) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::string program = STORE_WRITER, start = std::to_string(first);
    char* arguments[] = {program.data(), folder.data(), start.data(), nullptr};
    pid_t writer = 0;
    bool ended = ::posix_spawn(&writer, program.c_str(), &actions, nullptr, arguments, environ) != 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::fcntl(out[0], F_SETFL, O_NONBLOCK);
    std::string text;
    auto reported = [&] {
        char buffer[4096];
        for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(got));
        return size_t(std::count(text.begin(), text.end(), '\n'));
    };
    waitUntil([&] { return (ended = ended || ::waitpid(writer, nullptr, WNOHANG) != 0) || reported() >= want; }, 30000);
    if (!ended) ::kill(writer, SIGKILL), ::waitpid(writer, nullptr, 0);
    reported();
    ::close(out[0]);
    std::vector<long> rounds;
    std::istringstream lines(text);
    for (long n = 0; !ended && lines >> n;) rounds.push_back(n);
    return rounds.size() >= want ? rounds : std::vector<long>{};
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
    fs::remove_all(folder);
}

// A file that cannot be used as it is gives its notice and loses nothing: its analysis can still
// be opened, or the damaged file is kept aside byte for byte; an empty file becomes a new store.
TEST(AnalysesStore, EmptyDamagedReadOnlyAndNewerFiles) {
    int32_t year = 0, month = 0, day = 0;
    OS_TODAY(year, month, day);
    char aside[64];
    std::snprintf(aside, sizeof aside, "Clients.damaged-%04d-%02d-%02d", year, month, day);
    const struct Case {
        const char* name;
        void (*spoil)(const std::string& folder, const std::string& aside);
        std::string notice;
        size_t listed;
        int64_t version;
    } cases[] = {
        {"empty", [](const std::string& f, const std::string&) { fs::resize_file(f + "Clients.db", 0); }, "", 0, 1},
        {"damaged", [](const std::string& f, const std::string& aside) {
             std::ofstream(f + "Clients.db") << std::string(5000, 'G'), std::ofstream(f + aside + ".db") << "kept";
         }, aside + std::string("-2.db"), 0, 1},
        {"read-only", [](const std::string& f, const std::string&) { fs::permissions(f + "Clients.db", fs::perms(0444)); },
         "may not be written", 1, 1},
        {"read-only-folder", [](const std::string& f, const std::string&) { fs::permissions(f, fs::perms(0555)); },
         "may not be written", 1, 1},
        {"newer", [](const std::string& f, const std::string&) {
             int32_t db = 0;
             DB_OPEN(f + "Clients.db", false, db), DB_SETUSERVERSION(db, 99), DB_CLOSE(db);
         }, "newer version of Tarvex", 1, 99},
    };
    for (const Case& c : cases) {
        const std::string folder = openedIn(c.name);
        const Analysis kept = saved(writerRound(7));
        CLOSESTORE();
        c.spoil(folder, aside);
        const std::string notice = OPENSTORE(folder);
        EXPECT_TRUE(notice.find(c.notice) != std::string::npos && notice.empty() == c.notice.empty()) << notice;
        ASSERT_EQ(LISTANALYSES().size(), c.listed) << c.name;
        EXPECT_TRUE(c.listed == 0 || fieldsOf(LOADANALYSIS(LISTANALYSES()[0].id)) == fieldsOf(kept)) << c.name;
        Analysis analysis = writerRound(8);
        std::string why;
        EXPECT_EQ(SAVEANALYSIS(analysis, why), c.listed == 0) << c.name;
        EXPECT_EQ(why, STOREREADONLY()) << c.name;
        CLOSESTORE();
        fs::permissions(folder, fs::perms(0755));
        EXPECT_EQ(checkedVersion(folder + "Clients.db"), c.version) << c.name;
        EXPECT_TRUE(c.listed || c.notice.empty() ||
                    (fs::file_size(folder + c.notice) == 5000 && fs::file_size(folder + aside + ".db") == 4));
        fs::remove_all(folder);
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
    fs::remove_all(folder);
}
