#include "update/web_get.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <optional>
#include <string_view>
#include <utility>

#include "base/number_kinds.h"
#include "base/number_reader.h"
#include "base/text.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "platform/files.h"
#include "platform/tcp_client.h"
#include "update/addresses.h"
#include "update/http_body.h"
#include "update/http_rules.h"
#include "update/updating_window.h"

std::string ConnectionState;
std::string LastHost;
DownloadFloorRate DownloadFloor;

namespace {

constexpr int32_t kTimeoutMs = 10000;
constexpr size_t kBlock = 32768;
const std::string kTooLarge = "The file is larger than 2 GiB, more than any installer of this program.";
constexpr auto kWaitingAfter = std::chrono::seconds(2);  // no byte for this long: "waiting for the server"

using Clock = std::chrono::steady_clock;

// How much had arrived when, sampled at most every 100 ms, to tell when a transfer has become too
// slow: after its first window it must bring the floor's bytes in every window.
class FloorWatch {
public:
    FloorWatch() : start_(Clock::now()) { samples_.push_back({start_, 0}); }

    bool tooSlow(int64_t received) {
        const auto now = Clock::now();
        if (now - samples_.back().first >= std::chrono::milliseconds(100)) samples_.push_back({now, received});
        const auto window = std::chrono::milliseconds(DownloadFloor.windowMs);
        // The oldest sample kept is the last one at or before the window's start.
        while (samples_.size() > 1 && samples_[1].first <= now - window) samples_.pop_front();
        return now - start_ >= 2 * window && received - samples_.front().second < DownloadFloor.bytes;
    }

private:
    Clock::time_point start_;
    std::deque<std::pair<Clock::time_point, int64_t>> samples_;
};

#if defined(__clang__)
#define TARVEX_COMPILER "clang " __clang_version__
#else
#define TARVEX_COMPILER "GCC " __VERSION__
#endif

// The notice of a transfer that cannot go on, saying what happened.
void tellAbort(const std::string& what) {
    DISPLAYMESSAGE("Download Error", what + "{f10}", "The update is unable to continue.{f7}");
}

// One call's connection, the bytes received but not yet read, and the file being written.
class Transfer {
public:
    explicit Transfer(std::string localFile)
        : localFile_(std::move(localFile)), partFile_(localFile_ + ".part") {}

    int32_t connection = 0;
    int64_t total = 0;  // the announced length, 0 when none

    // Events are processed in every wait and after blocks (see progress); a Cancel is seen here,
    // and so is a server that has become too slow.
    bool idle() {
        const bool waiting = Clock::now() - lastArrival_ > kWaitingAfter;
        if (waiting != shownWaiting_) {
            shownWaiting_ = waiting;
            ZD_SHOWPROGRESS(received_, total, waiting);
        }
        EZ_DOEVENTS();
        if (floor_.tooSlow(received_)) {
            const int32_t ms = DownloadFloor.windowMs;
            const std::string window = ms % 1000 == 0 ? std::to_string(ms / 1000) + " seconds" : std::to_string(ms) + " ms";
            return fail("The server was too slow: less than " + std::to_string(DownloadFloor.bytes / 1024) +
                        " KiB arrived in " + window + ".");
        }
        return !DownloadCancelled;
    }

    // The next line, its line feed included; nothing (with the reason told) when the connection
    // ends first or the line is longer than limit.
    std::optional<std::string> readLine(size_t limit, const std::string& tooLong) {
        for (;;) {
            const size_t end = pending_.find('\n');
            if (end != std::string::npos && end < limit) {
                std::string line = pending_.substr(0, end + 1);
                pending_.erase(0, end + 1);
                return line;
            }
            if (end != std::string::npos || pending_.size() >= limit) {
                fail(tooLong);
                return std::nullopt;
            }
            const int64_t got = receive(kBlock);
            if (got == 0) fail("The server closed the connection before the transfer was complete.");
            if (got <= 0) return std::nullopt;
            pending_.append(block_, static_cast<size_t>(got));
        }
    }

    // The body as its framing and bound allow, from the bytes already received and then the
    // network's, into the file with the progress shown.
    bool readBody(BodyReader& body) {
        const auto sink = [this](std::string_view bytes) { return store(bytes) && progress(); };
        const std::string early = std::exchange(pending_, {});
        if (!body.feed(early, sink)) return fail(body.why());
        while (!body.done()) {
            const int64_t got = receive(kBlock);
            if (got < 0) return false;
            if (got == 0) return body.close() || fail(body.why());
            if (!body.feed(std::string_view(block_, static_cast<size_t>(got)), sink)) return fail(body.why());
        }
        return true;
    }

    bool createFile() {
        file_ = OS_CREATEPRIVATEFILE(partFile_);
        if (file_ == 0) fail("The file \"" + partFile_ + "\" could not be created.");
        return file_ != 0;
    }

    // The whole body has arrived: it reaches the disk and takes the local file's name.
    bool finish() {
        ZD_SHOWPROGRESS(received_, total, false);
        ZD_SHOWDONE();
        EZ_DOEVENTS();
        if (!OS_FINISHFILE(std::exchange(file_, 0)) || !OS_RENAMEFILE(partFile_, localFile_))
            return fail("The file \"" + localFile_ + "\" could not be written.");
        return true;
    }

    // The abort end: no partial file and no local file stay behind. -2, the call's result.
    int32_t abort() {
        OS_CLOSEFILE(std::exchange(file_, 0));
        OS_DELETEFILE(partFile_);
        OS_DELETEFILE(localFile_);
        OS_TCPCLOSE(std::exchange(connection, 0));
        if (!reason_.empty()) tellAbort(reason_);
        return -2;
    }

    // Records what went wrong, for the notice of the abort; a cancel is told nothing. False.
    bool fail(const std::string& reason) {
        if (reason_.empty() && !DownloadCancelled) reason_ = reason;
        return false;
    }

private:
    int64_t receive(size_t size) {
        int32_t error = 0;
        const int64_t got = OS_TCPRECEIVE(
            connection, block_, std::min(size, sizeof block_), kTimeoutMs, [this] { return idle(); }, error);
        if (got < 0 && error == OS_TCPTIMEDOUT)
            fail("The server sent nothing for 10 seconds.");
        else if (got < 0 && error != OS_TCPCANCELLED)
            fail("The connection failed while the file was downloading: " + OS_TCPERRORTEXT(error) + ".");
        return got;
    }

    bool store(std::string_view bytes) {
        if (!OS_WRITEFILE(file_, bytes.data(), bytes.size()))
            return fail("The file \"" + partFile_ + "\" could not be written.");
        received_ += static_cast<int64_t>(bytes.size());
        lastArrival_ = Clock::now();
        return true;
    }

    // The window is updated and its events processed after a block, but at most every 10 ms: often
    // enough that it answers at once and the bar moves smoothly, rarely enough that a fast
    // download is not slowed by painting.
    bool progress() {
        const auto now = std::chrono::steady_clock::now();
        if (now - shown_ < std::chrono::milliseconds(10)) return !DownloadCancelled;
        shown_ = now;
        ZD_SHOWPROGRESS(received_, total, false);
        return idle();
    }

    std::string localFile_;
    std::string partFile_;
    std::string pending_;
    char block_[kBlock];
    std::chrono::steady_clock::time_point shown_;
    Clock::time_point lastArrival_ = Clock::now();
    bool shownWaiting_ = false;
    FloorWatch floor_;
    int32_t file_ = 0;
    int64_t received_ = 0;
    std::string reason_;
};

// The response's header lines, up to the empty one, within the bounds a server is held to.
struct Response {
    std::string status;
    std::string coding;
    std::optional<int64_t> length;
};

bool readHeaders(Transfer& transfer, const std::string& host, Response& response) {
    size_t blockBytes = 0;
    for (int lines = 1;; ++lines) {
        std::optional<std::string> line =
            transfer.readLine(kMaxHeaderLine, "The server's answer has a header line longer than 8 KiB.");
        if (!line) return false;
        blockBytes += line->size();
        if (blockBytes > kMaxHeaderBlock)
            return transfer.fail("The server's answer has more than 64 KiB of headers.");
        if (lines > kMaxHeaderLines)
            return transfer.fail("The server's answer has more than 100 header lines.");
        line->pop_back();
        if (!line->empty() && line->back() == '\r') line->pop_back();
        if (line->empty() || *line == " ") return true;

        if (std::optional<std::string> status = STATUSTEXT(*line)) response.status = *status;
        if (std::optional<std::string> coding = HEADERVALUE(*line, "transfer-encoding:"))
            response.coding = ASCIILOWER(*coding);
        if (std::optional<std::string> length = HEADERVALUE(*line, "content-length:")) {
            response.length = CONTENTLENGTH(*length);
            if (!response.length)
                return transfer.fail("The server announced a length that is not a number: \"" + *length +
                                     "\".");
            if (*response.length > kMaxBody) return transfer.fail(kTooLarge);
        }
        if (std::optional<std::string> connection = HEADERVALUE(*line, "connection:")) {
            ConnectionState = ASCIILOWER(*connection);
            LastHost = host;
        }
    }
}

// The body's framing and its bound: the size that the update information signs, or 2 GiB.
BodyReader bodyOf(const Response& response, int64_t signedSize) {
    const auto framing = response.coding == "chunked" ? BodyReader::Framing::Chunked
                         : response.length          ? BodyReader::Framing::Length
                                                    : BodyReader::Framing::ToClose;
    if (signedSize <= 0) return BodyReader(framing, response.length.value_or(0), kMaxBody, kTooLarge);
    return BodyReader(framing, response.length.value_or(0), signedSize,
                      "The server sent more than the " + std::to_string(signedSize) +
                          " bytes that the update information names.");
}

int32_t download(const std::string& host, const std::string& path, int32_t keepAlive, const std::string& user,
                 const std::string& password, const std::string& localFile, int64_t signedSize) {
    std::string name;
    uint16_t port = 80;
    if (!SAFEREQUESTTEXT(host) || !SAFEREQUESTTEXT(path) || !SPLITHOST(host, name, port)) {
        tellAbort("The download address \"" + host + path + "\" is not one that can be requested.");
        return -2;
    }
    Transfer transfer(localFile);
    int32_t error = 0;
    transfer.connection = OS_TCPCONNECT(
        name, port, kTimeoutMs, [&] { return transfer.idle(); }, error);
    if (transfer.connection == 0) {
        if (error == OS_TCPNOHOST)
            DGMSGBOX("ZD", "Download Error", "Unable to find web host \"" + host + "\".{f10,t4}",
                     "The update is unable to continue.{f7}", "", "&OK{G,f7}", "", 1, "C");
        else if (error != OS_TCPCANCELLED)
            WEBGETERROR(error);
        return transfer.abort();
    }

    RequestOptions request;
    request.host = host;
    request.path = path;
    request.keepAlive = keepAlive == 1;
    request.connectionState = ConnectionState;
    request.user = user;
    request.password = password;
    request.userAgentComment = "+" + ProductWebPage + "; built with " TARVEX_COMPILER;
    if (!OS_TCPSEND(
            transfer.connection, REQUESTTEXT(request), kTimeoutMs, [&] { return transfer.idle(); }, error)) {
        if (error == OS_TCPTIMEDOUT)
            transfer.fail("The server took no request for 10 seconds.");
        else
            transfer.fail("The request could not be sent: " + OS_TCPERRORTEXT(error) + ".");
        return transfer.abort();
    }

    Response response;
    if (!readHeaders(transfer, host, response)) return transfer.abort();
    EZ_DOEVENTS();
    if (response.status != "200") {
        OS_TCPCLOSE(transfer.connection);
        DISPLAYMESSAGE("Download Error",
                       "Unable to access update file, response = " + response.status + ".{f10}", "");
        const int32_t code = TOWHOLE(READNUMBER(response.status));
        return code == 0 ? -2 : code;
    }

    // A length other than the signed size is refused before anything is written.
    if (signedSize > 0 && response.coding != "chunked" && response.length && *response.length != signedSize) {
        transfer.fail("The server announced " + std::to_string(*response.length) + " bytes, but the update "
                      "information names " + std::to_string(signedSize) + ".");
        return transfer.abort();
    }
    transfer.total = signedSize > 0 ? signedSize : response.length.value_or(0);
    ZD_SHOWPROGRESS(0, transfer.total, false);
    BodyReader body = bodyOf(response, signedSize);
    if (!transfer.createFile() || !transfer.readBody(body) || !transfer.finish()) return transfer.abort();
    OS_TCPCLOSE(transfer.connection);
    return 0;
}

}  // namespace

int32_t ZUWEBGET(const std::string& host, const std::string& path, int32_t keepAlive, const std::string& user,
                 const std::string& password, const std::string& localFile, int64_t signedSize) {
    if (keepAlive == 1 && !LastHost.empty() && LastHost != host) {
        ConnectionState.clear();
        LastHost.clear();
    }
    DownloadCancelled = false;
    DownloadActive = true;
    int32_t result = download(host, TRIMSPACES(path), keepAlive, user, password, localFile, signedSize);
    DownloadActive = false;
    return result;
}

void WEBGETERROR(int32_t errorCode) {
    DISPLAYMESSAGE("Download Error", "The file request has generated an error:{f6}",
                   OS_TCPERRORTEXT(errorCode) + " (Error " + std::to_string(errorCode) + "){f10}");
}
