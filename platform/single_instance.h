// A per-user named lock that marks the running copy of the program, and the way a
// second copy asks the first to bring its window forward.
#pragma once

#include <cstdint>
#include <string>

#include "platform/named_lock.h"

// Opens or creates the lock; 0 when it cannot be had at all. alreadyExisted tells that
// another live copy holds it. A lock left by a copy that died counts as free. The lock is
// closed with OS_CLOSELOCK.
int32_t OS_CREATELOCK(const std::string& name, bool& alreadyExisted);
// Asks the copy holding the lock to restore and raise its top-level window with this
// caption; true when that copy was reached.
bool OS_RAISEOTHERCOPY(const std::string& name, const std::string& caption);
void OS_BEEP();
