// The few socket calls of the test servers, on POSIX sockets or on Winsock 2 (the build picks the
// file), so that the same servers serve the tests on every system.
#pragma once

#include <cstddef>
#include <cstdint>

// A socket, wide enough for a Windows SOCKET; kNoSocket stands for none.
using TestSocket = intptr_t;
constexpr TestSocket kNoSocket = -1;

enum class Loopback { IPv4, IPv6 };

// A socket bound to a port of the system's choice on that loopback address, and that port;
// kNoSocket when the machine has no such address.
TestSocket bindLoopback(Loopback where, uint16_t& port);
bool listenOn(TestSocket listener);
TestSocket acceptOn(TestSocket listener);
// Whether the socket has bytes to read, or an end, within ms.
bool readableWithin(TestSocket socket, int ms);
// The counts of recv and send: 0 at the end of the stream, below 0 on a failure.
int64_t receiveFrom(TestSocket socket, char* buffer, size_t size, bool peek = false);
int64_t sendTo(TestSocket socket, const char* data, size_t size);
void closeSocket(TestSocket socket);
