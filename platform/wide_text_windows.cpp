#include "platform/wide_text.h"

#include <windows.h>

#include <climits>

std::wstring OS_WIDETEXT(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) return L"";
    const int size = static_cast<int>(text.size());
    const int count = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (count <= 0) return L"";
    std::wstring wide(static_cast<size_t>(count), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), count);
    return wide;
}

std::string OS_UTF8TEXT(const std::wstring& text) {
    if (text.empty() || text.size() > INT_MAX) return "";
    const int size = static_cast<int>(text.size());
    const int count =
        ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return "";
    std::string narrow(static_cast<size_t>(count), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, narrow.data(), count, nullptr,
                          nullptr);
    return narrow;
}

std::filesystem::path OS_PATH(const std::string& path) { return std::filesystem::path(OS_WIDETEXT(path)); }

std::string OS_PATHTEXT(const std::filesystem::path& path) { return OS_UTF8TEXT(path.wstring()); }
