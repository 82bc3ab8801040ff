// Start-up of a whole process up to the shown calculator window, beside the start-up of a
// process that shows a bare Qt window. Each iteration starts this benchmark program again
// in one of its child modes and waits for it to end.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "app/routing.h"
#include "app/startup.h"
#include "bench/startup_child.h"
#include "gui/ezgui.h"

extern char** environ;

namespace {

void runChild(benchmark::State& state, const char* mode) {
    char self[] = "/proc/self/exe";
    char* argv[] = {self, const_cast<char*>(mode), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, self, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the child process");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child process failed");
            return;
        }
    }
}

// The calculator's events, ending the run once the window has been shown.
void quitWhenShown(const std::string& form, int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    EZ_EVENTS(form, id, message, value, cancel);
    if (form == "RI" && id == 0 && message == 86) EZ_UNLOADFORM("RI");
}

}  // namespace

int runStartupChild(int argc, char** argv) {
    return EZ_GUIRUN(argc, argv, EZ_MAIN, quitWhenShown, EZ_DESIGN);
}

// A bare window; with a caption inside it, it also loads the fonts, as any window with text does.
int runBareChild(int argc, char** argv, bool withText) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Tarvex");
    window.resize(610, 700);
    if (withText) (new QLabel("Customer:", &window))->adjustSize();
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}

static void BM_ProcessStartupToShownCalculator(benchmark::State& state) { runChild(state, kStartupChild); }
BENCHMARK(BM_ProcessStartupToShownCalculator)->Unit(benchmark::kMillisecond)->Iterations(20);

static void BM_ProcessStartupBareQtWindow(benchmark::State& state) { runChild(state, kBareChild); }
BENCHMARK(BM_ProcessStartupBareQtWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

static void BM_ProcessStartupQtWindowWithLabel(benchmark::State& state) { runChild(state, kLabelChild); }
BENCHMARK(BM_ProcessStartupQtWindowWithLabel)->Unit(benchmark::kMillisecond)->Iterations(20);
