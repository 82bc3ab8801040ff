#include "platform/file_digest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/crypto.h"

bool OS_FILEDIGEST(const std::string& path, int64_t& size, std::string& sha256) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat info {};
    bool read = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    Sha256 digest;
    size = 0;
    static unsigned char buffer[1 << 16];
    while (read) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) read = false;
        if (got <= 0) break;
        digest.add(std::string_view(reinterpret_cast<const char*>(buffer), static_cast<size_t>(got)));
        size += got;
    }
    ::close(fd);
    if (!read) return false;
    sha256 = digest.finish();
    return true;
}
