#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool OS_FILEEXISTS(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Opened without blocking, so that a pipe or a device of that name cannot stop the program.
std::optional<std::string> OS_READFILE(const std::string& path, int64_t maxBytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> content;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        content.emplace();
        content->reserve(static_cast<size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got == 0) break;
            // A file that grows past the limit while it is read is refused like a larger one.
            if (got < 0 || static_cast<int64_t>(content->size()) + got > maxBytes) {
                content.reset();
                break;
            }
            content->append(buffer, static_cast<size_t>(got));
        }
    }
    ::close(fd);
    return content;
}

bool OS_DELETEFILE(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return true;
    struct stat info {};
    return errno == ENOENT || ::lstat(path.c_str(), &info) != 0;
}
