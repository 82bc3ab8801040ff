// What the POSIX and the Windows lock share: the table of open handles and the rule for names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Keeps an open lock file (null for a handle that holds nothing), which its deleter closes when
// the handle is closed; the new handle.
int32_t OS_KEEPLOCK(std::shared_ptr<void> file);
// Whether name is a plain word of at most 64 letters, digits, '-' and '_'.
bool OS_PLAINLOCKNAME(const std::string& name);
