// The same on every system, through the files service's reads at an offset.
#include "platform/file_digest.h"

#include <algorithm>

#include "platform/crypto.h"
#include "platform/files.h"

bool OS_FILEDIGEST(const std::string& path, int64_t& size, std::string& sha256) {
    const int32_t file = OS_OPENFORREADING(path);
    size = file == 0 ? -1 : OS_OPENFILESIZE(file);
    bool read = size >= 0;
    Sha256 digest;
    static char buffer[1 << 16];
    for (int64_t at = 0; read && at < size; at += int64_t{sizeof buffer}) {
        const size_t part = static_cast<size_t>(std::min<int64_t>(size - at, sizeof buffer));
        read = OS_READAT(file, at, buffer, part);
        digest.add(std::string_view(buffer, part));
    }
    OS_CLOSEFILE(file);
    if (read) sha256 = digest.finish();
    return read;
}
