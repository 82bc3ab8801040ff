// Closing the calculator with the remembered-client option on and a long comment of many lines:
// every input and the comment written to the settings file, as the close does it.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "app/routing.h"
#include "app/startup.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "calc/options.h"
#include "common/globals.h"
#include "gui/ezgui.h"

static void BM_ClosingRemembersALongComment(benchmark::State& state) {
    QTemporaryDir folder;
    IniFile = folder.filePath("Tarvex.ini").toStdString();
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    DEFINEFONTSANDCOLOURS();
    EZ_RI_Display("");
    EZ_DOEVENTS();
    std::string comment;
    for (int line = 0; comment.size() < size_t(state.range(0)); ++line)
        comment += "Line " + std::to_string(line) + " says \"call back\" on Friday\n";
    EZ_SETTEXT("RI", RI::COMMENTS, comment);
    Options.Recall = 1;
    for (auto _ : state) SAVECURRENT();
    EZ_UNLOADFORM("RI");
    EZ_DOEVENTS();
}
BENCHMARK(BM_ClosingRemembersALongComment)->Arg(16 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
