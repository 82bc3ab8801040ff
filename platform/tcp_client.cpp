#include "platform/tcp_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/tcp_waits.h"

namespace {

// Waits until fd is ready for events, in slices with the idle function between them.
bool waitFor(int fd, short events, int32_t timeoutMs, const OS_Idle& idle, int32_t& error) {
    return tcp::inSlices(timeoutMs, tcp::kSliceMs, idle, error, [&](int slice) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, slice);
        if (ready >= 0 || errno == EINTR) return ready > 0 ? 1 : 0;
        error = errno;
        return -1;
    });
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
    const auto lookup = tcp::lookUp<addrinfo>(
        [host, port](addrinfo*& found) {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_flags = AI_ADDRCONFIG;
            return ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
        },
        ::freeaddrinfo, timeoutMs, idle, error);
    if (!lookup) return 0;
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
