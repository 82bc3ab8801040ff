#include "tests/support/raw_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

void sleepMs(int64_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A socket bound to a port of the system's choice on 127.0.0.1, and that port.
int bindOnLoopback(uint16_t& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

// Waits up to ms for fd to be readable.
bool readable(int fd, int ms) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, ms) > 0;
}

}  // namespace

RawServer::RawServer(std::vector<std::vector<Step>> scripts) : scripts_(std::move(scripts)) { start(); }

std::unique_ptr<RawServer> RawServer::servingPaths(Paths scriptsByPath) {
    std::unique_ptr<RawServer> server(new RawServer());
    server->scriptsByPath_ = std::move(scriptsByPath);
    server->start();
    return server;
}

void RawServer::start() {
    listener_ = bindOnLoopback(port_);
    ::listen(listener_, 16);
    thread_ = std::thread([this] { serve(); });
}

void RawServer::setPaths(Paths scriptsByPath) {
    std::lock_guard<std::mutex> hold(lock_);
    scriptsByPath_ = std::move(scriptsByPath);
}

std::vector<RawServer::Step> RawServer::scriptFor(size_t served, const std::string& request) const {
    static const std::vector<Step> notFound = {send("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n")};
    std::lock_guard<std::mutex> hold(lock_);
    if (scriptsByPath_.empty())
        return scripts_.empty() ? notFound : scripts_[std::min(served, scripts_.size() - 1)];
    const size_t start = request.find(' ') + 1;
    auto it = scriptsByPath_.find(request.substr(start, request.find(' ', start) - start));
    return it == scriptsByPath_.end() ? notFound : it->second;
}

RawServer::~RawServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::vector<std::string> RawServer::requests() const {
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
}

int RawServer::requestsFor(const std::string& path) const {
    int count = 0;
    for (const std::string& request : requests())
        if (request.starts_with("GET " + path + " ")) ++count;
    return count;
}

std::string RawServer::bodyBytes(int64_t count) {
    std::string bytes(static_cast<size_t>(count), '\0');
    for (int64_t i = 0; i < count; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>('a' + i % 26);
    return bytes;
}

void RawServer::serve() {
    size_t served = 0;
    while (!stop_) {
        if (!readable(listener_, 20)) continue;
        int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 &&
               readable(fd, 2000)) {
            ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<size_t>(got));
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            requests_.push_back(request);
        }
        play(fd, scriptFor(served, request));
        ++served;
        ::close(fd);
    }
}

bool RawServer::sendAll(int fd, const char* data, size_t size) {
    while (size > 0 && !stop_) {
        ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return !stop_;
}

void RawServer::play(int fd, const std::vector<Step>& script) {
    for (const Step& step : script) {
        switch (step.kind) {
            case Step::Kind::Send:
                if (!sendAll(fd, step.bytes.data(), step.bytes.size())) return;
                break;
            case Step::Kind::Pause: sleepMs(step.count); break;
            case Step::Kind::Trickle:
                for (char c : step.bytes) {
                    if (!sendAll(fd, &c, 1)) return;
                    // A client that has gone shows as a readable end of its stream.
                    for (int64_t waited = 0; waited < step.count; waited += 10) {
                        char peek;
                        if (stop_ || (readable(fd, 10) && ::recv(fd, &peek, 1, MSG_PEEK) <= 0)) return;
                    }
                }
                break;
            case Step::Kind::Repeat:
                for (int64_t i = 0; i < step.count; ++i)
                    if (!sendAll(fd, step.bytes.data(), step.bytes.size())) return;
                break;
            case Step::Kind::Body: {
                const std::string block = bodyBytes(26 * 2521);
                for (int64_t left = step.count; left > 0;) {
                    size_t size =
                        static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(block.size())));
                    if (!sendAll(fd, block.data(), size)) return;
                    left -= static_cast<int64_t>(size);
                }
                break;
            }
            case Step::Kind::Hold:
                for (int64_t waited = 0; waited < step.count && !stop_; waited += 20) {
                    char peek;
                    if (readable(fd, 20) && ::recv(fd, &peek, 1, MSG_PEEK) <= 0) return;
                }
                break;
        }
    }
}

RefusingPort::RefusingPort() { socket_ = bindOnLoopback(port_); }

RefusingPort::~RefusingPort() { ::close(socket_); }
