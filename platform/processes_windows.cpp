// Processes on Windows: a program is started by its own path, with one quoted command line that
// splits into exactly the arguments given; no shell reads it.
#include <windows.h>

#include <algorithm>

#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/wide_text.h"

namespace {

bool holdsNul(const std::string& word) { return word.find('\0') != std::string::npos; }

}  // namespace

bool OS_STARTPROGRAM(const std::string& program, const std::vector<std::string>& arguments) {
    // A quote can be in no file name, and the program's own name on the line is not escaped.
    if (program.find('"') != std::string::npos || holdsNul(program) ||
        std::any_of(arguments.begin(), arguments.end(), holdsNul))
        return false;
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const std::wstring application = OS_WIDETEXT(program);
    std::wstring line = OS_WIDETEXT(COMMANDLINE(words));
    if (application.empty() || line.empty()) return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // No handle is inherited and no console shared: the program runs on its own.
    if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE,
                          DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started))
        return false;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return true;
}

// Windows runs any file whose content is a program; there is no mode to set.
bool OS_MAKEEXECUTABLE(const std::string& path) { return OS_FILEEXISTS(path); }

std::string OS_OWNEXECUTABLE() {
    // The longest path Windows has is 32767 characters; the buffer grows until the name fits.
    for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0) return "";
        if (length < size) return OS_UTF8TEXT(path.substr(0, length));
    }
    return "";
}
