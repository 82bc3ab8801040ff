// The download client's reading of what a server sends, on any line: status, header values,
// announced lengths and chunk sizes stay within their bounds, and a host and path that pass
// the checks can never add a line to the request.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "update/http_rules.h"
#include "tests/fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
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
