#include "tests/support/raw_server.h"

#include <chrono>

namespace {

void sleepMs(int64_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A client that has gone shows as a readable end of its stream; bytes it sent stay unread.
bool clientGone(TestSocket client, int ms) {
    char peek;
    return readableWithin(client, ms) && receiveFrom(client, &peek, 1, true) <= 0;
}

}  // namespace

RawServer::RawServer(std::vector<std::vector<Step>> scripts, Loopback where)
    : scripts_(std::move(scripts)), where_(where) {
    start();
}

std::unique_ptr<RawServer> RawServer::servingPaths(Paths scriptsByPath) {
    std::unique_ptr<RawServer> server(new RawServer());
    server->scriptsByPath_ = std::move(scriptsByPath);
    server->start();
    return server;
}

void RawServer::start() {
    listener_ = bindLoopback(where_, port_);
    if (!listenOn(listener_)) {
        closeSocket(listener_);
        listener_ = kNoSocket;
        return;
    }
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
    if (thread_.joinable()) thread_.join();
    closeSocket(listener_);
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
        if (!readableWithin(listener_, 20)) continue;
        TestSocket client = acceptOn(listener_);
        if (client == kNoSocket) continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 &&
               readableWithin(client, 2000)) {
            int64_t got = receiveFrom(client, buffer, sizeof buffer);
            if (got <= 0) break;
            request.append(buffer, static_cast<size_t>(got));
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            requests_.push_back(request);
        }
        play(client, scriptFor(served, request));
        ++served;
        closeSocket(client);
    }
}

bool RawServer::sendAll(TestSocket client, const char* data, size_t size) {
    while (size > 0 && !stop_) {
        int64_t sent = sendTo(client, data, size);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return !stop_;
}

void RawServer::play(TestSocket client, const std::vector<Step>& script) {
    for (const Step& step : script) {
        switch (step.kind) {
            case Step::Kind::Send:
                if (!sendAll(client, step.bytes.data(), step.bytes.size())) return;
                break;
            case Step::Kind::Pause: sleepMs(step.count); break;
            case Step::Kind::Trickle:
                for (char c : step.bytes) {
                    if (!sendAll(client, &c, 1)) return;
                    for (int64_t waited = 0; waited < step.count; waited += 10)
                        if (stop_ || clientGone(client, 10)) return;
                }
                break;
            case Step::Kind::Repeat:
                for (int64_t i = 0; i < step.count; ++i)
                    if (!sendAll(client, step.bytes.data(), step.bytes.size())) return;
                break;
            case Step::Kind::Body: {
                const std::string block = bodyBytes(26 * 2521);
                for (int64_t left = step.count; left > 0;) {
                    size_t size =
                        static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(block.size())));
                    if (!sendAll(client, block.data(), size)) return;
                    left -= static_cast<int64_t>(size);
                }
                break;
            }
            case Step::Kind::Hold: {
                // Counted by the clock: unread bytes keep the socket readable, so a wait returns at once.
                const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(step.count);
                while (!stop_ && std::chrono::steady_clock::now() < end) {
                    if (clientGone(client, 20)) return;
                    if (readableWithin(client, 0)) sleepMs(20);
                }
                break;
            }
        }
    }
}

RefusingPort::RefusingPort() { socket_ = bindLoopback(Loopback::IPv4, port_); }

RefusingPort::~RefusingPort() { closeSocket(socket_); }
