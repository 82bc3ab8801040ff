// Child processes on POSIX: posix_spawn, a pipe for the standard output, SIGKILL and waitpid.
#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/wait.h"

namespace {

int exitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    pid_t child = 0;
    started_ = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    process_ = child;
    pipe_ = ends[0];
}

ChildProcess::~ChildProcess() {
    kill();
    ::close(static_cast<int>(pipe_));
}

bool ChildProcess::readSome(int timeoutMs) {
    pollfd ready{static_cast<int>(pipe_), POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    const ssize_t got = ::read(static_cast<int>(pipe_), buffer, sizeof buffer);
    if (got <= 0) return false;
    output_.append(buffer, static_cast<size_t>(got));
    return true;
}

bool ChildProcess::kill() {
    if (!started_ || ended_) return false;
    const pid_t child = static_cast<pid_t>(process_);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ended_ = true;
    exitCode_ = exitCodeOf(status);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

std::optional<int> ChildProcess::wait(int timeoutMs) {
    if (!started_) return std::nullopt;
    const auto reaped = [this] {
        int status = 0;
        if (ended_ || ::waitpid(static_cast<pid_t>(process_), &status, WNOHANG) == 0) return ended_;
        ended_ = true;
        exitCode_ = exitCodeOf(status);
        return true;
    };
    return waitUntil(reaped, timeoutMs) ? std::optional<int>(exitCode_) : std::nullopt;
}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void setEnvironment(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}
