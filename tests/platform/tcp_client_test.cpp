// The TCP client against servers that refuse, stay silent, trickle, close, or never read, on
// every system: each wait ends by its time-out or the idle function, with the same error number.
#include "platform/tcp_client.h"

#include <gtest/gtest.h>

#include "tests/support/raw_server.h"

namespace {

constexpr int32_t kConnectMs = 20000;
constexpr int kNever = 0;

struct HostileServer {
    const char* what;
    std::vector<RawServer::Step> script;
    size_t requestBytes;  // what the client sends first, ending with an empty line
    int32_t timeoutMs;    // of the client's send and each receive
    int cancelAtIdle;     // the idle call that asks to stop
    int32_t sendError;
    std::string received;  // before the end of the stream or the failure
    int32_t receiveError;  // 0 when the server closed the connection
    int leastIdles;
};

const HostileServer kServers[] = {
    {"closes after a greeting", {RawServer::send("bye")}, 4, 10000, kNever, 0, "bye", 0, 0},
    {"trickles", {RawServer::trickle("abcd", 200)}, 4, 10000, kNever, 0, "abcd", 0, 3},
    {"accepts and never sends", {RawServer::hold(60000)}, 4, 400, kNever, 0, "", OS_TCPTIMEDOUT, 2},
    {"is left by the user", {RawServer::hold(60000)}, 4, 10000, 3, 0, "", OS_TCPCANCELLED, 3},
    {"never reads", {RawServer::hold(60000)}, size_t{64} << 20, 400, kNever, OS_TCPTIMEDOUT, "", 0, 2},
};

// Connects, sends the request and receives until the stream ends or fails, as `c` expects.
void exchange(const HostileServer& c, const RawServer& server) {
    int32_t error = 0;
    const int32_t connection = OS_TCPCONNECT(server.address(), server.port(), kConnectMs, {}, error);
    ASSERT_NE(connection, 0) << OS_TCPERRORTEXT(error);
    int idles = 0;
    const OS_Idle idle = [&] { return ++idles != c.cancelAtIdle; };
    const std::string request = std::string(c.requestBytes - 4, 'x') + "\r\n\r\n";
    EXPECT_EQ(OS_TCPSEND(connection, request, c.timeoutMs, idle, error), c.sendError == 0);
    EXPECT_EQ(error, c.sendError) << OS_TCPERRORTEXT(error);
    std::string received;
    char buffer[16];
    for (int64_t got = 1; c.sendError == 0 && got > 0;) {
        got = OS_TCPRECEIVE(connection, buffer, sizeof buffer, c.timeoutMs, idle, error);
        if (got > 0) received.append(buffer, static_cast<size_t>(got));
    }
    EXPECT_EQ(received, c.received);
    EXPECT_EQ(error, c.sendError ? c.sendError : c.receiveError) << OS_TCPERRORTEXT(error);
    EXPECT_GE(idles, c.leastIdles);
    OS_TCPCLOSE(connection);
}

}  // namespace

TEST(TcpClient, HostileServersEndAsExpected) {
    for (const HostileServer& c : kServers) {
        SCOPED_TRACE(c.what);
        const RawServer server({c.script});
        exchange(c, server);
    }
}

TEST(TcpClient, ServesOverIPv6Loopback) {
    const RawServer server({{RawServer::send("bye")}}, Loopback::IPv6);
    if (!server.listening()) GTEST_SKIP() << "this machine has no IPv6 loopback address";
    exchange(kServers[0], server);
}

TEST(TcpClient, ConnectFailureNamesItsReason) {
    const RefusingPort refusing;
    const struct {
        const char* host;
        uint16_t port;
        int32_t error;
    } cases[] = {{"127.0.0.1", refusing.port(), ECONNREFUSED},
                 {"no-such-server.tarvex.invalid", 80, OS_TCPNOHOST}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        int32_t error = 0;
        EXPECT_EQ(OS_TCPCONNECT(c.host, c.port, kConnectMs, {}, error), 0);
        EXPECT_EQ(error, c.error) << OS_TCPERRORTEXT(error);
    }
}
