// Child processes on Windows: CreateProcessW, a pipe for the standard output, TerminateProcess
// and WaitForSingleObject.
#include <windows.h>
// After windows.h, on whose types it builds.
#include <shellapi.h>

#include "platform/command_line.h"
#include "platform/wide_text.h"
#include "tests/support/child_process.h"
#include "tests/support/wait.h"

namespace {

// The exit code a killed child is given.
constexpr UINT kKilled = 0xDEAD;

HANDLE handleOf(intptr_t value) { return reinterpret_cast<HANDLE>(value); }

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const std::wstring application = OS_WIDETEXT(program);
    std::wstring line = OS_WIDETEXT(COMMANDLINE(words));
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (application.empty() || line.empty() || !::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return;
    // Only the writing end goes to the child.
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    started_ = ::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                nullptr, nullptr, &startup, &child);
    ::CloseHandle(writeEnd);
    pipe_ = reinterpret_cast<intptr_t>(readEnd);
    if (!started_) return;
    ::CloseHandle(child.hThread);
    process_ = reinterpret_cast<intptr_t>(child.hProcess);
}

ChildProcess::~ChildProcess() {
    kill();
    if (started_) ::CloseHandle(handleOf(process_));
    if (pipe_ != -1) ::CloseHandle(handleOf(pipe_));
}

bool ChildProcess::readSome(int timeoutMs) {
    HANDLE pipe = handleOf(pipe_);
    DWORD available = 0;
    bool broken = false;
    // An anonymous pipe cannot be waited on with a time-out, so it is looked at until then.
    const auto arrived = [&] {
        broken = !::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr);
        return broken || available > 0;
    };
    if (pipe_ == -1 || !waitUntil(arrived, timeoutMs, 1000) || broken) return false;
    std::string buffer(available, '\0');
    DWORD got = 0;
    if (!::ReadFile(pipe, buffer.data(), available, &got, nullptr) || got == 0) return false;
    output_.append(buffer, 0, got);
    return true;
}

bool ChildProcess::kill() {
    if (!started_ || ended_) return false;
    HANDLE process = handleOf(process_);
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::TerminateProcess(process, kKilled);
    ::WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    ended_ = true;
    exitCode_ = static_cast<int>(code);
    return running && code == kKilled;
}

std::optional<int> ChildProcess::wait(int timeoutMs) {
    if (!started_) return std::nullopt;
    if (!ended_) {
        HANDLE process = handleOf(process_);
        if (::WaitForSingleObject(process, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        ended_ = true;
        exitCode_ = static_cast<int>(code);
    }
    return exitCode_;
}

std::vector<std::string> utf8Arguments(int, char**) {
    // The C runtime's argv is in the ANSI code page; the wide command line has every character.
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words && i < count; ++i) arguments.push_back(OS_UTF8TEXT(words[i]));
    ::LocalFree(words);
    return arguments;
}

void setEnvironment(const std::string& name, const std::string& value) {
    ::SetEnvironmentVariableW(OS_WIDETEXT(name).c_str(), OS_WIDETEXT(value).c_str());
}
