#include "update/installation.h"

// This version downloads no installer yet, so there is nothing to recover, report or start.
bool RECOVERINSTALL() { return true; }

void ISUPDATED() {}

void DOUPDATE() {}
