#include "platform/shell_entries.h"

const bool kSystemKeepsShellEntries = false;

bool OS_WRITESHELLENTRIES(const ShellEntries&) { return true; }

bool OS_REMOVESHELLENTRIES() { return true; }

ShellEntries OS_READSHELLENTRIES() { return {}; }
