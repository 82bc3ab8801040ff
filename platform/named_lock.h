// A per-user lock of a name, held through one open handle at a time: a second take, in this
// process or in another, is refused until the holder closes its handle or ends, however it ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Opens the lock and takes it once it is free, waiting at most timeoutMs; its handle, or 0 when
// it cannot be had at all. heldElsewhere tells that another holder kept it: the handle then holds
// nothing, and is closed all the same.
int32_t OS_OPENLOCK(const std::string& name, int32_t timeoutMs, bool& heldElsewhere);
// Waits at most timeoutMs for the lock to be free and takes it; its handle, or 0.
int32_t OS_WAITFORLOCK(const std::string& name, int32_t timeoutMs);
// Frees the lock and ends what was tied to it.
void OS_CLOSELOCK(int32_t handle);
// Keeps companion (the holder's server, say) until the lock is closed.
void OS_TIETOLOCK(int32_t handle, std::shared_ptr<void> companion);
// A file of the lock's own beside it, like the socket its holder listens on; empty when the
// lock's private folder cannot be had. Names are plain words of letters, digits, '-' and '_'.
std::string OS_LOCKFILEPATH(const std::string& name, const std::string& suffix);
