// Drives the real program on an X display with a seeded sequence of keys and clicks, in each of
// its forms in turn, and fails on a crash, a sanitizer report or a window that stops answering.
//   random_input <seed> <events per form> <program> <folder for the logs>
// The program's folder must be writable: the analyses to compare are saved there before each start.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analyses/store.h"
#include "tests/random_input/x_display.h"

extern char** environ;

namespace {

constexpr int kAnswerMs = 10000;     // a window silent this long has stopped answering
constexpr int kForeignEvents = 40;   // events for a window the form under test opened, before it is closed
constexpr int kOpenAttempts = 25;    // tries to bring a form up before the tool gives up on it
const std::string kCalculator = "Tarvex";

struct Form {
    std::string title;
    std::vector<std::string> opening;  // keys from the calculator: "Ctrl+o", "Alt+t", "s", "type:text", "wait:title"
};

const std::vector<Form> kForms = {
    {kCalculator, {}},
    {"Add/Edit Stations/Cume", {"Alt+t", "Up", "Up", "Return"}},
    {"Saved Analyses", {"Ctrl+o"}},
    {"Compare Analyses",
     {"Ctrl+o", "wait:Saved Analyses", "type:random input seed", "Tab", "Ctrl+a", "Tab", "Tab", "space"}},
    {"About Tarvex", {"Alt+h", "a"}},
};

std::string programPath, logFolder;
pid_t running = 0;
int starts = 0, endedByThemselves = 0;
long events = 0;
std::string logFile;
std::deque<std::string> recent;  // the last events sent, for the report of a fault
std::map<std::string, long> eventsByWindow;

std::ofstream eventLog;  // every event of the run, in the log folder

void note(const std::string& what) {
    eventLog << what << '\n';
    recent.push_back(what);
    if (recent.size() > 25) recent.pop_front();
}

// A window by its title; a menu or other pop-up window has the program's name for its title.
std::string shownAs(Window window) { return xd::ISPOPUP(window) ? "(pop-up)" : xd::TITLE(window); }

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string tail(const std::string& file, size_t lines) {
    std::ifstream in(file);
    std::deque<std::string> kept;
    for (std::string line; std::getline(in, line);) {
        kept.push_back(line);
        if (kept.size() > lines) kept.pop_front();
    }
    std::string text;
    for (const std::string& line : kept) text += "  | " + line + "\n";
    return text;
}

bool sanitizerReport(const std::string& file) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.find("ERROR: AddressSanitizer") != std::string::npos ||
            line.find("ERROR: LeakSanitizer") != std::string::npos || line.find("runtime error:") != std::string::npos)
            return true;
    return false;
}

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "random input: FAILED after %ld events, start %d: %s\nlast events:\n", events, starts,
                 why.c_str());
    for (const std::string& what : recent) std::fprintf(stderr, "  %s\n", what.c_str());
    if (running) {
        std::fprintf(stderr, "its windows, bottom to top:\n%s", xd::STACK(running).c_str());
        kill(running, SIGABRT);  // the sanitizer runtime writes where the program stood
        sleepMs(3000);
        kill(running, SIGKILL);
        waitpid(running, nullptr, 0);
    }
    std::fprintf(stderr, "program output (%s):\n%s", logFile.c_str(), tail(logFile, 80).c_str());
    xd::CLOSEDISPLAY();
    std::exit(1);
}

// Two analyses of one customer, and no others of that customer, so that the search for it in
// "Saved Analyses" finds two to compare.
void saveAnalysesToCompare() {
    const std::string folder = programPath.substr(0, programPath.rfind('/') + 1);
    if (!OPENSTORE(STOREFOLDERFOR(folder)).empty()) fail("the saved analyses cannot be opened");
    std::string why;
    for (const AnalysisSummary& saved : LISTANALYSES())
        if (saved.customer == "Random Input Seed" && !DELETEANALYSES({saved.id}, why)) fail("a copy stays saved: " + why);
    std::vector<Analysis> analyses(2);
    const char* scenarios[] = {"Morning drive", "Weekend"};
    for (size_t n = 0; n < analyses.size(); ++n) {
        analyses[n].customer = "Random Input Seed";
        analyses[n].scenario = scenarios[n];
        analyses[n].budget = n == 0 ? "$1,000.00" : "$2,500.00";
        analyses[n].roi = "7.0";
    }
    if (!SAVEANALYSES(analyses, why)) fail("the analyses to compare were not saved: " + why);
    CLOSESTORE();
}

void start() {
    saveAnalysesToCompare();
    logFile = logFolder + "/start-" + std::to_string(++starts) + ".log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    char* argv[] = {programPath.data(), nullptr};
    const int failed = posix_spawn(&running, programPath.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) fail("the program could not be started");
    note("(start " + std::to_string(starts) + ")");
}

// Whether the program has ended; an end is legal when it exits with 0 and reports nothing.
bool ended() {
    int status = 0;
    if (!running || waitpid(running, &status, WNOHANG) != running) return !running;
    running = 0;
    if (WIFSIGNALED(status)) fail("the program died of signal " + std::to_string(WTERMSIG(status)));
    if (WEXITSTATUS(status) != 0) fail("the program exited with " + std::to_string(WEXITSTATUS(status)));
    if (sanitizerReport(logFile)) fail("the sanitizer reported a fault");
    return true;
}

// The window in front once the program shows one; 0 when it has ended.
Window front() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
    for (;;) {
        if (ended()) return 0;
        if (Window window = xd::FRONTWINDOW(running)) return window;
        if (std::chrono::steady_clock::now() > deadline) fail("the program shows no window");
        sleepMs(20);
    }
}

// Waits until the program has handled everything sent to it, or has ended.
void answered() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const Window window = front();
        if (!window || xd::PING(window, 500)) return;
    }
    fail("the window in front did not answer for 10 s");
}

void key(const std::string& combination) {
    const size_t plus = combination.find('+');
    const std::string held = plus == std::string::npos ? "" : combination.substr(0, plus);
    if (Window window = front()) xd::KEY(window, combination.substr(plus == std::string::npos ? 0 : plus + 1), held);
    answered();
}

void waitForTitle(const std::string& title) {
    for (int tries = 0; tries < 100; ++tries) {
        const Window window = front();
        if (!window || shownAs(window) == title) return;
        sleepMs(50);
    }
}

void open(const Form& form) {
    note("(open " + form.title + ")");
    for (const std::string& step : form.opening) {
        if (step.starts_with("wait:")) waitForTitle(step.substr(5));
        else if (step.starts_with("type:"))
            for (char letter : step.substr(5)) key(letter == ' ' ? "space" : std::string(1, letter));
        else key(step);
    }
}

// A menu closes with Escape; any other window as its close box closes it.
void close(Window window) {
    note("(close " + shownAs(window) + ")");
    if (xd::ISPOPUP(window)) xd::KEY(window, "Escape");
    else xd::CLOSEBOX(window);
    answered();
}

// Closes window after window, as the user would, until the program has ended.
void closeProgram() {
    for (int tries = 0; tries < 60; ++tries) {
        const Window window = front();
        if (!window) return;
        close(window);
        sleepMs(100);
    }
    fail("the program does not close");
}

class Events {
public:
    explicit Events(unsigned seed) : random_(seed) {}

    // One key or click, as the user might send it to the window in front.
    void send(Window window) {
        const std::string title = shownAs(window), where = "[" + title + "] ";
        ++eventsByWindow[title];
        if (below(100) < 55) {
            const std::string combination = randomKey();
            note(where + combination);
            const size_t plus = combination.find('+');
            const std::string held = plus == std::string::npos ? "" : combination.substr(0, plus);
            xd::KEY(window, combination.substr(plus == std::string::npos ? 0 : plus + 1), held);
        } else {
            const double across = below(1000) / 1000.0, down = below(1000) / 1000.0;
            const int kind = below(10);
            const unsigned button = kind == 0 ? 3 : 1;
            const int clicks = kind == 1 ? 2 : 1;
            std::ostringstream what;
            what << where << (button == 3 ? "right " : "") << (clicks == 2 ? "double " : "") << "click at " << across
                 << ", " << down;
            note(what.str());
            xd::CLICK(window, across, down, button, clicks);
        }
        ++events;
        answered();
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string randomKey() {
        static const std::vector<std::string> symbols = {"dollar", "comma", "percent", "period", "minus", "space"};
        static const std::vector<std::string> keys = {"Tab",  "Tab",   "Return", "Return", "Escape",    "F1",
                                                      "Left", "Right", "Up",     "Down",   "BackSpace", "Delete"};
        static const std::string ctrl = "sovzcxa", menus = "toh";
        const int pick = below(100);
        if (pick < 25) return std::string(1, static_cast<char>('a' + below(26)));
        if (pick < 42) return std::string(1, static_cast<char>('0' + below(10)));
        if (pick < 54) return symbols[below(static_cast<int>(symbols.size()))];
        if (pick < 80) return keys[below(static_cast<int>(keys.size()))];
        if (pick < 90) return std::string("Ctrl+") + ctrl[below(static_cast<int>(ctrl.size()))];
        if (pick < 95) return std::string("Alt+") + menus[below(3)];
        return std::string("Alt+") + static_cast<char>('a' + below(26));
    }

    std::mt19937 random_;
};

// Sends count events to form, opening it from the calculator whenever it is not in front; a window
// it opens gets some events of its own and is then closed. Returns the events those windows got.
long exercise(const Form& form, int count, Events& random) {
    int foreign = 0, attempts = 0, idle = 0;
    long elsewhere = 0;
    for (int sent = 0; sent < count;) {
        if (!running) {
            ++endedByThemselves;
            start();
        }
        if (++idle > 200) fail("no event could be sent for " + form.title);
        const Window window = front();
        if (!window) continue;
        const std::string title = shownAs(window);
        if (title == form.title) {
            foreign = attempts = idle = 0;
            random.send(window);
            ++sent;
        } else if (title == kCalculator) {
            if (++attempts > kOpenAttempts) fail(form.title + " does not open");
            // The user's own saves can leave the search more analyses than compare; a new start
            // leaves it the two again.
            if (attempts % 8 == 0) {
                closeProgram();
                start();
            } else {
                open(form);
            }
        } else if (++foreign > kForeignEvents) {
            close(window);
            foreign = 0;
        } else {
            idle = 0;
            random.send(window);
            ++elsewhere;
        }
    }
    return elsewhere;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: random_input <seed> <events per form> <program> <log folder>\n");
        return 2;
    }
    const unsigned seed = static_cast<unsigned>(std::stoul(argv[1]));
    const int count = std::stoi(argv[2]);
    programPath = argv[3];
    logFolder = argv[4];
    eventLog.open(logFolder + "/events.log");
    if (!xd::OPENDISPLAY()) {
        std::fprintf(stderr, "random input: no X display with the XTest extension\n");
        return 2;
    }
    Events random(seed);
    start();
    for (const Form& form : kForms) {
        const long elsewhere = exercise(form, count, random);
        std::printf("random input: %d events in %s, %ld in the windows it opened\n", count, form.title.c_str(),
                    elsewhere);
        std::fflush(stdout);
    }
    closeProgram();
    ended();
    // A last start shows that the settings and analyses the run left behind still open.
    start();
    waitForTitle(kCalculator);
    answered();
    closeProgram();
    ended();
    xd::CLOSEDISPLAY();
    std::printf("random input, seed %u: %ld events, %d starts (%d after the program ended by itself)\n", seed, events,
                starts, endedByThemselves);
    for (const auto& [title, count] : eventsByWindow) std::printf("  %6ld to %s\n", count, title.c_str());
    return 0;
}
