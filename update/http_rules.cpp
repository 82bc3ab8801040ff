#include "update/http_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "base/text.h"
#include "update/base64.h"

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int hexDigit(char c) {
    const size_t at = std::string_view("0123456789abcdef").find(lower(c));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string quantity(int64_t bytes) {
    char text[48];
    if (bytes < 1000)
        std::snprintf(text, sizeof text, "%lld %s", static_cast<long long>(bytes),
                      bytes == 1 ? "byte" : "bytes");
    else if (bytes < 999950)
        std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1e3);
    else if (bytes < 999950000)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    else
        std::snprintf(text, sizeof text, "%.2f GB", static_cast<double>(bytes) / 1e9);
    return text;
}

}  // namespace

std::string REQUESTTEXT(const RequestOptions& options) {
    std::string request;
    auto line = [&request](const std::string& text) { request += text + "\r\n"; };
    line("GET " + options.path + " HTTP/1.0");
    line("Host: " + options.host);
    line("Referer: http://" + options.host);
    line("User-Agent: Webget/1.82 (" + options.userAgentComment + ")");
    line("Accept: */*");
    line("Accept-Language: de-de,de;q=0.8,en-us;q=0.5,en;q=0.3");
    if (options.keepAlive) {
        line("Keep-Alive: 300");
        line("Connection: keep-alive");
    } else if (options.connectionState == "keep-alive") {
        line("Connection: close");
    }
    if (!options.user.empty() && !options.password.empty())
        line("Authorization: Basic " + GET_BASE64(options.user + ":" + options.password));
    line("");
    return request;
}

bool SAFEREQUESTTEXT(std::string_view text) {
    if (text.empty()) return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 127; });
}

bool SPLITHOST(std::string_view host, std::string& name, uint16_t& port) {
    port = 80;
    std::string_view portText;
    if (!host.empty() && host.front() == '[') {
        size_t close = host.find(']');
        if (close == std::string_view::npos) return false;
        name = std::string(host.substr(1, close - 1));
        std::string_view rest = host.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') return false;
        if (!rest.empty()) portText = rest.substr(1);
    } else if (std::count(host.begin(), host.end(), ':') == 1) {
        size_t colon = host.find(':');
        name = std::string(host.substr(0, colon));
        portText = host.substr(colon + 1);
    } else {
        name = std::string(host);
    }
    if (name.empty()) return false;
    if (portText.empty()) return host.back() != ':';
    if (portText.size() > 5 ||
        !std::all_of(portText.begin(), portText.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    int value = std::stoi(std::string(portText));
    if (value < 1 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

std::optional<std::string> STATUSTEXT(std::string_view line) {
    if (line.substr(0, 4) != "HTTP") return std::nullopt;
    size_t first = line.find(' ');
    if (first == std::string_view::npos) return std::string();
    std::string_view rest = line.substr(first + 1);
    return std::string(rest.substr(0, rest.find(' ')));
}

std::optional<std::string> HEADERVALUE(std::string_view line, std::string_view name) {
    if (line.size() < name.size()) return std::nullopt;
    for (size_t i = 0; i < name.size(); ++i)
        if (lower(line[i]) != name[i]) return std::nullopt;
    // Exactly one character after the colon is skipped, normally the space.
    std::string_view value = line.substr(std::min(line.size(), name.size() + 1));
    return TRIMSPACES(value);
}

std::optional<int64_t> CONTENTLENGTH(std::string_view value) {
    if (value.empty()) return std::nullopt;
    int64_t length = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        // Lengths beyond what 63 bits hold are held at the largest.
        length = length > (INT64_MAX - 9) / 10 ? INT64_MAX : length * 10 + (c - '0');
    }
    return length;
}

std::optional<int64_t> CHUNKSIZE(std::string_view line) {
    line.remove_suffix(std::min<size_t>(2, line.size()));
    int64_t size = 0;
    size_t digits = 0;
    while (digits < line.size() && hexDigit(line[digits]) >= 0) {
        size = size * 16 + hexDigit(line[digits]);
        if (++digits > 8) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    return size;
}

std::string ARRIVEDTEXT(int64_t received, int64_t total) {
    if (total <= 0) return quantity(received);
    return quantity(received) + " of " + quantity(total);
}
