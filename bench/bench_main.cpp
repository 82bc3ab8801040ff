// Runs the benchmarks on the offscreen platform, or one of the start-up children.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstring>

#include "bench/startup_child.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], kStartupChild) == 0) return runStartupChild(1, argv);
    if (argc > 1 && std::strcmp(argv[1], kBareChild) == 0) return runBareChild(1, argv, false);
    if (argc > 1 && std::strcmp(argv[1], kLabelChild) == 0) return runBareChild(1, argv, true);
    // The calculator's lock lives in a private runtime folder, apart from a running copy.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
