// Another program that a test runs: started by its path with an argument vector (no shell), its
// standard output read line by line, ended at once when the test says so or is done with it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    // Kills it when it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return started_; }
    // The next line it writes, without its line end; nothing when none comes within timeoutMs.
    std::optional<std::string> readLine(int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const size_t end = output_.find('\n');
            if (end != std::string::npos) {
                std::string line = output_.substr(0, end);
                output_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() < 0 || !readSome(static_cast<int>(left.count()))) return std::nullopt;
        }
    }
    // Ends it at once and waits until it has ended; true when it was running until then.
    bool kill();
    // Its exit code once it has ended, waiting at most timeoutMs; a killed one's is not 0.
    std::optional<int> wait(int timeoutMs);

private:
    // Appends what it has written within timeoutMs to output_; false when nothing came.
    bool readSome(int timeoutMs);

    bool started_ = false;
    bool ended_ = false;
    int exitCode_ = 0;
    intptr_t process_ = 0;  // its process id, or its process handle on Windows
    intptr_t pipe_ = -1;    // the reading end of its standard output
    std::string output_;
};

// A program's arguments after its own name, in UTF-8 on every system.
std::vector<std::string> utf8Arguments(int argc, char** argv);
// Sets a variable in this process's environment, which the programs it starts inherit.
void setEnvironment(const std::string& name, const std::string& value);
