// What the POSIX and the Winsock client share: every wait cut into slices with the caller's idle
// function between them, and the name lookup on a thread of its own.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/tcp_client.h"

namespace tcp {

using Clock = std::chrono::steady_clock;
constexpr int kSliceMs = 50;

// Asks ready(slice) until it answers, each time with the milliseconds it may wait (at most
// sliceMs), running the idle function between: ready says 1 when ready, -1 when it failed (with
// error set), 0 for not yet. False with error set unless it became ready within the time-out.
template <class Ready>
bool inSlices(int32_t timeoutMs, int sliceMs, const OS_Idle& idle, int32_t& error, Ready ready) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto remaining = [&] {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return static_cast<int>(std::max<long long>(left, 0));
    };
    for (;;) {
        const int state = ready(std::min(sliceMs, remaining()));
        if (state != 0) return state > 0;
        if (idle && !idle()) {
            error = OS_TCPCANCELLED;
            return false;
        }
        if (remaining() == 0) {
            error = OS_TCPTIMEDOUT;
            return false;
        }
    }
}

// The system's resolver cannot be cut into slices, so the lookup runs on a thread of its own; a
// lookup abandoned at the time-out finishes there and frees what it found.
template <class Address>
struct Lookup {
    std::mutex lock;
    bool done = false;
    int status = 0;
    Address* found = nullptr;
    std::function<void(Address*)> release;
    ~Lookup() {
        if (found) release(found);
    }
    bool finished() {
        std::lock_guard<std::mutex> hold(lock);
        return done;
    }
};

// Runs find (which returns the resolver's status and sets the addresses) and waits for it within
// the time-out; the addresses it found, or null with error set.
template <class Address, class Find, class Release>
std::shared_ptr<Lookup<Address>> lookUp(Find find, Release release, int32_t timeoutMs, const OS_Idle& idle,
                                        int32_t& error) {
    auto lookup = std::make_shared<Lookup<Address>>();
    lookup->release = release;
    std::thread([lookup, find] {
        Address* found = nullptr;
        const int status = find(found);
        std::lock_guard<std::mutex> hold(lookup->lock);
        lookup->status = status;
        lookup->found = found;
        lookup->done = true;
    }).detach();
    const bool done = inSlices(timeoutMs, 5, idle, error, [&](int slice) {
        if (lookup->finished()) return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(slice));
        return lookup->finished() ? 1 : 0;
    });
    if (!done) return nullptr;
    if (lookup->status == 0 && lookup->found) return lookup;
    error = OS_TCPNOHOST;
    return nullptr;
}

}  // namespace tcp
