// What makes an installed copy known to the system, and its removal ("/uninstall").
#pragma once

#include <string>
#include <vector>

// Writes the Start-menu shortcut and the uninstall entry of the copy in folder, whose removal runs
// the installer at installer with "/uninstall"; false when the system refused one of them.
bool REGISTERCOPY(const std::string& folder, const std::string& installer, const std::string& version);

// Removes the copy in folder: the named program files, old ones moved aside by a replacement,
// Help/, Graphics/ and the folder itself once nothing else is left in them, then the shortcut and
// the uninstall entry. The user's settings and analyses stay. False, with the reason in problem,
// when a file could not be removed (the entries then stay, so that the user can try again).
bool UNINSTALLPROGRAM(const std::string& folder, const std::vector<std::string>& names, std::string& problem);
