// The download client's reading of what a server sends, on any line: status, header values,
// announced lengths and chunk sizes stay within their bounds, and a host and path that pass
// the checks can never add a line to the request. Any body, however it is split into arrivals,
// gives the same bytes to the file and never more than its bound.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <utility>

#include "update/http_body.h"
#include "update/http_rules.h"
#include "tests/fuzz/require.h"

namespace {

// What reaches the file when the body arrives in pieces of the given size (0: whole), and
// whether it ended as it should.
std::pair<std::string, bool> readBody(const std::string& body, size_t piece, BodyReader::Framing framing,
                                      int64_t length, int64_t limit) {
    BodyReader reader(framing, length, limit, "too large");
    std::string written;
    const auto sink = [&](std::string_view bytes) { return written.append(bytes), true; };
    bool ok = true;
    for (size_t at = 0; ok && at < body.size(); at += piece ? piece : body.size())
        ok = reader.feed(std::string_view(body).substr(at, piece ? piece : body.size()), sink);
    if (ok && !reader.done()) ok = reader.close();
    REQUIRE(static_cast<int64_t>(written.size()) == reader.received() && static_cast<int64_t>(written.size()) <= limit);
    return {written, ok};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto framing = input.PickValueInArray(
        {BodyReader::Framing::Chunked, BodyReader::Framing::Length, BodyReader::Framing::ToClose});
    const int64_t length = input.ConsumeIntegralInRange<int64_t>(0, 4096);
    const int64_t limit = input.ConsumeIntegralInRange<int64_t>(0, 4096);
    const size_t piece = input.ConsumeIntegralInRange<size_t>(1, 64);
    const std::string body = input.ConsumeRandomLengthString(8192);
    const auto whole = readBody(body, 0, framing, length, limit);
    REQUIRE(readBody(body, piece, framing, length, limit) == whole);
    if (framing == BodyReader::Framing::Length) REQUIRE(static_cast<int64_t>(whole.first.size()) <= length);

    const int64_t received = input.ConsumeIntegral<int64_t>();
    const int64_t total = input.ConsumeIntegral<int64_t>();
    const std::string host = input.ConsumeRandomLengthString(300);
    const std::string path = input.ConsumeRandomLengthString(300);
    const std::string line = input.ConsumeRemainingBytesAsString();

    if (auto status = STATUSTEXT(line)) REQUIRE(status->size() < line.size());
    for (const char* name : {"content-length:", "transfer-encoding:", "connection:"}) {
        const auto value = HEADERVALUE(line, name);
        if (!value) continue;
        REQUIRE(value->size() < line.size());
        if (auto length = CONTENTLENGTH(*value)) REQUIRE(*length >= 0);
    }
    if (auto chunk = CHUNKSIZE(line)) REQUIRE(*chunk >= 0 && *chunk <= 0xFFFFFFFFLL);
    REQUIRE(ARRIVEDTEXT(received, total).size() < 64);

    std::string name;
    uint16_t port = 0;
    if (SAFEREQUESTTEXT(host) && SPLITHOST(host, name, port) && SAFEREQUESTTEXT(path)) {
        REQUIRE(port >= 1);
        RequestOptions options;
        options.host = host;
        options.path = path;
        const std::string request = REQUESTTEXT(options);
        size_t lines = 0;
        for (size_t at = 0; (at = request.find('\n', at)) != std::string::npos; ++at) ++lines;
        size_t ends = 0;
        for (size_t at = 0; (at = request.find("\r\n", at)) != std::string::npos; ++at) ++ends;
        REQUIRE(lines == ends && request.find('\r') == request.find("\r\n"));
        REQUIRE(lines == 7);
    }
    return 0;
}
