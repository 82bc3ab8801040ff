#include "platform/tcp_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSliceMs = 50;

// Milliseconds left until the deadline, never below 0.
int remaining(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

// Waits until fd is ready for events, in slices with the idle function between them.
bool waitFor(int fd, short events, int32_t timeoutMs, const OS_Idle& idle, int32_t& error) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd entry{fd, events, 0};
        int ready = ::poll(&entry, 1, std::min(kSliceMs, remaining(deadline)));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) {
            error = errno;
            return false;
        }
        if (idle && !idle()) {
            error = OS_TCPCANCELLED;
            return false;
        }
        if (remaining(deadline) == 0) {
            error = OS_TCPTIMEDOUT;
            return false;
        }
    }
}

// The name lookup runs on a thread of its own, since the system's resolver cannot be cut into
// slices; a lookup abandoned at the time-out finishes there and frees what it found.
struct Lookup {
    std::mutex lock;
    bool done = false;
    int status = 0;
    addrinfo* found = nullptr;
    ~Lookup() {
        if (found) ::freeaddrinfo(found);
    }
};

std::shared_ptr<Lookup> startLookup(const std::string& host, uint16_t port) {
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_ADDRCONFIG;
        addrinfo* found = nullptr;
        int status = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
        std::lock_guard<std::mutex> hold(lookup->lock);
        lookup->status = status;
        lookup->found = found;
        lookup->done = true;
    }).detach();
    return lookup;
}

bool lookupDone(Lookup& lookup) {
    std::lock_guard<std::mutex> hold(lookup.lock);
    return lookup.done;
}

// One address: a non-blocking connect, finished within the time-out.
int connectTo(const addrinfo& address, int32_t timeoutMs, const OS_Idle& idle, int32_t& error) {
    int fd =
        ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return fd;
    if (errno == EINPROGRESS && waitFor(fd, POLLOUT, timeoutMs, idle, error)) {
        int failure = 0;
        socklen_t length = sizeof failure;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &length) == 0 && failure == 0) return fd;
        error = failure ? failure : errno;
    } else if (errno != EINPROGRESS) {
        error = errno;
    }
    ::close(fd);
    return -1;
}

}  // namespace

int32_t OS_TCPCONNECT(const std::string& host, uint16_t port, int32_t timeoutMs, const OS_Idle& idle,
                      int32_t& error) {
    error = 0;
    std::shared_ptr<Lookup> lookup = startLookup(host, port);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!lookupDone(*lookup)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(5, remaining(deadline))));
        if (lookupDone(*lookup)) break;
        if (idle && !idle()) {
            error = OS_TCPCANCELLED;
            return 0;
        }
        if (remaining(deadline) == 0) {
            error = OS_TCPTIMEDOUT;
            return 0;
        }
    }
    if (lookup->status != 0 || !lookup->found) {
        error = OS_TCPNOHOST;
        return 0;
    }
    for (const addrinfo* address = lookup->found; address; address = address->ai_next) {
        int fd = connectTo(*address, timeoutMs, idle, error);
        if (fd >= 0) {
            error = 0;
            return fd + 1;
        }
        if (error == OS_TCPCANCELLED) return 0;
    }
    return 0;
}

bool OS_TCPSEND(int32_t connection, std::string_view data, int32_t timeoutMs, const OS_Idle& idle,
                int32_t& error) {
    const int fd = connection - 1;
    while (!data.empty()) {
        ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            data.remove_prefix(static_cast<size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(fd, POLLOUT, timeoutMs, idle, error)) return false;
            continue;
        }
        error = errno;
        return false;
    }
    return true;
}

int64_t OS_TCPRECEIVE(int32_t connection, char* buffer, size_t size, int32_t timeoutMs, const OS_Idle& idle,
                      int32_t& error) {
    const int fd = connection - 1;
    for (;;) {
        ssize_t got = ::recv(fd, buffer, size, 0);
        if (got >= 0) return got;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            error = errno;
            return -1;
        }
        if (!waitFor(fd, POLLIN, timeoutMs, idle, error)) return -1;
    }
}

void OS_TCPCLOSE(int32_t connection) {
    if (connection > 0) ::close(connection - 1);
}
