// The saved analyses with 10 000 and with 100 000 analyses of 1 000 clients (the benchmark's
// argument): opening the store, the search narrowing the list at each keystroke, one save with
// its commit on disk, and the window itself.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QTimer>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>

#include "analyses/saved_analyses.h"
#include "analyses/saved_analyses_ids.h"
#include "analyses/saving.h"
#include "analyses/store.h"
#include "app/routing.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "platform/database.h"

namespace {

// Analysis i of the bench: client i % 1000, scenario i / 1000, eight stations and a comment.
Analysis benchAnalysis(int i) {
    static const char* const names[] = {"Main Street Motors", "Harbor Dental",   "Valley Furniture",
                                        "Sunrise Bakery",     "Lakeside Realty", "Pine Hardware",
                                        "City Fitness",       "Northside Auto"};
    Analysis a;
    a.customer = std::string(names[i % 8]) + " " + std::to_string(i % 1000);
    a.salesRep = "Rep " + std::to_string(i % 37) + " / WAAA";
    a.scenario = std::string(i / 1000 % 3 == 0   ? "Light"
                             : i / 1000 % 3 == 1 ? "Medium"
                                                 : "Heavy") +
                 " " + std::to_string(i / 1000);
    a.budget = "$" + std::to_string(1000 + i) + ".00", a.roi = "7.0", a.margin = "50.0";
    a.averageSale = "$100.00", a.closingRatio = "20.0", a.comments = std::string(200, 'c');
    a.netReturn = "$2,000.00", a.grossReturn = "$4,000.00", a.sales = "40", a.responses = "200";
    for (int s = 0; s < 8; ++s)
        a.stations.push_back({"W" + std::to_string(s), "12,000", s % 2 == 0, "0.21%"});
    return a;
}

// A store of count analyses in a temporary folder, made once per run in one transaction and
// removed at the end.
struct BenchStore {
    std::filesystem::path path;
    explicit BenchStore(int count)
        : path(std::filesystem::temp_directory_path() /
               ("tarvex-bench-store-" + std::to_string(::getpid()) + "-" + std::to_string(count))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        OPENSTORE(path.string() + "/");
        std::vector<Analysis> all;
        for (int i = 0; i < count; ++i) all.push_back(benchAnalysis(i));
        std::string why;
        if (!SAVEANALYSES(all, why)) std::abort();
        CLOSESTORE();
    }
    ~BenchStore() { std::filesystem::remove_all(path); }
};

// The store of the benchmark's count of analyses, made on first use.
std::string fullStore(const benchmark::State& state) {
    static std::map<int64_t, std::unique_ptr<BenchStore>> stores;
    std::unique_ptr<BenchStore>& store = stores[state.range(0)];
    if (!store) store = std::make_unique<BenchStore>(static_cast<int>(state.range(0)));
    return store->path.string() + "/";
}

}  // namespace

// Opening the store and showing the window's first rows: the count and the first page, the
// latest first.
static void BM_OpenStoreAndFirstPage(benchmark::State& state) {
    const std::string folder = fullStore(state);
    for (auto _ : state) {
        OPENSTORE(folder);
        if (COUNTANALYSES("") != state.range(0)) state.SkipWithError("the count is wrong");
        benchmark::DoNotOptimize(LISTANALYSES({}, 0, 128));
        CLOSESTORE();
    }
}
BENCHMARK(BM_OpenStoreAndFirstPage)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// What a keystroke in the search asks of the store: the count and the first page it finds, in
// the list's first order or sorted by the customer.
static void BM_SearchSavedAnalyses(benchmark::State& state, const char* search, AnalysisOrder order) {
    OPENSTORE(fullStore(state));
    for (auto _ : state) {
        benchmark::DoNotOptimize(COUNTANALYSES(search));
        benchmark::DoNotOptimize(LISTANALYSES({search, order}, 0, 128));
    }
    CLOSESTORE();
}
BENCHMARK_CAPTURE(BM_SearchSavedAnalyses, one_letter, "m", AnalysisOrder::Latest)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchSavedAnalyses, two_words, "motors heavy", AnalysisOrder::Latest)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchSavedAnalyses, word_and_digit, "motors 1", AnalysisOrder::Latest)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchSavedAnalyses, one_letter_by_customer, "m", AnalysisOrder::Customer)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// The first opening of a file saved before the store kept its search and sort indexes, which
// makes them.
static void BM_FirstOpeningIndexesAnOlderFile(benchmark::State& state) {
    const std::string folder = fullStore(state);
    for (auto _ : state) {
        state.PauseTiming();
        int32_t db = 0;
        DB_OPEN(folder + "Clients.db", false, db);
        std::string drop = "DROP TABLE analyses_search;";
        for (const char* index : {"customer", "scenario", "saved", "budget", "gross_return", "responses"})
            drop += std::string("DROP INDEX analyses_by_") + index + ";";
        if (!DB_SCRIPT(db, drop).ok() || !DB_SETUSERVERSION(db, 1).ok()) state.SkipWithError("no older file");
        DB_CLOSE(db);
        state.ResumeTiming();
        if (!OPENSTORE(folder).empty()) state.SkipWithError("the file did not open");
        CLOSESTORE();
    }
}
BENCHMARK(BM_FirstOpeningIndexesAnOlderFile)->Arg(10000)->Arg(100000)->Iterations(2)->Unit(benchmark::kMillisecond);

// A save that replaces one of the analyses, its commit synced to the disk.
static void BM_SaveAnalysis(benchmark::State& state) {
    OPENSTORE(fullStore(state));
    STORECHECKED(true);  // the first save waits for the check of the whole file
    int i = 0;
    for (auto _ : state) {
        Analysis analysis = benchAnalysis(i++ % static_cast<int>(state.range(0)));
        std::string why;
        if (!SAVEANALYSIS(analysis, why)) state.SkipWithError(why.c_str());
    }
    CLOSESTORE();
}
BENCHMARK(BM_SaveAnalysis)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The "Saved Analyses" window over all of them: from the menu's call until it is shown with every
// row listed, and one keystroke in its search box with the list narrowed.
static void BM_SavedAnalysesWindow(benchmark::State& state) {
    const std::string folder = fullStore(state);
    driver::PROGRAMFOLDER(folder.substr(0, folder.size() - 1));
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    for (auto _ : state) {
        double keystroke = 0;
        const auto start = std::chrono::steady_clock::now();
        auto opened = start;
        // Runs once the window's own loop runs, that is when it is shown.
        QTimer::singleShot(0, [&] {
            opened = std::chrono::steady_clock::now();
            EZ_SETTEXT("SA", SA::SEARCH, "motors 1");
            keystroke = std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
            EZ_UNLOADFORM("SA");
        });
        EZ_SA_Display("");
        state.SetIterationTime(std::chrono::duration<double>(opened - start).count());
        state.counters["keystroke_ms"] = keystroke * 1000;
        CLOSEANALYSES();
    }
    driver::PROGRAMFOLDER("");
}
BENCHMARK(BM_SavedAnalysesWindow)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
