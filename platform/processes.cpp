#include "platform/processes.h"

#include <sys/stat.h>
#include <unistd.h>

bool OS_MAKEEXECUTABLE(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && ::chmod(path.c_str(), (info.st_mode & 07777) | S_IXUSR) == 0;
}

std::string OS_OWNEXECUTABLE() {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && static_cast<size_t>(length) < sizeof path ? std::string(path, static_cast<size_t>(length)) : "";
}
