#include "update/recovery.h"

// No update is installed by this version yet, so none can have been interrupted.
bool RECOVERINSTALL() { return true; }
