// One recalculation as after a keystroke: a text change on the live calculator window
// through to every result control written. The first case has no station rows (as a new user
// starts), the second eight stations whose shares all change with the keystroke.
#include <benchmark/benchmark.h>

#include "app/routing.h"
#include "app/startup.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "gui/ezgui.h"
#include "stations/storage.h"
#include "stations/tables.h"

static void BM_RecalculationAfterKeystroke(benchmark::State& state) {
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    DEFINEFONTSANDCOLOURS();
    EZ_RI_Display("");
    EZ_DOEVENTS();
    const int stations = static_cast<int>(state.range(0));
    for (int row = 0; row < kStationRows; ++row) {
        StationCalls[row] = row < stations ? "W" + std::to_string(row) : "";
        StationCume[row] = row < stations ? std::to_string(10000 + 1000 * row) : "0";
    }
    SHOWSTATIONS();
    EZ_SETTEXT("RI", RI::BUDGET, "$1,000.00");
    EZ_SETTEXT("RI", RI::ROI, "7.0");
    EZ_SETTEXT("RI", RI::MARGIN, "50.0");
    EZ_SETTEXT("RI", RI::CLOSING_RATIO, "20.0");
    const std::string sales[] = {"$100.00", "$101.00"};
    int turn = 0;
    for (auto _ : state) {
        EZ_SETTEXT("RI", RI::AVERAGE_SALE, sales[turn ^= 1]);
        benchmark::DoNotOptimize(EZ_GETTEXT("RI", RI::SHARELABEL(8)));
    }
    EZ_UNLOADFORM("RI");
    EZ_DOEVENTS();
}
BENCHMARK(BM_RecalculationAfterKeystroke)->Arg(0)->Arg(8)->Unit(benchmark::kMicrosecond);
