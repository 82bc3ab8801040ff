// Processes on POSIX: a program started with fork and execv, no shell; the running one named by
// /proc/self/exe.
#include "platform/processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

bool holdsNul(const std::string& word) { return word.find('\0') != std::string::npos; }

// The started program's process: the signals this one blocks or ignores are its own business, and
// no open file (a lock, a socket) is handed on to it.
[[noreturn]] void execute(const std::string& program, char* const* argv, int report) {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    ::execv(program.c_str(), argv);
    const int error = errno;
    static_cast<void>(::write(report, &error, sizeof error));
    ::_exit(127);
}

}  // namespace

// The program is started from a child that ends at once, so it is nobody's child here and never
// left a zombie; the pipe, closed by a successful exec, carries the error of a failed one back.
bool OS_STARTPROGRAM(const std::string& program, const std::vector<std::string>& arguments) {
    if (program.empty() || holdsNul(program) || std::any_of(arguments.begin(), arguments.end(), holdsNul))
        return false;
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t started = ::fork();
        if (started == 0) execute(program, argv.data(), report[1]);
        ::_exit(started < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 1;
    while (middle > 0 && ::waitpid(middle, &status, 0) < 0 && errno == EINTR) continue;
    int error = 0;
    ssize_t got = ::read(report[0], &error, sizeof error);
    while (got < 0 && errno == EINTR) got = ::read(report[0], &error, sizeof error);
    ::close(report[0]);
    return middle > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

bool OS_MAKEEXECUTABLE(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && ::chmod(path.c_str(), (info.st_mode & 07777) | S_IXUSR) == 0;
}

std::string OS_OWNEXECUTABLE() {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && static_cast<size_t>(length) < sizeof path ? std::string(path, static_cast<size_t>(length)) : "";
}
