// One HTTP or HTTPS GET through libcurl: certificates and host names always verified, TLS 1.2 or
// newer only, the system's proxy settings, a connect time-out of 10 s and 15 s for the whole
// request. The wait is cut into slices with the caller's idle function between them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/tcp_client.h"

// The common ways a request fails, told apart so the user can read them as plain sentences.
enum class OS_HttpFailure { None, NameNotFound, Refused, TimedOut, CertificateRefused, Other };

struct OS_HttpAnswer {
    bool arrived = false;     // a whole answer came; its status is not looked at
    std::string body;         // at most 64 KiB
    int32_t error = 0;        // libcurl's error number when none came
    std::string description;  // libcurl's text for that number
    std::string detail;       // what exactly failed, as libcurl says it
    OS_HttpFailure failure = OS_HttpFailure::None;
};

// The request names the program as userAgent.
OS_HttpAnswer OS_HTTPGET(const std::string& url, const std::string& userAgent, const OS_Idle& idle);
