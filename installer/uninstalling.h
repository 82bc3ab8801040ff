// What makes an installed copy known to the system, and its removal ("/uninstall").
#pragma once

#include <string>
#include <vector>

// The uninstaller the copy keeps in its own folder where the system lists installed programs, so
// that removing it still works once the installer that was run is gone.
constexpr char kKeptUninstaller[] = "Uninstall Tarvex.exe";

// Writes the Start-menu shortcut and the uninstall entry of the copy in folder. Where the system
// keeps such entries, the installer is first copied into the folder as kKeptUninstaller and the
// entry runs that copy with "/uninstall"; false when the copy or one of the entries failed (the
// entry then names the installer itself).
bool REGISTERCOPY(const std::string& folder, const std::string& installer, const std::string& version);

// Removes the copy in folder: the kept uninstaller, the named program files, old ones moved aside
// by a replacement, Help/, Graphics/ and the folder itself once nothing else is left in them, then
// the shortcut and the uninstall entry. The user's settings and analyses stay. False, with the
// reason in problem, when a file could not be removed (the entries then stay, so that the user can
// try again).
bool UNINSTALLPROGRAM(const std::string& folder, const std::vector<std::string>& names, std::string& problem);
