// The named lock on Windows: LockFileEx on a file in %LOCALAPPDATA%\Tarvex, which Windows frees
// when the holder closes it or ends, so a copy that died never blocks the next one.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/files.h"
#include "platform/named_lock.h"
#include "platform/named_lock_table.h"
#include "platform/wide_text.h"

namespace {

// One byte far past the end of the file is locked, so the file itself stays readable.
bool tryLock(HANDLE file, bool& heldElsewhere) {
    OVERLAPPED at{};
    at.OffsetHigh = 0x7FFFFFFF;
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return true;
    heldElsewhere = ::GetLastError() == ERROR_LOCK_VIOLATION;
    return false;
}

}  // namespace

std::string OS_LOCKFILEPATH(const std::string& name, const std::string& suffix) {
    if (!OS_PLAINLOCKNAME(name)) return "";
    const std::string folder = OS_USERDATAFOLDER("Tarvex");
    return folder.empty() ? "" : folder + "\\" + name + suffix;
}

int32_t OS_OPENLOCK(const std::string& name, int32_t timeoutMs, bool& heldElsewhere) {
    heldElsewhere = false;
    const std::wstring path = OS_WIDETEXT(OS_LOCKFILEPATH(name, ".lock"));
    if (path.empty()) return 0;
    // Not inheritable, so programs this one starts never hold the lock too.
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    while (!tryLock(file, heldElsewhere)) {
        if (!heldElsewhere || std::chrono::steady_clock::now() >= deadline) {
            ::CloseHandle(file);
            return heldElsewhere ? OS_KEEPLOCK(nullptr) : 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    heldElsewhere = false;
    return OS_KEEPLOCK(std::shared_ptr<void>(nullptr, [file](void*) { ::CloseHandle(file); }));
}
