// Waiting for a condition with a deadline, for tests without an event loop to run (the GUI tests
// use driver::WAITFOR, which runs the application's events meanwhile).
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls condition every pollUs microseconds until it holds or timeoutMs has passed; true when it held.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs, int pollUs = 100) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(pollUs));
    }
    return true;
}
