// The entries through which the user finds an installed copy and removes it again: on Windows a
// Start-menu shortcut and an uninstall entry for the current user. Here there are none: a copy in
// its own folder is started from that folder and removed with it (the .deb has its own menu entry).
#pragma once

#include <string>

struct ShellEntries {
    std::string program;    // the executable the shortcut starts
    std::string folder;     // where the copy lies
    std::string installer;  // the installer whose "/uninstall" removes the copy
    std::string version;
    bool operator==(const ShellEntries&) const = default;
};

// Whether this system keeps such entries at all.
extern const bool kSystemKeepsShellEntries;

// Writes the shortcut and the uninstall entry, replacing earlier ones; false when one of them
// could not be written.
bool OS_WRITESHELLENTRIES(const ShellEntries& entries);
// Removes both; true when neither is left.
bool OS_REMOVESHELLENTRIES();
// The entries as the system holds them, paths with "/"; empty fields where there are none (an
// uninstall command that is not the installer's quoted path and "/uninstall" names no installer).
ShellEntries OS_READSHELLENTRIES();
