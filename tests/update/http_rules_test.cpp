// The download client's rules without sockets: the request, status, header and chunk-size lines.
#include "update/http_rules.h"

#include <gtest/gtest.h>

#include "update/base64.h"

namespace {

TEST(HttpRules, RequestLinesInTheirOrder) {
    RequestOptions options;
    options.host = "dl.example.invalid:8080";
    options.path = "/files/Setup.exe";
    options.userAgentComment = "+http://x.invalid/; built with test";
    options.keepAlive = true;
    EXPECT_EQ(REQUESTTEXT(options),
              "GET /files/Setup.exe HTTP/1.0\r\nHost: dl.example.invalid:8080\r\n"
              "Referer: http://dl.example.invalid:8080\r\nUser-Agent: Webget/1.82 (+http://x.invalid/; built "
              "with test)\r\n"
              "Accept: */*\r\nAccept-Language: de-de,de;q=0.8,en-us;q=0.5,en;q=0.3\r\n"
              "Keep-Alive: 300\r\nConnection: keep-alive\r\n\r\n");
    options.keepAlive = false;
    options.connectionState = "keep-alive";
    options.user = "ann";
    options.password = "se:cret";
    std::string closing = REQUESTTEXT(options);
    EXPECT_NE(closing.find("\r\nConnection: close\r\nAuthorization: Basic YW5uOnNlOmNyZXQ=\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(closing.find("Keep-Alive"), std::string::npos);
    // Credentials go only when both are given; a closed connection asks for nothing.
    options.password.clear();
    options.connectionState = "close";
    std::string plain = REQUESTTEXT(options);
    EXPECT_EQ(plain.find("Authorization"), std::string::npos);
    EXPECT_EQ(plain.find("Connection:"), std::string::npos);
    EXPECT_TRUE(plain.ends_with("en;q=0.3\r\n\r\n"));
}

TEST(HttpRules, RequestTextAndHostsThatCanBeSent) {
    EXPECT_TRUE(SAFEREQUESTTEXT("/a/b.exe?x=1"));
    for (const char* unsafe : {"", "/a b", "/a\r\nHost: x", "/a\tb", "/a\x7f", "/\xc3\xa9"})
        EXPECT_FALSE(SAFEREQUESTTEXT(unsafe)) << unsafe;
    std::string name;
    uint16_t port = 0;
    EXPECT_TRUE(SPLITHOST("dl.example.invalid", name, port));
    EXPECT_EQ(name, "dl.example.invalid");
    EXPECT_EQ(port, 80);
    EXPECT_TRUE(SPLITHOST("127.0.0.1:8080", name, port));
    EXPECT_EQ(name, "127.0.0.1");
    EXPECT_EQ(port, 8080);
    EXPECT_TRUE(SPLITHOST("[::1]:65535", name, port));
    EXPECT_EQ(name, "::1");
    EXPECT_EQ(port, 65535);
    EXPECT_TRUE(SPLITHOST("[::1]", name, port));
    EXPECT_EQ(port, 80);
    EXPECT_TRUE(SPLITHOST("fe80::1", name, port));
    EXPECT_EQ(name, "fe80::1");
    for (const char* bad :
         {"", ":80", "host:", "host:0", "host:65536", "host:8o", "host:123456", "[::1", "[::1]x", "[]:80"})
        EXPECT_FALSE(SPLITHOST(bad, name, port)) << bad;
}

TEST(HttpRules, StatusAndHeaderLines) {
    EXPECT_EQ(STATUSTEXT("HTTP/1.0 200 OK"), "200");
    EXPECT_EQ(STATUSTEXT("HTTP/1.1 404 Not Found"), "404");
    EXPECT_EQ(STATUSTEXT("HTTP/1.1  200 OK"), "");
    EXPECT_EQ(STATUSTEXT("HTTP"), "");
    EXPECT_EQ(STATUSTEXT("http/1.0 200 OK"), std::nullopt);
    EXPECT_EQ(STATUSTEXT("Content-Length: 5"), std::nullopt);
    EXPECT_EQ(HEADERVALUE("Content-Length: 5", "content-length:"), "5");
    EXPECT_EQ(HEADERVALUE("CONTENT-LENGTH:   77  ", "content-length:"), "77");
    EXPECT_EQ(HEADERVALUE("content-length:1234", "content-length:"), "234");
    EXPECT_EQ(HEADERVALUE("content-length:", "content-length:"), "");
    EXPECT_EQ(HEADERVALUE("content-lengthy: 5", "content-length:"), std::nullopt);
    EXPECT_EQ(HEADERVALUE("X-Content-Length: 5", "content-length:"), std::nullopt);
    EXPECT_EQ(CONTENTLENGTH("0"), 0);
    EXPECT_EQ(CONTENTLENGTH("2147483647"), 2147483647);
    EXPECT_EQ(CONTENTLENGTH("99999999999999999999999"), INT64_MAX);
    for (const char* bad : {"", "-5", "+5", "5.0", "5 5", "abc", "0x10"})
        EXPECT_EQ(CONTENTLENGTH(bad), std::nullopt) << bad;
}

TEST(HttpRules, ChunkSizeLinesDropTheirLastTwoCharacters) {
    EXPECT_EQ(CHUNKSIZE("5\r\n"), 5);
    EXPECT_EQ(CHUNKSIZE("1A\r\n"), 26);
    EXPECT_EQ(CHUNKSIZE("ffffffff\r\n"), 0xffffffffLL);
    EXPECT_EQ(CHUNKSIZE("0\r\n"), 0);
    EXPECT_EQ(CHUNKSIZE("1a;name=value\r\n"), 26);
    // A bare line feed costs the last digit: "1a\n" reads as 1, "5\n" as no size at all.
    EXPECT_EQ(CHUNKSIZE("1a\n"), 1);
    EXPECT_EQ(CHUNKSIZE("5\n"), std::nullopt);
    for (const char* bad :
         {"zz\r\n", "\r\n", "", " 5\r\n", "000000005\r\n", "00000000000000005\r\n", ";5\r\n"})
        EXPECT_EQ(CHUNKSIZE(bad), std::nullopt) << bad;
}

TEST(HttpRules, Base64BothWays) {
    EXPECT_EQ(GET_BASE64("a"), "YQ==");
    EXPECT_EQ(GET_BASE64("ab"), "YWI=");
    EXPECT_EQ(GET_BASE64("abc"), "YWJj");
    EXPECT_EQ(GET_BASE64(""), "");
    EXPECT_EQ(GET_BASE64("user:pass"), "dXNlcjpwYXNz");
    EXPECT_EQ(GET_BASE64(std::string("\xff\xfe\x00", 3)), "//4A");
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    for (size_t length = 0; length <= bytes.size(); length += 7)
        EXPECT_EQ(FROM_BASE64(GET_BASE64(bytes.substr(0, length))), bytes.substr(0, length)) << length;
    for (const char* bad : {"Y", "YQ=", "YQ===", "Y Q==", "YR==", "YWI*", "=YWI", "YQ==YQ=="})
        EXPECT_EQ(FROM_BASE64(bad), std::nullopt) << bad;
}

TEST(HttpRules, WhatHasArrived) {
    EXPECT_EQ(ARRIVEDTEXT(12400000, 45000000), "12.4 MB of 45.0 MB");
    EXPECT_EQ(ARRIVEDTEXT(1, 100), "1 byte of 100 bytes");
    EXPECT_EQ(ARRIVEDTEXT(2500, 0), "2.5 KB");
    EXPECT_EQ(ARRIVEDTEXT(0, 0), "0 bytes");
    EXPECT_EQ(ARRIVEDTEXT(999949, 1000000), "999.9 KB of 1.0 MB");
    EXPECT_EQ(ARRIVEDTEXT(999999, 1000000), "1.0 MB of 1.0 MB");
    EXPECT_EQ(ARRIVEDTEXT(2147483647, 2147483647), "2.15 GB of 2.15 GB");
}

}  // namespace
