#include "platform/http_request.h"

#include <curl/curl.h>

#include <cerrno>

namespace {

constexpr size_t kMaxBody = 64 * 1024;

struct Received {
    std::string body;
    bool tooLarge = false;
};

size_t keep(char* data, size_t size, size_t count, void* user) {
    auto* received = static_cast<Received*>(user);
    const size_t bytes = size * count;
    if (received->body.size() + bytes > kMaxBody) {
        received->tooLarge = true;
        return 0;
    }
    received->body.append(data, bytes);
    return bytes;
}

void setOptions(CURL* easy, const std::string& url, const std::string& userAgent, Received& received,
                char* errors) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, 10000L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, 15000L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, keep);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errors);
}

// What a refused connection leaves in libcurl's system error: POSIX's number, or Winsock's.
constexpr long kWinsockRefused = 10061;

OS_HttpFailure failureOf(CURL* easy, CURLcode result) {
    long osError = 0;
    switch (result) {
        case CURLE_OK: return OS_HttpFailure::None;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return OS_HttpFailure::NameNotFound;
        case CURLE_OPERATION_TIMEDOUT: return OS_HttpFailure::TimedOut;
        case CURLE_PEER_FAILED_VERIFICATION: return OS_HttpFailure::CertificateRefused;
        case CURLE_COULDNT_CONNECT:
            curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
            if (osError == ECONNREFUSED || osError == kWinsockRefused) return OS_HttpFailure::Refused;
            return OS_HttpFailure::Other;
        default: return OS_HttpFailure::Other;
    }
}

}  // namespace

OS_HttpAnswer OS_HTTPGET(const std::string& url, const std::string& userAgent, const OS_Idle& idle) {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    OS_HttpAnswer answer;
    CURL* easy = ready ? curl_easy_init() : nullptr;
    CURLM* multi = easy ? curl_multi_init() : nullptr;
    if (!multi) {
        if (easy) curl_easy_cleanup(easy);
        answer.error = CURLE_FAILED_INIT;
        answer.description = curl_easy_strerror(CURLE_FAILED_INIT);
        answer.failure = OS_HttpFailure::Other;
        return answer;
    }
    Received received;
    char errors[CURL_ERROR_SIZE] = "";
    setOptions(easy, url, userAgent, received, errors);
    curl_multi_add_handle(multi, easy);

    // The request runs in slices of at most 50 ms, so the window goes on painting meanwhile.
    CURLcode result = CURLE_OK;
    bool cancelled = false;
    for (int running = 1;;) {
        curl_multi_perform(multi, &running);
        if (!running) break;
        curl_multi_poll(multi, nullptr, 0, 50, nullptr);
        if (idle && !idle()) {
            cancelled = true;
            break;
        }
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE) result = message->data.result;
    if (cancelled) result = CURLE_ABORTED_BY_CALLBACK;

    answer.arrived = result == CURLE_OK;
    answer.error = result;
    if (answer.arrived) {
        answer.body = std::move(received.body);
    } else {
        answer.description = curl_easy_strerror(result);
        answer.failure = failureOf(easy, result);
        answer.detail = received.tooLarge ? "The answer is larger than 64 KiB." : errors;
    }
    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
    return answer;
}
