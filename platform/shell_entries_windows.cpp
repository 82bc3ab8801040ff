// The Start-menu shortcut through the shell's link object (COM), the uninstall entry in the
// current user's part of the registry: neither needs an administrator.
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <filesystem>
#include <system_error>

#include "platform/shell_entries.h"
#include "platform/wide_text.h"

const bool kSystemKeepsShellEntries = true;

namespace {

namespace fs = std::filesystem;

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvex";
const wchar_t kUninstallSwitch[] = L" /uninstall";
constexpr DWORD kMaxValueChars = 4 * MAX_PATH;

// COM for the calls of one function; a thread that has it already keeps it as it was.
struct ComSession {
    const bool started = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ~ComSession() {
        if (started) ::CoUninitialize();
    }
};

// Releases a COM object when the function ends.
template <typename T>
struct Held {
    T* object = nullptr;
    ~Held() {
        if (object) object->Release();
    }
};

std::wstring native(const std::string& path) { return OS_PATH(path).make_preferred().wstring(); }

std::string generic(const std::wstring& path) {
    return path.empty() ? "" : OS_UTF8TEXT(fs::path(path).generic_wstring());
}

// %APPDATA%\Microsoft\Windows\Start Menu\Programs\Tarvex.lnk; empty when APPDATA names no folder.
fs::path shortcutFile() {
    wchar_t base[MAX_PATH * 2];
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", base, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2 || !fs::path(std::wstring(base, length)).is_absolute())
        return {};
    return fs::path(std::wstring(base, length)) / L"Microsoft" / L"Windows" / L"Start Menu" / L"Programs" /
           L"Tarvex.lnk";
}

bool writeShortcut(const ShellEntries& entries) {
    const fs::path file = shortcutFile();
    std::error_code error;
    if (file.empty()) return false;
    fs::create_directories(file.parent_path(), error);
    if (error) return false;
    ComSession com;
    Held<IShellLinkW> link;
    Held<IPersistFile> saved;
    return SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                        reinterpret_cast<void**>(&link.object))) &&
           SUCCEEDED(link.object->SetPath(native(entries.program).c_str())) &&
           SUCCEEDED(link.object->SetWorkingDirectory(native(entries.folder).c_str())) &&
           SUCCEEDED(link.object->SetDescription(L"Tarvex")) &&
           SUCCEEDED(
               link.object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&saved.object))) &&
           SUCCEEDED(saved.object->Save(file.c_str(), TRUE));
}

std::string readShortcut() {
    const fs::path file = shortcutFile();
    if (file.empty() || ::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return "";
    ComSession com;
    Held<IShellLinkW> link;
    Held<IPersistFile> loaded;
    wchar_t target[kMaxValueChars] = {};
    const bool read =
        SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link.object))) &&
        SUCCEEDED(link.object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&loaded.object))) &&
        SUCCEEDED(loaded.object->Load(file.c_str(), STGM_READ)) &&
        link.object->GetPath(target, kMaxValueChars, nullptr, SLGP_RAWPATH) == S_OK;
    return read ? generic(target) : "";
}

bool setText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return !value.empty() &&
           ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool setNumber(HKEY key, const wchar_t* name, DWORD value) {
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

bool writeUninstallEntry(const ShellEntries& entries) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const bool written =
        setText(key, L"DisplayName", L"Tarvex") &&
        setText(key, L"DisplayVersion", OS_WIDETEXT(entries.version)) &&
        setText(key, L"Publisher", L"Tarvex") && setText(key, L"InstallLocation", native(entries.folder)) &&
        setText(key, L"DisplayIcon", native(entries.program)) &&
        setText(key, L"UninstallString", L"\"" + native(entries.installer) + L"\"" + kUninstallSwitch) &&
        setNumber(key, L"NoModify", 1) && setNumber(key, L"NoRepair", 1);
    ::RegCloseKey(key);
    return written;
}

// One text value of the uninstall entry, at most kMaxValueChars long; empty when there is none.
std::wstring readText(const wchar_t* name) {
    wchar_t value[kMaxValueChars];
    DWORD bytes = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return L"";
    return std::wstring(value, wcsnlen(value, bytes / sizeof(wchar_t)));
}

// The installer in "<quoted path> /uninstall"; empty for any other command.
std::wstring installerOf(const std::wstring& command) {
    const std::wstring ending = std::wstring(L"\"") + kUninstallSwitch;
    if (command.size() < ending.size() + 2 || command[0] != L'"' || !command.ends_with(ending)) return L"";
    const std::wstring path = command.substr(1, command.size() - ending.size() - 1);
    return path.find(L'"') == std::wstring::npos ? path : L"";
}

}  // namespace

bool OS_WRITESHELLENTRIES(const ShellEntries& entries) {
    const bool shortcut = writeShortcut(entries);
    return writeUninstallEntry(entries) && shortcut;
}

bool OS_REMOVESHELLENTRIES() {
    const fs::path file = shortcutFile();
    const bool shortcutGone = file.empty() || ::DeleteFileW(file.c_str()) ||
                              ::GetLastError() == ERROR_FILE_NOT_FOUND ||
                              ::GetLastError() == ERROR_PATH_NOT_FOUND;
    const LSTATUS removed = ::RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
    return shortcutGone && (removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND);
}

ShellEntries OS_READSHELLENTRIES() {
    ShellEntries entries;
    entries.program = readShortcut();
    entries.folder = generic(readText(L"InstallLocation"));
    entries.installer = generic(installerOf(readText(L"UninstallString")));
    entries.version = OS_UTF8TEXT(readText(L"DisplayVersion"));
    return entries;
}
