// The named lock on POSIX: flock on a file in the user's runtime folder, which the system frees
// when the holder closes it or ends, so a copy that died never blocks the next one.
#include "platform/named_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/named_lock_table.h"

namespace {

// $XDG_RUNTIME_DIR, else a folder of the user's own in the temporary folder, made for it; empty
// when it is someone else's or open to others, who could then hold or remove the lock.
std::string folderFor(const std::string& name) {
    struct stat info {};
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) return runtime;
    std::error_code error;
    const std::string temporary = std::filesystem::temp_directory_path(error).string();
    if (error) return "";
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    const std::string folder = temporary + "/" + lower + "-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    const bool own = ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                     info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
    return own ? folder : "";
}

}  // namespace

std::string OS_LOCKFILEPATH(const std::string& name, const std::string& suffix) {
    if (!OS_PLAINLOCKNAME(name)) return "";
    const std::string folder = folderFor(name);
    return folder.empty() ? "" : folder + "/" + name + suffix;
}

int32_t OS_OPENLOCK(const std::string& name, int32_t timeoutMs, bool& heldElsewhere) {
    heldElsewhere = false;
    const std::string path = OS_LOCKFILEPATH(name, ".lock");
    if (path.empty()) return 0;
    // Not handed on to programs this one starts, which would then hold the lock too.
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) return 0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    while (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(file);
            return 0;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(file);
            heldElsewhere = true;
            return OS_KEEPLOCK(nullptr);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The file names the process that holds it, for whoever looks.
    const std::string holder = std::to_string(::getpid()) + "\n";
    static_cast<void>(::ftruncate(file, 0) == 0 && ::pwrite(file, holder.data(), holder.size(), 0) > 0);
    return OS_KEEPLOCK(std::shared_ptr<void>(nullptr, [file](void*) { ::close(file); }));
}
