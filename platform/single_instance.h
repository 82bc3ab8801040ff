// A per-user named lock that marks the running copy of the program, and the way a
// second copy asks the first to bring its window forward.
#pragma once

#include <cstdint>
#include <string>

// Opens or creates the lock; 0 when it cannot be had at all. alreadyExisted tells that
// another live copy holds it. A lock left by a copy that died counts as free.
int32_t OS_CREATELOCK(const std::string& name, bool& alreadyExisted);
void OS_CLOSELOCK(int32_t handle);
// Asks the copy holding the lock to restore and raise its top-level window with this
// caption; true when that copy was reached.
bool OS_RAISEOTHERCOPY(const std::string& name, const std::string& caption);
void OS_BEEP();
// Waits at most timeoutMs for the lock to be free and takes it, without answering requests to
// raise a window (for a program that has none, like the installer); its handle, or 0.
int32_t OS_WAITFORLOCK(const std::string& name, int32_t timeoutMs);
