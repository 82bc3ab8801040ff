#include <windows.h>

#include "platform/crypto.h"
#include "platform/file_digest.h"
#include "platform/wide_text.h"

bool OS_FILEDIGEST(const std::string& path, int64_t& size, std::string& sha256) {
    const std::wstring wide = OS_WIDETEXT(path);
    if (wide.empty()) return false;
    HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    bool read = ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info) &&
                (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    Sha256 digest;
    size = 0;
    static char buffer[1 << 16];
    while (read) {
        DWORD got = 0;
        read = ::ReadFile(handle, buffer, sizeof buffer, &got, nullptr) != 0;
        if (!read || got == 0) break;
        digest.add(std::string_view(buffer, got));
        size += got;
    }
    ::CloseHandle(handle);
    if (!read) return false;
    sha256 = digest.finish();
    return true;
}
