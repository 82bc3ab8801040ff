// Other programs and the system: starting the installer, the program's own first argument, the
// user's browser, and whether a folder takes new files.
#pragma once

#include <string>
#include <vector>

// Starts the program with its arguments as given (no shell reads them) and does not wait for it;
// false when it could not be started.
bool OS_STARTPROGRAM(const std::string& program, const std::vector<std::string>& arguments);

// Lets the file's owner run it.
bool OS_MAKEEXECUTABLE(const std::string& path);

// The first argument the program was started with; empty when there is none.
std::string OS_FIRSTARGUMENT();

// Opens the page in the user's web browser.
bool OS_OPENWEBPAGE(const std::string& url);  // false when no browser took it

// The file of the running program itself, links resolved; empty when it cannot be told.
std::string OS_OWNEXECUTABLE();
