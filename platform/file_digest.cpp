#include "platform/file_digest.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool OS_FILEDIGEST(const std::string& path, int64_t& size, std::string& sha256) {
    if (sodium_init() < 0) return false;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat info {};
    bool read = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    size = 0;
    static unsigned char buffer[1 << 16];
    while (read) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) read = false;
        if (got <= 0) break;
        crypto_hash_sha256_update(&state, buffer, static_cast<unsigned long long>(got));
        size += got;
    }
    ::close(fd);
    if (!read) return false;
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state, digest);
    sha256.assign(reinterpret_cast<const char*>(digest), sizeof digest);
    return true;
}
