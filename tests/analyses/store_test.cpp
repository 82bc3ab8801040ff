// The store of saved analyses on disk: a round trip, a new and an empty file, damaged, read-only
// and newer files, and a writer killed at random moments.
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
#include <functional>
#include <map>
#include <random>

#include "platform/database.h"
#include "platform/local_date.h"
#include "tests/analyses/writer_rounds.h"
#include "tests/support/wait.h"

namespace fs = std::filesystem;

namespace {

std::string scratchFolder(const std::string& name) {
    fs::path folder = fs::temp_directory_path() / ("tarvex-store-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string() + "/";
}

Analysis saved(long n) {
    Analysis analysis = writerRound(n);
    std::string why;
    EXPECT_TRUE(SAVEANALYSIS(analysis, why)) << why;
    return analysis;
}

int64_t userVersion(const std::string& file) {
    int32_t db = 0;
    int64_t version = -1;
    if (DB_OPEN(file, true, db).ok()) DB_USERVERSION(db, version);
    DB_CLOSE(db);
    return version;
}

}  // namespace

TEST(AnalysesStore, SaveListLoadReplaceRenameDelete) {
    const std::string folder = scratchFolder("round-trip");
    ASSERT_EQ(OPENSTORE(folder), "");
    const Analysis first = saved(8), second = saved(28), other = saved(1);
    EXPECT_EQ(first.customer, second.customer);
    std::vector<AnalysisSummary> list = LISTANALYSES();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].id, other.id);
    EXPECT_EQ(list[2].scenario, "Plan 0");
    EXPECT_EQ(list[2].grossReturn, "g8");
    EXPECT_EQ(fieldsOf(LOADANALYSIS(first.id)), fieldsOf(first));
    EXPECT_EQ(LOADANALYSIS(first.id).saved.size(), 16u);
    EXPECT_EQ(LOADANALYSIS(first.id).stations.size(), 8u);

    // The same customer and scenario, in other letter case, replaces the analysis.
    Analysis again = writerRound(68);
    again.customer = "CLIENT 8", again.scenario = "plan 0";
    EXPECT_TRUE(ANALYSISEXISTS(again.customer, again.scenario));
    std::string why;
    ASSERT_TRUE(SAVEANALYSIS(again, why)) << why;
    EXPECT_EQ(LISTANALYSES().size(), 3u);
    EXPECT_EQ(LISTANALYSES()[0].id, again.id);
    EXPECT_EQ(fieldsOf(LOADANALYSIS(again.id)), fieldsOf(again));
    EXPECT_EQ(LOADANALYSIS(first.id).id, 0);

    EXPECT_FALSE(RENAMEANALYSIS(again.id, "Plan 1", why));
    EXPECT_NE(why.find("already has"), std::string::npos);
    EXPECT_TRUE(RENAMEANALYSIS(again.id, "Light", why)) << why;
    EXPECT_TRUE(ANALYSISEXISTS("Client 8", "Light"));
    EXPECT_TRUE(DELETEANALYSIS(second.id, why)) << why;
    EXPECT_FALSE(DELETEANALYSIS(second.id, why));
    EXPECT_EQ(LISTANALYSES().size(), 2u);

    // Bad input changes nothing.
    Analysis bad = writerRound(3);
    bad.customer = "  ";
    EXPECT_FALSE(SAVEANALYSIS(bad, why));
    bad = writerRound(3);
    bad.stations.resize(9);
    EXPECT_FALSE(SAVEANALYSIS(bad, why));
    EXPECT_EQ(LISTANALYSES().size(), 2u);
    CLOSESTORE();
    fs::remove_all(folder);
}

TEST(AnalysesStore, AnEmptyFileIsMigratedToTheFirstVersion) {
    const std::string folder = scratchFolder("empty");
    std::ofstream(folder + "Clients.db").close();
    ASSERT_EQ(OPENSTORE(folder), "");
    const Analysis analysis = saved(5);
    CLOSESTORE();
    EXPECT_EQ(userVersion(folder + "Clients.db"), 1);
    ASSERT_EQ(OPENSTORE(folder), "");
    EXPECT_EQ(fieldsOf(LOADANALYSIS(analysis.id)), fieldsOf(analysis));
    CLOSESTORE();
    fs::remove_all(folder);
}

// Each file that cannot be used as it is gives its notice; the analysis in it can still be
// opened, or the damaged file is kept aside byte for byte.
TEST(AnalysesStore, DamagedReadOnlyAndNewerFilesGiveANoticeAndLoseNothing) {
    int32_t year = 0, month = 0, day = 0;
    OS_TODAY(year, month, day);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    const std::string aside = std::string("Clients.damaged-") + date;
    struct Case {
        const char* name;
        std::function<void(const std::string& folder)> spoil;
        std::string notice;
        size_t listed;
    } cases[] = {
        {"damaged", [&](const std::string& f) {
             std::ofstream(f + "Clients.db") << std::string(5000, 'G');
             std::ofstream(f + aside + ".db") << "kept";
         }, aside + "-2.db", 0},
        {"read-only", [](const std::string& f) { fs::permissions(f + "Clients.db", fs::perms(0444)); },
         "may not be written", 1},
        {"read-only-folder", [](const std::string& f) { fs::permissions(f, fs::perms(0555)); }, "may not be written", 1},
        {"newer", [](const std::string& f) {
             int32_t db = 0;
             DB_OPEN(f + "Clients.db", false, db);
             DB_SETUSERVERSION(db, 99);
             DB_CLOSE(db);
         }, "newer version of Tarvex", 1},
    };
    for (const Case& c : cases) {
        const std::string folder = scratchFolder(c.name);
        ASSERT_EQ(OPENSTORE(folder), "");
        const Analysis kept = saved(7);
        CLOSESTORE();
        c.spoil(folder);
        EXPECT_NE(OPENSTORE(folder).find(c.notice), std::string::npos) << c.name;
        ASSERT_EQ(LISTANALYSES().size(), c.listed) << c.name;
        if (c.listed) {
            EXPECT_EQ(fieldsOf(LOADANALYSIS(LISTANALYSES()[0].id)), fieldsOf(kept)) << c.name;
        }
        Analysis analysis = writerRound(8);
        std::string why;
        EXPECT_EQ(SAVEANALYSIS(analysis, why), c.listed == 0) << c.name;
        EXPECT_EQ(why, STOREREADONLY()) << c.name;
        CLOSESTORE();
        fs::permissions(folder, fs::perms(0755));
        if (c.listed == 0) {
            EXPECT_EQ(fs::file_size(folder + aside + "-2.db"), 5000u);
            EXPECT_EQ(fs::file_size(folder + aside + ".db"), 4u);
        }
        if (c.notice.starts_with("newer")) {
            EXPECT_EQ(userVersion(folder + "Clients.db"), 99);
        }
        fs::remove_all(folder);
    }
}

namespace {

// Starts the store writer from round first, waits until it has reported `want` commits, kills it,
// and returns every round it reported; empty when it stopped by itself or never got so far.
std::vector<long> runAndKill(const std::string& folder, long first, size_t want) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::string program = STORE_WRITER, start = std::to_string(first), where = folder;
    char* arguments[] = {program.data(), where.data(), start.data(), nullptr};
    pid_t writer = 0;
    const bool started = ::posix_spawn(&writer, program.c_str(), &actions, nullptr, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::fcntl(out[0], F_SETFL, O_NONBLOCK);
    std::string text;
    auto reported = [&] {
        char buffer[4096];
        for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(got));
        return size_t(std::count(text.begin(), text.end(), '\n'));
    };
    bool ended = !started;
    waitUntil([&] { return (ended = ended || ::waitpid(writer, nullptr, WNOHANG) != 0) || reported() >= want; }, 30000);
    if (!ended) ::kill(writer, SIGKILL), ::waitpid(writer, nullptr, 0);
    reported();
    ::close(out[0]);
    std::vector<long> rounds;
    for (size_t at = 0, end; !ended && (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        rounds.push_back(std::stol(text.substr(at, end - at)));
    return rounds.size() >= want ? rounds : std::vector<long>{};
}

}  // namespace

// After each kill every analysis is whole: the one of the last round reported for it, or of a
// later round whose commit was done before it could be reported.
TEST(AnalysesStore, KilledWriterLeavesEveryReportedAnalysisWhole) {
    const std::string folder = scratchFolder("durability");
    std::map<std::string, long> last;  // customer and scenario -> the last round reported for them
    std::mt19937 random(2205);
    long next = 1;
    for (int kill = 0; kill < 300; ++kill) {
        const std::vector<long> rounds = runAndKill(folder, next, std::uniform_int_distribution<size_t>(1, 4)(random));
        ASSERT_FALSE(rounds.empty()) << "the writer stopped by itself or never saved, kill " << kill;
        auto key = [](const Analysis& a) { return a.customer + "|" + a.scenario; };
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
        int32_t db = 0;
        ASSERT_TRUE(DB_OPEN(folder + "Clients.db", true, db).ok());
        EXPECT_TRUE(DB_INTEGRITYCHECK(db).ok()) << "kill " << kill;
        DB_CLOSE(db);
    }
    fs::remove_all(folder);
}
