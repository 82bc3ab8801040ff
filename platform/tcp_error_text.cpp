// The descriptions of the TCP client's error codes, the same on every system: each code the
// client reports for a network failure has its own text here rather than the C library's.
#include <cstring>

#include "platform/tcp_client.h"

std::string OS_TCPERRORTEXT(int32_t error) {
    switch (error) {
        case OS_TCPCANCELLED: return "The transfer was cancelled";
        case OS_TCPTIMEDOUT: return "The server did not answer in time";
        case OS_TCPNOHOST: return "The server's name was not found";
        case ECONNREFUSED: return "The server refused the connection";
        case ECONNRESET: return "The server reset the connection";
        case ECONNABORTED: return "The connection was broken off";
        case ENETUNREACH: return "The network cannot be reached";
        case EHOSTUNREACH: return "The server cannot be reached";
        case ENETDOWN: return "The network is down";
        case ENETRESET: return "The network dropped the connection";
        case EPIPE: return "The server closed the connection";
        case ENOTCONN: return "The connection is not open";
        case EADDRNOTAVAIL: return "The address cannot be used from this computer";
        case EAFNOSUPPORT: return "This computer cannot use that kind of address";
        case ENOBUFS: return "The system has no room for more network data";
        default: return std::strerror(error);
    }
}
