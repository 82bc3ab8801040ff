// The TCP client on Winsock 2: the same waits, slices and error numbers as on POSIX sockets. A
// SOCKET is wider than the connection numbers callers keep, so open sockets live in a table.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/tcp_client.h"
#include "platform/tcp_waits.h"
#include "platform/wide_text.h"

namespace {

// Winsock counts bytes in int; one send or receive hands it at most this many.
constexpr size_t kMostBytesPerCall = size_t{1} << 20;
// More open connections than the program ever needs; past them a connect fails.
constexpr size_t kMostConnections = 1024;

// Winsock's code as the errno value the POSIX client reports for the same failure; a code with
// no counterpart stays as it is (they lie above every errno value).
int32_t errnoOf(int code) {
    switch (code) {
        case WSAECONNREFUSED: return ECONNREFUSED;
        case WSAETIMEDOUT: return ETIMEDOUT;
        case WSAECONNRESET: return ECONNRESET;
        case WSAECONNABORTED: return ECONNABORTED;
        case WSAEHOSTUNREACH:
        case WSAEHOSTDOWN: return EHOSTUNREACH;
        case WSAENETUNREACH: return ENETUNREACH;
        case WSAENETDOWN: return ENETDOWN;
        case WSAENETRESET: return ENETRESET;
        case WSAESHUTDOWN: return EPIPE;
        case WSAENOTCONN: return ENOTCONN;
        case WSAEADDRNOTAVAIL: return EADDRNOTAVAIL;
        case WSAEAFNOSUPPORT: return EAFNOSUPPORT;
        case WSAENOBUFS: return ENOBUFS;
        case WSAEMFILE: return EMFILE;
        case WSAEACCES: return EACCES;
        case WSAEINVAL: return EINVAL;
        case WSAENOTSOCK: return EBADF;
        default: return code;
    }
}

// Winsock is started once, on the first connect, and stays started until the process ends.
int32_t startWinsock() {
    static const int status = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data);
    }();
    return errnoOf(status);
}

// Connection n is Sockets[n - 1]; a closed one's slot holds INVALID_SOCKET until it is reused.
std::mutex TableLock;
std::vector<SOCKET> Sockets;

int32_t numberFor(SOCKET socket) {
    std::lock_guard<std::mutex> hold(TableLock);
    auto slot = std::find(Sockets.begin(), Sockets.end(), INVALID_SOCKET);
    if (slot != Sockets.end())
        *slot = socket;
    else if (Sockets.size() < kMostConnections)
        slot = Sockets.insert(Sockets.end(), socket);
    else
        return 0;
    return static_cast<int32_t>(slot - Sockets.begin()) + 1;
}

SOCKET socketOf(int32_t connection) {
    std::lock_guard<std::mutex> hold(TableLock);
    if (connection < 1 || static_cast<size_t>(connection) > Sockets.size()) return INVALID_SOCKET;
    return Sockets[static_cast<size_t>(connection) - 1];
}

// Waits until the socket is ready for events, in slices with the idle function between them.
bool waitFor(SOCKET socket, SHORT events, int32_t timeoutMs, const OS_Idle& idle, int32_t& error) {
    return tcp::inSlices(timeoutMs, tcp::kSliceMs, idle, error, [&](int slice) {
        WSAPOLLFD entry{socket, events, 0};
        const int ready = ::WSAPoll(&entry, 1, slice);
        if (ready != SOCKET_ERROR) return ready > 0 ? 1 : 0;
        error = errnoOf(::WSAGetLastError());
        return -1;
    });
}

// One address: a non-blocking connect, finished within the time-out. The socket is not handed
// down to programs this one starts (the installer among them). Windows 10 before version 2004
// does not report a refused connect through WSAPoll; there it ends at the time-out instead.
SOCKET connectTo(const ADDRINFOW& address, int32_t timeoutMs, const OS_Idle& idle, int32_t& error) {
    SOCKET socket = ::WSASocketW(address.ai_family, address.ai_socktype, address.ai_protocol, nullptr, 0,
                                 WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket == INVALID_SOCKET) {
        error = errnoOf(::WSAGetLastError());
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    if (::ioctlsocket(socket, FIONBIO, &nonBlocking) == 0 &&
        ::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0)
        return socket;
    const int started = ::WSAGetLastError();
    if (started == WSAEWOULDBLOCK && waitFor(socket, POLLOUT, timeoutMs, idle, error)) {
        int failure = 0;
        int length = sizeof failure;
        if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&failure), &length) == 0 &&
            failure == 0)
            return socket;
        error = errnoOf(failure ? failure : ::WSAGetLastError());
    } else if (started != WSAEWOULDBLOCK) {
        error = errnoOf(started);
    }
    ::closesocket(socket);
    return INVALID_SOCKET;
}

}  // namespace

int32_t OS_TCPCONNECT(const std::string& host, uint16_t port, int32_t timeoutMs, const OS_Idle& idle,
                      int32_t& error) {
    error = startWinsock();
    if (error != 0) return 0;
    const std::wstring wideHost = OS_WIDETEXT(host);
    if (wideHost.empty()) {
        error = OS_TCPNOHOST;
        return 0;
    }
    // Every address the name has. Unlike on POSIX, addresses of a kind the machine has none of
    // are not left out (Windows would then find no address for the loopback names of a computer
    // that is offline); connecting to such an address fails at once and the next is tried.
    const auto lookup = tcp::lookUp<ADDRINFOW>(
        [wideHost, port](ADDRINFOW*& found) {
            ADDRINFOW hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_protocol = IPPROTO_TCP;
            return ::GetAddrInfoW(wideHost.c_str(), std::to_wstring(port).c_str(), &hints, &found);
        },
        [](ADDRINFOW* found) { ::FreeAddrInfoW(found); }, timeoutMs, idle, error);
    if (!lookup) return 0;
    for (const ADDRINFOW* address = lookup->found; address; address = address->ai_next) {
        SOCKET socket = connectTo(*address, timeoutMs, idle, error);
        if (socket == INVALID_SOCKET) {
            if (error == OS_TCPCANCELLED) return 0;
            continue;
        }
        const int32_t connection = numberFor(socket);
        error = connection ? 0 : EMFILE;
        if (!connection) ::closesocket(socket);
        return connection;
    }
    return 0;
}

bool OS_TCPSEND(int32_t connection, std::string_view data, int32_t timeoutMs, const OS_Idle& idle,
                int32_t& error) {
    const SOCKET socket = socketOf(connection);
    while (!data.empty()) {
        const int size = static_cast<int>(std::min(data.size(), kMostBytesPerCall));
        const int sent = ::send(socket, data.data(), size, 0);
        if (sent > 0) {
            data.remove_prefix(static_cast<size_t>(sent));
            continue;
        }
        const int failure = ::WSAGetLastError();
        if (failure != WSAEWOULDBLOCK) {
            error = errnoOf(failure);
            return false;
        }
        if (!waitFor(socket, POLLOUT, timeoutMs, idle, error)) return false;
    }
    return true;
}

int64_t OS_TCPRECEIVE(int32_t connection, char* buffer, size_t size, int32_t timeoutMs, const OS_Idle& idle,
                      int32_t& error) {
    const SOCKET socket = socketOf(connection);
    const int most = static_cast<int>(std::min(size, kMostBytesPerCall));
    for (;;) {
        const int got = ::recv(socket, buffer, most, 0);
        if (got >= 0) return got;
        const int failure = ::WSAGetLastError();
        if (failure != WSAEWOULDBLOCK) {
            error = errnoOf(failure);
            return -1;
        }
        if (!waitFor(socket, POLLIN, timeoutMs, idle, error)) return -1;
    }
}

void OS_TCPCLOSE(int32_t connection) {
    SOCKET socket = INVALID_SOCKET;
    {
        std::lock_guard<std::mutex> hold(TableLock);
        if (connection >= 1 && static_cast<size_t>(connection) <= Sockets.size())
            std::swap(socket, Sockets[static_cast<size_t>(connection) - 1]);
    }
    if (socket != INVALID_SOCKET) ::closesocket(socket);
}
