#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/wide_text.h"

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

int32_t OS_CREATEPRIVATEFILE(const std::string& path) {
    ::unlink(path.c_str());
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return fd < 0 ? 0 : fd + 1;
}

// Each 8 MiB written starts on its way to the disk at once, so that the flush at the end of a
// long file waits only for the last part of it.
constexpr off_t kWriteBehind = 8 << 20;

bool OS_WRITEFILE(int32_t file, const char* bytes, size_t count) {
    const int fd = file - 1;
    const off_t start = ::lseek(fd, 0, SEEK_CUR);
    while (count > 0) {
        ssize_t put = ::write(fd, bytes, count);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        count -= static_cast<size_t>(put);
    }
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    if (start >= 0 && end / kWriteBehind > start / kWriteBehind)
        ::sync_file_range(fd, end / kWriteBehind * kWriteBehind - kWriteBehind, kWriteBehind,
                          SYNC_FILE_RANGE_WRITE);
    return true;
}

bool OS_FINISHFILE(int32_t file) {
    bool synced = ::fsync(file - 1) == 0;
    return ::close(file - 1) == 0 && synced;
}

void OS_CLOSEFILE(int32_t file) {
    if (file > 0) ::close(file - 1);
}

bool OS_RENAMEFILE(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

namespace {

bool mayWrite(const std::string& path, mode_t kind) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == kind &&
           (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

bool OS_FOLDERTAKESFILES(const std::string& folder) { return mayWrite(folder, S_IFDIR); }

bool OS_FILEWRITABLE(const std::string& path) { return mayWrite(path, S_IFREG); }

namespace {

// $<variable>/<programName> when the variable holds an absolute path, else ~/<fallback>/<programName>;
// made when missing, open to its owner alone.
std::string userFolder(const char* variable, const char* fallback, const std::string& programName) {
    const char* base = std::getenv(variable);
    const char* home = std::getenv("HOME");
    const std::string folder = base && base[0] == '/'
                                   ? std::string(base) + "/" + programName
                                   : std::string(home && home[0] == '/' ? home : "") + fallback + programName;
    std::error_code error;
    if (!std::filesystem::exists(folder, error) && std::filesystem::create_directories(folder, error))
        ::chmod(folder.c_str(), 0700);
    return folder;
}

}  // namespace

std::string OS_USERCONFIGFOLDER(const std::string& programName) {
    return userFolder("XDG_CONFIG_HOME", "/.config/", programName);
}

std::string OS_TEMPFOLDER() {
    const char* folder = std::getenv("TMPDIR");
    return folder && folder[0] == '/' ? folder : "/tmp";
}

std::string OS_USERDATAFOLDER(const std::string& programName) {
    return userFolder("XDG_DATA_HOME", "/.local/share/", programName);
}

bool OS_PATHEXISTS(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool OS_MAKEFOLDERS(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool OS_SYNCFOLDER(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool OS_REMOVEEMPTYFOLDER(const std::string& path) { return ::rmdir(path.c_str()) == 0 || errno == ENOENT; }

int32_t OS_OPENFORREADING(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return 0;
    }
    return fd + 1;
}

int64_t OS_OPENFILESIZE(int32_t file) {
    struct stat info {};
    return ::fstat(file - 1, &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

bool OS_READAT(int32_t file, int64_t offset, char* bytes, size_t count) {
    while (count > 0) {
        ssize_t got = ::pread(file - 1, bytes, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        offset += got;
        count -= static_cast<size_t>(got);
    }
    return true;
}

// Paths are UTF-8 here already.
std::filesystem::path OS_PATH(const std::string& path) { return path; }

std::string OS_PATHTEXT(const std::filesystem::path& path) { return path.string(); }
