// Handing over to a downloaded installer, and what follows an update.
#pragma once

// True to go on with the start; false when an interrupted silent update has just been
// started again and this copy must end.
bool RECOVERINSTALL();
// After the calculator is shown: reports a completed or failed update.
void ISUPDATED();
// When the calculator closes: starts a downloaded installer.
void DOUPDATE();
