#include "platform/named_lock_table.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/named_lock.h"

namespace {

struct Lock {
    std::shared_ptr<void> file;
    std::shared_ptr<void> companion;
};

std::map<int32_t, Lock>& locks() {
    static std::map<int32_t, Lock> open;
    return open;
}

}  // namespace

int32_t OS_KEEPLOCK(std::shared_ptr<void> file) {
    static int32_t next = 0;
    locks()[++next] = {std::move(file), nullptr};
    return next;
}

bool OS_PLAINLOCKNAME(const std::string& name) {
    return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
}

int32_t OS_WAITFORLOCK(const std::string& name, int32_t timeoutMs) {
    bool heldElsewhere = false;
    const int32_t handle = OS_OPENLOCK(name, timeoutMs, heldElsewhere);
    if (!heldElsewhere) return handle;
    OS_CLOSELOCK(handle);
    return 0;
}

void OS_TIETOLOCK(int32_t handle, std::shared_ptr<void> companion) {
    const auto found = locks().find(handle);
    if (found != locks().end()) found->second.companion = std::move(companion);
}

void OS_CLOSELOCK(int32_t handle) {
    const auto found = locks().find(handle);
    if (found == locks().end()) return;
    Lock lock = std::move(found->second);
    locks().erase(found);
    // What answers for the holder ends before the next holder can take the lock.
    lock.companion.reset();
    lock.file.reset();
}
