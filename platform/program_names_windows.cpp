#include <windows.h>

#include "platform/program_names.h"
#include "platform/wide_text.h"

const char kProgramExecutable[] = "Tarvex.exe";

// Per-user programs live in %LOCALAPPDATA%\Programs, where installing needs no administrator.
std::string OS_FRESHCOPYFOLDER() {
    wchar_t base[MAX_PATH * 2];
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) return "";
    const std::filesystem::path folder =
        std::filesystem::path(std::wstring(base, length)) / L"Programs" / L"Tarvex";
    return folder.is_absolute() ? OS_PATHTEXT(folder) : "";
}
