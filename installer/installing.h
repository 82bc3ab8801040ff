// What both ways of running the installer do: find its own payload and the folder it installs into,
// wait for the running program to end, replace the files, record the new version and start it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "installer/payload_format.h"

// How long the installer waits for the copy that started it to end.
constexpr int32_t kProgramEndWaitMs = 60000;

// True when the folder holds a copy of the program (its executable or its settings file).
bool HOLDSPROGRAM(const std::string& folder);

// Replaces (or installs) the program in folder from the checked payload of runFile, all or
// nothing; false with the reason in problem.
bool INSTALLPROGRAM(const std::string& runFile, const Payload& payload, const std::string& folder,
                    const std::function<void(const std::string&)>& step, std::string& problem);

// Leaves the start-up recovery nothing to do (Failed=0 in Tarvex.ini) and records the new version
// for the after-update notice: the program's own NewVer when it wrote one, else Updater.ini.
void RECORDUPDATE(const std::string& folder, const std::string& version);

// Starts the installed program, with "/update" after an update; false when it could not start.
bool STARTINSTALLED(const std::string& folder, bool update);

// Silent mode: no window, a line on stderr for anything that goes wrong. The exit code: 0 done,
// 1 the .run is damaged, 2 the program did not end in time, 3 the replacement failed (undone),
// 4 the new program did not start. A shortcut or uninstall entry the system refuses is only told.
int SILENTINSTALL(const std::string& runFile);

// "/uninstall", without a window: removes the copy in named (else the one that the uninstall entry
// names, else the one beside the installer) as UNINSTALLPROGRAM does, once the program has ended.
// An uninstaller running from that folder instead starts its copy in the temporary folder with
// "/uninstall <folder>" and ends; that copy waits for it to end first. The exit code: 0 done (or
// handed over), 1 the installer is damaged, 2 the program or the uninstaller did not end in time,
// 6 no copy is there, 7 a file or an entry could not be removed, 8 the copy could not be started.
int SILENTUNINSTALL(const std::string& installer, const std::string& named = "");
