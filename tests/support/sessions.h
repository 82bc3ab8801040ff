// Sessions: runs of the real program, started by a test as a separate process of the test
// program (copied into a scratch program folder) and driven there as a user would.
#pragma once

#include <functional>
#include <string>

// Registers a session under a name; returns true so it can initialise a static.
bool registerSession(const std::string& name, std::function<int()> body);
// Runs the named session when the command line asks for one ("--session=NAME"); -1 otherwise.
int runRequestedSession(int argc, char** argv);
// Starts the program as in real life and returns once its calculator window is up.
void startProgram();
// Copies this test program into folder and runs the named session there; its exit code.
int runSessionIn(const std::string& folder, const std::string& name);
