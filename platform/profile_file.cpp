// The replacement is done with POSIX calls because Qt has neither a flush to disk nor a rename
// over an existing file, and QSaveFile leaves a new randomly named temporary file at every crash.
#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "platform/files.h"
#include "platform/profile_text.h"

namespace fs = std::filesystem;

namespace {

// The whole file; empty when there is none, nothing when it exists but cannot be read. Anything
// but a regular file reads as nothing.
std::optional<std::string> readWhole(const fs::path& file) {
    if (::access(file.c_str(), F_OK) != 0 && errno == ENOENT) return std::string();
    return OS_READFILE(file.string(), INT64_MAX);
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t put = ::write(fd, content.data(), content.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        content.remove_prefix(static_cast<size_t>(put));
    }
    return true;
}

// The new content goes to a temporary file beside the old one, reaches the disk, and is then
// renamed over it in one step. The temporary file has a fixed name, so crashes leave at most
// one behind, and the next write clears it.
bool replaceWhole(const fs::path& file, const fs::path& folder, std::string_view content,
                  std::optional<mode_t> mode) {
    fs::path temporary = file;
    temporary += ".tmp";
    ::unlink(temporary.c_str());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool written = (!mode || ::fchmod(fd, *mode) == 0) && writeAll(fd, content) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself lasts through a power failure; a failure here loses no data.
    OS_SYNCFOLDER(folder.string());
    return true;
}

// Where the folder takes no new file but the settings file itself may be written, the new content
// goes over the old in place and reaches the disk. Not atomic, but better than a setting lost.
bool rewriteInPlace(const fs::path& file, std::string_view content) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    bool written = writeAll(fd, content) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
                   ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
}

}  // namespace

std::string OS_GETPROFILESTRING(const std::string& section, const std::string& key,
                                const std::string& fallback, const std::string& file) {
    return PROFILE_READ(readWhole(file).value_or(""), section, key, fallback);
}

bool OS_WRITEPROFILESTRING(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file) {
    if (file.empty()) return false;
    // A settings file that is a link is written where the link points; the link stays.
    std::error_code error;
    fs::path target = fs::exists(file, error) ? fs::canonical(file, error) : fs::path(file);
    if (error) return false;
    fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && !OS_FILEWRITABLE(target.string())) return false;
    const bool folderTakesFiles = OS_FOLDERTAKESFILES(folder.string());
    if (!folderTakesFiles && !existed) return false;

    std::optional<std::string> content = readWhole(target);
    if (!content) return false;
    const std::string updated = PROFILE_WRITE(*content, section, key, value);
    if (!folderTakesFiles) return rewriteInPlace(target, updated);
    std::optional<mode_t> mode;
    if (existed) mode = old.st_mode & 07777;
    return replaceWhole(target, folder, updated, mode);
}
