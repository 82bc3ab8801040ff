// The names the program has on this system: its executable, and the folder a fresh copy goes to.
#pragma once

#include <string>

// The program's executable in its folder: "Tarvex", or "Tarvex.exe" on Windows.
extern const char kProgramExecutable[];

// The folder the installer offers for a fresh copy: ~/Tarvex, or %LOCALAPPDATA%\Programs\Tarvex on
// Windows; empty when the user's folder is unknown.
std::string OS_FRESHCOPYFOLDER();
