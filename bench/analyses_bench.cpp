// The saved analyses with 10 000 and with 100 000 analyses of 1 000 clients (the benchmark's
// argument): the list the window shows, the search narrowing it at each keystroke, one save with
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

static void BM_ListSavedAnalyses(benchmark::State& state) {
    OPENSTORE(fullStore(state));
    for (auto _ : state) {
        std::vector<AnalysisSummary> list = LISTANALYSES();
        if (list.size() != static_cast<size_t>(state.range(0))) state.SkipWithError("the list is not whole");
        benchmark::DoNotOptimize(list);
    }
    CLOSESTORE();
}
BENCHMARK(BM_ListSavedAnalyses)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The first opening: the file checked whole, then listed, with every row's search text.
static void BM_OpenStoreListAndIndex(benchmark::State& state) {
    const std::string folder = fullStore(state);
    for (auto _ : state) {
        OPENSTORE(folder);
        std::vector<std::string> texts;
        for (const AnalysisSummary& summary : LISTANALYSES()) texts.push_back(SEARCHTEXT(summary));
        benchmark::DoNotOptimize(texts);
        CLOSESTORE();
    }
}
BENCHMARK(BM_OpenStoreListAndIndex)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

static void BM_FilterSavedAnalyses(benchmark::State& state, const char* search) {
    OPENSTORE(fullStore(state));
    std::vector<std::string> texts;
    for (const AnalysisSummary& summary : LISTANALYSES()) texts.push_back(SEARCHTEXT(summary));
    CLOSESTORE();
    for (auto _ : state) {
        size_t shown = 0;
        for (const std::string& text : texts) shown += MATCHESSEARCH(text, search);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK_CAPTURE(BM_FilterSavedAnalyses, one_letter, "m")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterSavedAnalyses, two_words, "motors heavy")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// A save that replaces one of the analyses, its commit synced to the disk.
static void BM_SaveAnalysis(benchmark::State& state) {
    OPENSTORE(fullStore(state));
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
