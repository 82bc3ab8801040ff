// One GET through libcurl against a local plain-HTTP server: what arrives is kept byte for byte
// whatever its status, and a refused, cut-off, oversized or cancelled request fails as it should.
#include "platform/http_request.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/raw_server.h"

TEST(HttpRequest, AnswersAndFailures) {
    const std::string big(64 * 1024 + 1, 'b');
    const struct {
        const char* what;
        std::vector<RawServer::Step> script;
        bool keepWaiting;
        bool arrived;
        std::string body;
        OS_HttpFailure failure;
        std::string said;  // in libcurl's description and detail
    } cases[] = {
        {"a page", {RawServer::send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello")}, true, true, "hello",
         OS_HttpFailure::None, ""},
        {"a missing page", {RawServer::send("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone")}, true, true,
         "gone", OS_HttpFailure::None, ""},
        {"a cut-off body", {RawServer::send("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhal")}, true, false, "",
         OS_HttpFailure::Other, "partial file"},
        {"a body over 64 KiB", {RawServer::send("HTTP/1.1 200 OK\r\n\r\n" + big)}, true, false, "",
         OS_HttpFailure::Other, "larger than 64 KiB"},
        {"a cancelled wait", {RawServer::hold(20000)}, false, false, "", OS_HttpFailure::Other, "aborted"},
    };
    for (const auto& c : cases) {
        RawServer server({c.script});
        const OS_HttpAnswer answer =
            OS_HTTPGET("http://" + server.host() + "/page", "Tarvex", [&c] { return c.keepWaiting; });
        EXPECT_EQ(answer.arrived, c.arrived) << c.what << ": " << answer.detail;
        EXPECT_EQ(answer.body, c.body) << c.what;
        EXPECT_EQ(answer.failure, c.failure) << c.what;
        const std::string said = answer.description + ": " + answer.detail;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
        EXPECT_EQ(answer.description.empty(), c.arrived) << c.what;
        EXPECT_TRUE(!c.arrived || server.requests().at(0).find("\r\nUser-Agent: Tarvex\r\n") != std::string::npos);
    }
    RefusingPort refusing;
    EXPECT_EQ(OS_HTTPGET("http://" + refusing.host() + "/", "Tarvex", [] { return true; }).failure,
              OS_HttpFailure::Refused);
}
