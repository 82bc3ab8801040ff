// Client TCP connections, on POSIX sockets or on Winsock 2 (the build picks the file). Every wait
// (the name lookup, the connect, each send and receive) is bounded by a time-out counted from its
// start and is cut into slices of at most 50 ms, between which the caller's idle function runs;
// the GUI passes one that processes its events, so the window never freezes while the network is
// slow.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Runs between the slices of a wait; returning false abandons the wait (error OS_TCPCANCELLED).
using OS_Idle = std::function<bool()>;

// Error codes are errno values on every system (Winsock's own codes are turned into them, so that
// callers and OS_TCPERRORTEXT treat a failure alike everywhere); these three mean:
constexpr int32_t OS_TCPCANCELLED = ECANCELED;  // the idle function asked to stop
constexpr int32_t OS_TCPTIMEDOUT = ETIMEDOUT;   // nothing happened within the time-out
constexpr int32_t OS_TCPNOHOST = -1;            // the name has no address

// Connects to host (a name or an address) and port, trying every address the name has, IPv4 and
// IPv6, each within the time-out. Returns the connection number, or 0 with error set.
int32_t OS_TCPCONNECT(const std::string& host, uint16_t port, int32_t timeoutMs, const OS_Idle& idle,
                      int32_t& error);

// Sends all of data; false with error set when the time-out passes first or the connection fails.
bool OS_TCPSEND(int32_t connection, std::string_view data, int32_t timeoutMs, const OS_Idle& idle,
                int32_t& error);

// Receives what has arrived, at most size bytes, waiting for the first one: the count, 0 when
// the other side has closed the connection, -1 with error set on a failure or time-out.
int64_t OS_TCPRECEIVE(int32_t connection, char* buffer, size_t size, int32_t timeoutMs, const OS_Idle& idle,
                      int32_t& error);

void OS_TCPCLOSE(int32_t connection);

// A short description of an error code, for notices.
std::string OS_TCPERRORTEXT(int32_t error);
