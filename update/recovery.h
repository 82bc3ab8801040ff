// Recovery of an update that did not complete.
#pragma once

// True to go on with the start; false when an interrupted silent update has just been
// started again and this copy must end.
bool RECOVERINSTALL();
