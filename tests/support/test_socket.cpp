#include "tests/support/test_socket.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TestSocket bindLoopback(Loopback where, uint16_t& port) {
    sockaddr_storage address{};
    socklen_t length = sizeof(sockaddr_in);
    if (where == Loopback::IPv4) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    } else {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = in6addr_loopback;
        length = sizeof(sockaddr_in6);
    }
    int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(where == Loopback::IPv4 ? reinterpret_cast<sockaddr_in*>(&address)->sin_port
                                             : reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
        return fd;
    }
    if (fd >= 0) ::close(fd);
    return kNoSocket;
}

bool listenOn(TestSocket listener) { return ::listen(static_cast<int>(listener), 16) == 0; }

TestSocket acceptOn(TestSocket listener) {
    int fd = ::accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? kNoSocket : fd;
}

bool readableWithin(TestSocket socket, int ms) {
    pollfd entry{static_cast<int>(socket), POLLIN, 0};
    return ::poll(&entry, 1, ms) > 0;
}

int64_t receiveFrom(TestSocket socket, char* buffer, size_t size, bool peek) {
    return ::recv(static_cast<int>(socket), buffer, size, peek ? MSG_PEEK : 0);
}

int64_t sendTo(TestSocket socket, const char* data, size_t size) {
    return ::send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
}

void closeSocket(TestSocket socket) {
    if (socket != kNoSocket) ::close(static_cast<int>(socket));
}
