// The store of saved analyses in a folder that POSIX permissions keep from taking files, and
// through a writer killed at random moments (started and killed the POSIX way).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>

#include "analyses/store.h"
#include "tests/analyses/store_folders.h"
#include "tests/analyses/writer_rounds.h"
#include "tests/support/wait.h"

namespace fs = std::filesystem;

namespace {

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

TEST(AnalysesStore, ReadOnlyFolder) {
    expectKeptThrough({"read-only-folder", [](const std::string& f, const std::string&) {
                           fs::permissions(pathOf(f), fs::perms(0555));
                       }, "may not be written", 1, 1}, asideName());
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
