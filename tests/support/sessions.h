// Sessions: runs of the real program, started by a test as a separate process of the test
// program (copied into a scratch program folder) and driven there as a user would. The session
// to run is named by the environment variable TARVEX_SESSION, so that the program's own
// arguments ("/update") stand first on its command line, as in real life.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Registers a session under a name; returns true so it can initialise a static.
bool registerSession(const std::string& name, std::function<int()> body);
// Runs the session that TARVEX_SESSION names; -1 when none is asked for.
int runRequestedSession();
// Starts the program as in real life and returns once its calculator window is up.
void startProgram();
// Lets the program run until its calculator window has gone, or the time-out; true when it went.
bool runUntilClosed(int timeoutMs = 30000);

struct SessionRun {
    std::vector<std::string> arguments;                            // the program's own arguments
    std::vector<std::pair<std::string, std::string>> environment;  // added to the test's environment
    std::vector<std::string> wrapper;  // a command the program runs under, such as faketime
};
// The path of the test program's copy in folder, as sessions and installers start it.
std::string sessionProgram(const std::string& folder);
// Copies this test program into folder and runs the named session there; its exit code.
int runSessionIn(const std::string& folder, const std::string& name, const SessionRun& run = {});
