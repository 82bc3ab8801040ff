// The list control with 10 000 rows of six columns on an offscreen form: a filter change with a
// hundred rows selected, and all the rows replaced; each with the events that follow until the
// list has been laid out and painted.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "gui/ezgui.h"

namespace {

constexpr int kRows = 10000;

void designList(const std::string&) { EZ_LISTVIEW(1, 1, 1, 80, 30, "TM"); }

std::vector<std::vector<std::string>> someRows(int variant) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < kRows; ++row)
        rows.push_back({"Client " + std::to_string((row + variant) * 7919 % kRows),
                        "2026-12-" + std::to_string(row % 28 + 1), "$" + std::to_string(row * 37 % 5000) + ",000",
                        std::to_string(row % 90), std::to_string(row % 100) + "%", "W" + std::to_string(row % 40)});
    return rows;
}

void openList() {
    EZ_GUIINIT(nullptr, designList);
    EZ_FORM("LIST", "", "List", 0, 0, 82, 32, "");
    EZ_SETLISTCOLUMNS("LIST", 1, "Client,25|Saved,15|Budget,15|Spots,15|Share,15|Station,15");
    EZ_SETLISTROWS("LIST", 1, someRows(0));
    EZ_DOEVENTS();
}

void closeList() {
    EZ_UNLOADFORM("LIST");
    EZ_DOEVENTS();
}

}  // namespace

static void BM_FilterTenThousandRows(benchmark::State& state) {
    openList();
    std::vector<int32_t> chosen;
    for (int row = 0; row < kRows; row += kRows / 100) chosen.push_back(row);
    EZ_SETLISTSELECTION("LIST", 1, chosen);
    // Two filters in turn, as a user typing into a search box narrows and widens the list.
    std::vector<bool> filters[2] = {std::vector<bool>(kRows), std::vector<bool>(kRows)};
    for (int row = 0; row < kRows; ++row) {
        filters[0][row] = row % 3 != 0;
        filters[1][row] = row % 2 == 0;
    }
    int turn = 0;
    for (auto _ : state) {
        EZ_FILTERLIST("LIST", 1, filters[turn ^= 1]);
        EZ_DOEVENTS();
    }
    closeList();
}
BENCHMARK(BM_FilterTenThousandRows)->Unit(benchmark::kMillisecond);

static void BM_SetTenThousandRows(benchmark::State& state) {
    openList();
    const std::vector<std::vector<std::string>> rows[2] = {someRows(1), someRows(2)};
    int turn = 0;
    for (auto _ : state) {
        EZ_SETLISTROWS("LIST", 1, rows[turn ^= 1]);
        EZ_DOEVENTS();
    }
    closeList();
}
BENCHMARK(BM_SetTenThousandRows)->Unit(benchmark::kMillisecond);
