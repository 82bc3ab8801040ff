// The files service on Windows: every path is UTF-8 here and UTF-16 at the call.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace fs = std::filesystem;

namespace {

// Handles are kernel handles, whose values fit in 32 bits; 0 stands for none.
int32_t handleNumber(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? 0 : static_cast<int32_t>(reinterpret_cast<intptr_t>(handle));
}

HANDLE handleOf(int32_t file) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(file)); }

DWORD attributesOf(const std::string& path) {
    const std::wstring wide = OS_WIDETEXT(path);
    return wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
}

bool isFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A regular file (no folder, no device, no link) open for reading, which others may still read,
// write and rename meanwhile; INVALID_HANDLE_VALUE otherwise.
HANDLE openRegularForReading(const std::string& path) {
    const std::wstring wide = OS_WIDETEXT(path);
    if (wide.empty()) return INVALID_HANDLE_VALUE;
    HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle != INVALID_HANDLE_VALUE &&
        (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
         (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)) {
        ::CloseHandle(handle);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// Moments at which another program (a virus scanner, an indexer) may still hold the target open.
constexpr int kMoveAttempts = 20;
constexpr DWORD kMovePauseMs = 50;

bool heldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace

bool OS_FILEEXISTS(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !isFolder(attributes);
}

std::optional<std::string> OS_READFILE(const std::string& path, int64_t maxBytes) {
    HANDLE handle = openRegularForReading(path);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> content;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(handle, &size) && size.QuadPart <= maxBytes) {
        content.emplace();
        content->reserve(static_cast<size_t>(size.QuadPart));
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            // A file that grows past the limit while it is read is refused like a larger one.
            if (!::ReadFile(handle, buffer, sizeof buffer, &got, nullptr) ||
                static_cast<int64_t>(content->size()) + got > maxBytes) {
                content.reset();
                break;
            }
            if (got == 0) break;
            content->append(buffer, got);
        }
    }
    ::CloseHandle(handle);
    return content;
}

bool OS_DELETEFILE(const std::string& path) {
    const std::wstring wide = OS_WIDETEXT(path);
    if (wide.empty()) return false;
    if (::DeleteFileW(wide.c_str())) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A file made in the user's own folders inherits an access list that lets only that user in.
int32_t OS_CREATEPRIVATEFILE(const std::string& path) {
    const std::wstring wide = OS_WIDETEXT(path);
    if (wide.empty()) return 0;
    ::DeleteFileW(wide.c_str());
    return handleNumber(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool OS_WRITEFILE(int32_t file, const char* bytes, size_t count) {
    while (count > 0) {
        const DWORD part = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
        DWORD put = 0;
        if (!::WriteFile(handleOf(file), bytes, part, &put, nullptr) || put == 0) return false;
        bytes += put;
        count -= put;
    }
    return true;
}

bool OS_FINISHFILE(int32_t file) {
    const bool flushed = ::FlushFileBuffers(handleOf(file)) != 0;
    return ::CloseHandle(handleOf(file)) != 0 && flushed;
}

void OS_CLOSEFILE(int32_t file) {
    if (file != 0) ::CloseHandle(handleOf(file));
}

// The new name replaces the old in one step and reaches the disk before the call returns; a
// target another program holds open is tried again for about a second, then refused.
bool OS_RENAMEFILE(const std::string& from, const std::string& to) {
    const std::wstring source = OS_WIDETEXT(from);
    const std::wstring target = OS_WIDETEXT(to);
    if (source.empty() || target.empty()) return false;
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (attempt == kMoveAttempts || !heldByAnother(::GetLastError())) return false;
        ::Sleep(kMovePauseMs);
    }
}

// The folder's read-only mark means nothing on Windows, so a file is made there and removed again.
bool OS_FOLDERTAKESFILES(const std::string& folder) {
    if (!isFolder(attributesOf(folder))) return false;
    const std::wstring probe =
        OS_WIDETEXT(folder + "\\tarvex-probe-" + std::to_string(::GetCurrentProcessId()) + "-" +
                    std::to_string(::GetCurrentThreadId()) + ".tmp");
    HANDLE handle = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(handle);
    return true;
}

bool OS_FILEWRITABLE(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;
    HANDLE handle = ::CreateFileW(OS_WIDETEXT(path).c_str(), FILE_WRITE_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(handle);
    return true;
}

namespace {

// %<variable>%\<programName>, made when missing; empty when the variable names no absolute folder.
std::string userFolder(const wchar_t* variable, const std::string& programName) {
    wchar_t base[MAX_PATH * 2];
    const DWORD length = ::GetEnvironmentVariableW(variable, base, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) return "";
    const fs::path folder = fs::path(std::wstring(base, length)) / OS_PATH(programName);
    if (!folder.is_absolute()) return "";
    std::error_code error;
    fs::create_directories(folder, error);
    return OS_PATHTEXT(folder);
}

}  // namespace

std::string OS_USERCONFIGFOLDER(const std::string& programName) { return userFolder(L"APPDATA", programName); }

std::string OS_USERDATAFOLDER(const std::string& programName) { return userFolder(L"LOCALAPPDATA", programName); }

std::string OS_TEMPFOLDER() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return "";
    return OS_PATHTEXT(fs::path(std::wstring(folder, length)).parent_path());
}

bool OS_PATHEXISTS(const std::string& path) { return attributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool OS_MAKEFOLDERS(const std::string& path) {
    std::error_code error;
    fs::create_directories(OS_PATH(path), error);
    return isFolder(attributesOf(path));
}

// A folder's entries reach the disk with the rename itself (MOVEFILE_WRITE_THROUGH); nothing to flush.
bool OS_SYNCFOLDER(const std::string& folder) { return isFolder(attributesOf(folder)); }

bool OS_REMOVEEMPTYFOLDER(const std::string& path) {
    const std::wstring wide = OS_WIDETEXT(path);
    return !wide.empty() && (::RemoveDirectoryW(wide.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND ||
                             ::GetLastError() == ERROR_PATH_NOT_FOUND);
}

int32_t OS_OPENFORREADING(const std::string& path) { return handleNumber(openRegularForReading(path)); }

int64_t OS_OPENFILESIZE(int32_t file) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(handleOf(file), &size) ? size.QuadPart : -1;
}

bool OS_READAT(int32_t file, int64_t offset, char* bytes, size_t count) {
    while (count > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        const DWORD part = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
        if (!::ReadFile(handleOf(file), bytes, part, &got, &at) || got == 0) return false;
        bytes += got;
        offset += got;
        count -= got;
    }
    return true;
}
