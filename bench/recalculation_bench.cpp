// One recalculation as after a keystroke: a text change on the live calculator window
// through to every result control written.
#include <benchmark/benchmark.h>

#include "app/routing.h"
#include "app/startup.h"
#include "calc/calculator_form.h"
#include "gui/ezgui.h"
#include "stations/tables.h"

static void BM_RecalculationAfterKeystroke(benchmark::State& state) {
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    DEFINEFONTSANDCOLOURS();
    for (int row = 0; row < kStationRows; ++row) StationCume[row] = std::to_string(10000 + 1000 * row);
    EZ_RI_Display("");
    EZ_DOEVENTS();
    EZ_SETTEXT("RI", 145, "$1,000.00");
    EZ_SETTEXT("RI", 150, "7.0");
    EZ_SETTEXT("RI", 155, "50.0");
    EZ_SETTEXT("RI", 165, "20.0");
    const std::string sales[] = {"$100.00", "$101.00"};
    int turn = 0;
    for (auto _ : state) {
        EZ_SETTEXT("RI", 160, sales[turn ^= 1]);
        benchmark::DoNotOptimize(EZ_GETTEXT("RI", 300));
    }
    EZ_UNLOADFORM("RI");
    EZ_DOEVENTS();
}
BENCHMARK(BM_RecalculationAfterKeystroke)->Unit(benchmark::kMicrosecond);
