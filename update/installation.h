// Handing over to a downloaded installer, re-running an interrupted silent update, and telling
// the user how an update went.
#pragma once

#include <string>

// The version that the update installed, found after it.
extern std::string NewVersion;

// When the calculator closes: starts a downloaded installer, proved again first.
void DOUPDATE();
// At start: true to go on; false when an interrupted silent update has just been started again
// (with its own dialogues) and this copy must end.
bool RECOVERINSTALL();
// After the calculator is shown: reports a completed or failed update, then cleans up.
void ISUPDATED();
