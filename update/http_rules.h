// The download client's rules on the wire, without sockets: the request it sends, how it reads
// the status, header and chunk-size lines it receives, and the bounds it holds the server to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Bounds on what a server may send.
constexpr size_t kMaxHeaderLine = 8 * 1024;
constexpr size_t kMaxHeaderBlock = 64 * 1024;
constexpr int kMaxHeaderLines = 100;
constexpr size_t kMaxChunkSizeLine = 1024;
constexpr int64_t kMaxBody = 2147483647;  // 2 GiB less one byte

// The request, line by line, each ended by CR LF, then the empty line.
struct RequestOptions {
    std::string host;  // as the caller gave it, a port included
    std::string path;  // trimmed
    bool keepAlive = false;
    std::string connectionState;  // the last "connection:" value received
    std::string user, password;
    std::string userAgentComment;
};
std::string REQUESTTEXT(const RequestOptions& options);

// True when text is safe in a request line: not empty, printable ASCII, no space.
bool SAFEREQUESTTEXT(std::string_view text);

// A host with an optional port: "name", "name:8080", "1.2.3.4:80", "[::1]:8080", or an IPv6
// address without brackets (no port). False when the port is not a number from 1 to 65535.
bool SPLITHOST(std::string_view host, std::string& name, uint16_t& port);

// The status text of a line that starts with "HTTP": its second field split at single spaces;
// nothing for other lines.
std::optional<std::string> STATUSTEXT(std::string_view line);

// The value of a header when the line starts with name ("content-length:") in any letter case:
// from the second character after the colon, trimmed of spaces.
std::optional<std::string> HEADERVALUE(std::string_view line, std::string_view name);

// An announced length: decimal digits only, held at the largest 64-bit number beyond it; nothing
// for a value that is not one (a sign, a point, letters, nothing at all).
std::optional<int64_t> CONTENTLENGTH(std::string_view value);

// A chunk-size line as received, its line feed included: the last two characters are dropped
// and the hexadecimal digits at its start, at most eight, are the size. Nothing when it has no
// hexadecimal digit there or more than eight.
std::optional<int64_t> CHUNKSIZE(std::string_view line);

// What has arrived, for the "Updating..." window: "12.4 MB of 45.0 MB", or the count alone.
std::string ARRIVEDTEXT(int64_t received, int64_t total);
