// The download client against a local server: a 256 MiB file fetched by ours and by curl in the
// same run (throughput ratio, memory growth), the longest time the window waits for its events
// while a server sends in bursts, and the time an update check waits for a server that never
// answers, with the calculator's longest wait for its events meanwhile.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "app/routing.h"
#include "app/startup.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "common/globals.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "tests/support/raw_server.h"
#include "update/check.h"
#include "update/updating_window.h"
#include "update/web_get.h"

extern char** environ;

namespace {

constexpr int64_t kFileBytes = 256LL << 20;

// A value of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKb(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
    return 0;
}

// Starts the peak of the resident set again from the current size.
void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool curl(const std::string& url, const std::string& file) {
    const char* argv[] = {"curl", "-s", "-o", file.c_str(), url.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void openUpdatingWindow() {
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    DEFINEFONTSANDCOLOURS();
    EZ_ZD_Display("");
    EZ_DOEVENTS();
}

// A timer that should fire every interval, and the longest time the window went without it.
class GapWatch {
public:
    GapWatch(int intervalMs, double& longest, std::function<void()> each = {}) {
        clock.start();
        QObject::connect(&tick, &QTimer::timeout, [this, &longest, each] {
            longest = std::max(longest, static_cast<double>(clock.elapsed() - last));
            last = clock.elapsed();
            if (each) each();
        });
        tick.start(intervalMs);
    }
    double seconds() const { return static_cast<double>(clock.elapsed()) / 1000; }

private:
    QElapsedTimer clock;
    qint64 last = 0;
    QTimer tick;
};

}  // namespace

static void BM_Download256MiBBesideCurl(benchmark::State& state) {
    RawServer server(
        {{RawServer::send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(kFileBytes) + "\r\n\r\n"),
          RawServer::body(kFileBytes)}});
    QTemporaryDir folder;
    const std::string ours = folder.filePath("ours.bin").toStdString();
    const std::string theirs = folder.filePath("curl.bin").toStdString();
    openUpdatingWindow();
    double oursSeconds = 0, curlSeconds = 0;
    long growthKb = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        // Both start from the same state of the disk: no earlier output, their turns alternating.
        std::remove(ours.c_str());
        std::remove(theirs.c_str());
        auto runOurs = [&] {
            const long before = statusKb("VmRSS");
            resetPeakMemory();
            const auto start = std::chrono::steady_clock::now();
            if (ZUWEBGET(server.host(), "/file", 0, "", "", ours) != 0)
                state.SkipWithError("our download failed");
            const double elapsed = seconds(start);
            oursSeconds += elapsed;
            growthKb = std::max(growthKb, statusKb("VmHWM") - before);
            state.SetIterationTime(elapsed);
        };
        auto runCurl = [&] {
            const auto start = std::chrono::steady_clock::now();
            if (!curl("http://" + server.host() + "/file", theirs)) state.SkipWithError("curl failed");
            curlSeconds += seconds(start);
        };
        if (oursFirst) {
            runOurs();
            runCurl();
        } else {
            runCurl();
            runOurs();
        }
        oursFirst = !oursFirst;
    }
    const double megabytes =
        static_cast<double>(kFileBytes) / (1 << 20) * static_cast<double>(state.iterations());
    state.counters["ours_MiB_s"] = megabytes / oursSeconds;
    state.counters["curl_MiB_s"] = megabytes / curlSeconds;
    state.counters["ratio"] = curlSeconds / oursSeconds;
    state.counters["memory_growth_MiB"] = static_cast<double>(growthKb) / 1024;
    EZ_UNLOADFORM("ZD");
    EZ_DOEVENTS();
}
BENCHMARK(BM_Download256MiBBesideCurl)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

// A timer that should fire every 5 ms records how long the window went without its events.
static void BM_LongestEventGapDuringBurstyDownload(benchmark::State& state) {
    std::vector<RawServer::Step> script = {
        RawServer::send("HTTP/1.0 200 OK\r\nContent-Length: 20971520\r\n\r\n")};
    for (int burst = 0; burst < 20; ++burst) {
        script.push_back(RawServer::body(1 << 20));
        script.push_back(RawServer::pause(150));
    }
    RawServer server({script});
    QTemporaryDir folder;
    openUpdatingWindow();
    double longest = 0;
    for (auto _ : state) {
        GapWatch watch(5, longest);
        if (ZUWEBGET(server.host(), "/file", 0, "", "", folder.filePath("bursts.bin").toStdString()) != 0)
            state.SkipWithError("the download failed");
    }
    state.counters["longest_gap_ms"] = longest;
    EZ_UNLOADFORM("ZD");
    EZ_DOEVENTS();
}
BENCHMARK(BM_LongestEventGapDuringBurstyDownload)->Unit(benchmark::kMillisecond)->Iterations(2);

// An automatic update check against a server that accepts and never answers: how long the check
// waits before it gives up, and the longest time the calculator went without its events (a timer
// that should fire every 20 ms repaints a field) meanwhile.
static void BM_UpdateCheckAgainstASilentServer(benchmark::State& state) {
    RawServer server({{RawServer::hold(30000)}});
    QTemporaryDir folder;
    IniFile = folder.filePath("Tarvex.ini").toStdString();
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    DEFINEFONTSANDCOLOURS();
    EZ_RI_Display("");
    EZ_DOEVENTS();
    double longest = 0, waited = 0;
    for (auto _ : state) {
        GapWatch watch(20, longest, [] {
            if (QWidget* field = gui::findControl("RI", RI::CUSTOMER)) field->grab();
        });
        if (CHECKFORUPDATE("RI", "http://" + server.host() + "/TarvexVersion.txt", ProgramVersion, 0, 0) != 0)
            state.SkipWithError("the check did not end without an update");
        waited = watch.seconds();
        state.SetIterationTime(waited);
    }
    state.counters["check_s"] = waited;
    state.counters["longest_gap_ms"] = longest;
    EZ_UNLOADFORM("RI");
    EZ_DOEVENTS();
    IniFile.clear();
}
BENCHMARK(BM_UpdateCheckAgainstASilentServer)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
