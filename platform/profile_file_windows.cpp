// The settings file on Windows: the same rules as elsewhere, with a new file flushed and then
// moved over the old one in one step.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/files.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "platform/wide_text.h"

namespace {

// The whole file; empty when there is none, nothing when it exists but cannot be read. Anything
// but a regular file reads as nothing.
std::optional<std::string> readWhole(const std::string& file) {
    if (!OS_PATHEXISTS(file)) return std::string();
    return OS_READFILE(file, INT64_MAX);
}

bool writeAll(HANDLE handle, std::string_view content) {
    while (!content.empty()) {
        DWORD put = 0;
        const DWORD part = static_cast<DWORD>(std::min<size_t>(content.size(), 1u << 30));
        if (!::WriteFile(handle, content.data(), part, &put, nullptr) || put == 0) return false;
        content.remove_prefix(put);
    }
    return true;
}

// The new content goes to a temporary file beside the old one, reaches the disk, and is then moved
// over it in one step. The temporary file has a fixed name, so crashes leave at most one behind.
bool replaceWhole(const std::string& file, std::string_view content) {
    const std::string temporary = file + ".tmp";
    const int32_t handle = OS_CREATEPRIVATEFILE(temporary);
    if (handle == 0) return false;
    const bool written = OS_WRITEFILE(handle, content.data(), content.size());
    if (!OS_FINISHFILE(handle) || !written || !OS_RENAMEFILE(temporary, file)) {
        OS_DELETEFILE(temporary);
        return false;
    }
    return true;
}

// Where the folder takes no new file but the settings file itself may be written, the new content
// goes over the old in place and reaches the disk. Not atomic, but better than a setting lost.
bool rewriteInPlace(const std::string& file, std::string_view content) {
    HANDLE handle = ::CreateFileW(OS_WIDETEXT(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    bool written = writeAll(handle, content) && ::SetEndOfFile(handle) && ::FlushFileBuffers(handle);
    return ::CloseHandle(handle) && written;
}

}  // namespace

std::string OS_GETPROFILESTRING(const std::string& section, const std::string& key,
                                const std::string& fallback, const std::string& file) {
    return PROFILE_READ(readWhole(file).value_or(""), section, key, fallback);
}

bool OS_WRITEPROFILESTRING(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file) {
    if (file.empty()) return false;
    const bool existed = OS_PATHEXISTS(file);
    if (existed && !OS_FILEWRITABLE(file)) return false;
    const std::string parent = OS_PATHTEXT(OS_PATH(file).parent_path());
    const std::string folder = parent.empty() ? "." : parent;
    const bool folderTakesFiles = OS_FOLDERTAKESFILES(folder);
    if (!folderTakesFiles && !existed) return false;

    std::optional<std::string> content = readWhole(file);
    if (!content) return false;
    const std::string updated = PROFILE_WRITE(*content, section, key, value);
    return folderTakesFiles ? replaceWhole(file, updated) : rewriteInPlace(file, updated);
}
