// The test servers' sockets on Winsock 2, started once for the test program.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "tests/support/test_socket.h"

namespace {

SOCKET socketOf(TestSocket socket) { return static_cast<SOCKET>(socket); }

// Winsock counts bytes in int.
int countOf(size_t size) { return static_cast<int>(std::min<size_t>(size, 1 << 20)); }

bool startWinsock() {
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

}  // namespace

TestSocket bindLoopback(Loopback where, uint16_t& port) {
    if (!startWinsock()) return kNoSocket;
    sockaddr_storage address{};
    int length = sizeof(sockaddr_in);
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
    SOCKET socket = ::socket(address.ss_family, SOCK_STREAM, IPPROTO_TCP);
    if (socket != INVALID_SOCKET && ::bind(socket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(where == Loopback::IPv4 ? reinterpret_cast<sockaddr_in*>(&address)->sin_port
                                             : reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
        return static_cast<TestSocket>(socket);
    }
    if (socket != INVALID_SOCKET) ::closesocket(socket);
    return kNoSocket;
}

bool listenOn(TestSocket listener) { return ::listen(socketOf(listener), 16) == 0; }

TestSocket acceptOn(TestSocket listener) {
    SOCKET socket = ::accept(socketOf(listener), nullptr, nullptr);
    return socket == INVALID_SOCKET ? kNoSocket : static_cast<TestSocket>(socket);
}

bool readableWithin(TestSocket socket, int ms) {
    WSAPOLLFD entry{socketOf(socket), POLLIN, 0};
    return ::WSAPoll(&entry, 1, ms) > 0;
}

int64_t receiveFrom(TestSocket socket, char* buffer, size_t size, bool peek) {
    return ::recv(socketOf(socket), buffer, countOf(size), peek ? MSG_PEEK : 0);
}

int64_t sendTo(TestSocket socket, const char* data, size_t size) {
    return ::send(socketOf(socket), data, countOf(size), 0);
}

void closeSocket(TestSocket socket) {
    if (socket != kNoSocket) ::closesocket(socketOf(socket));
}
