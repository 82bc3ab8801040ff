// A web server for tests on the loopback address that speaks raw bytes, so that each case sends
// exactly what it means: every connection it accepts reads the request up to its empty line and
// then plays the steps of its script, on a thread of its own. It runs on every system.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_socket.h"

class RawServer {
public:
    struct Step {
        enum class Kind { Send, Pause, Trickle, Repeat, Body, Hold };
        Kind kind;
        std::string bytes;
        int64_t count = 0;  // pause or hold in ms, trickle ms per byte, repeats, body bytes
    };
    static Step send(std::string bytes) { return {Step::Kind::Send, std::move(bytes), 0}; }
    static Step pause(int ms) { return {Step::Kind::Pause, "", ms}; }
    static Step trickle(std::string bytes, int msPerByte) {
        return {Step::Kind::Trickle, std::move(bytes), msPerByte};
    }
    static Step repeat(std::string bytes, int64_t times) {
        return {Step::Kind::Repeat, std::move(bytes), times};
    }
    static Step body(int64_t bytes) { return {Step::Kind::Body, "", bytes}; }
    // Keeps the connection open without sending or reading, for ms or until the client goes.
    static Step hold(int ms) { return {Step::Kind::Hold, "", ms}; }

    // Script i for the connection accepted i-th; the last script serves every later connection.
    // Each connection is closed when its script ends.
    explicit RawServer(std::vector<std::vector<Step>> scripts, Loopback where = Loopback::IPv4);
    // A server with a script for each request path; other paths are answered with 404.
    using Paths = std::map<std::string, std::vector<Step>>;
    static std::unique_ptr<RawServer> servingPaths(Paths scriptsByPath);
    // Replaces the scripts by path for the connections that follow.
    void setPaths(Paths scriptsByPath);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    // False when the machine has no such loopback address (then nothing is served).
    bool listening() const { return listener_ != kNoSocket; }
    uint16_t port() const { return port_; }
    std::string address() const { return where_ == Loopback::IPv4 ? "127.0.0.1" : "::1"; }
    std::string host() const {
        return (where_ == Loopback::IPv4 ? address() : "[" + address() + "]") + ":" + std::to_string(port_);
    }
    // The requests received so far, each up to and including its empty line.
    std::vector<std::string> requests() const;
    // How many of them were a GET of path.
    int requestsFor(const std::string& path) const;
    // Bytes of the body that the last connection's body steps sent.
    static std::string bodyBytes(int64_t count);

private:
    RawServer() = default;
    void start();
    void serve();
    std::vector<Step> scriptFor(size_t served, const std::string& request) const;
    void play(TestSocket client, const std::vector<Step>& script);
    bool sendAll(TestSocket client, const char* data, size_t size);

    std::vector<std::vector<Step>> scripts_;
    std::map<std::string, std::vector<Step>> scriptsByPath_;
    Loopback where_ = Loopback::IPv4;
    TestSocket listener_ = kNoSocket;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A port on 127.0.0.1 that is bound, but not listened on, for as long as this lives: a
// connection there is refused, and nothing else can take the port meanwhile.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    uint16_t port() const { return port_; }
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    TestSocket socket_ = kNoSocket;
    uint16_t port_ = 0;
};
