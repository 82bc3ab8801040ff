// The download client against real servers on 127.0.0.1 that send exactly what each case means:
// the result, the notice the user sees, and the files left in the folder.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "tests/support/boxes.h"
#include "tests/support/fixture.h"
#include "tests/support/raw_server.h"
#include "update/updating_window.h"
#include "update/updating_window_ids.h"
#include "update/web_get.h"

namespace {

using S = RawServer;

}  // namespace

// Lists of file names print as names.
void PrintTo(const QStringList& names, std::ostream* out) { *out << names.join(", ").toStdString(); }

namespace {

// The "Updating..." window open over a host form, as the update check opens it.
class WebGetTest : public HostFormTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ConnectionState.clear();
        LastHost.clear();
        HostFormTest::SetUp();
        EZ_ZD_Display("HOST");
        driver::SETTLE();
    }

    std::string local() const { return QDir(folder.path()).filePath("Setup.exe").toStdString(); }

    // The download, with the notice it showed ("" when none) answered with its OK.
    int32_t get(const std::string& host, const std::string& path = "/Setup.exe", int32_t keepAlive = 1,
                int64_t signedSize = 0) {
        Boxes boxes({clickButton(1)});
        const int32_t result = ZUWEBGET(host, path, keepAlive, "", "", local(), signedSize);
        notice = boxes.shown.empty() ? "" : boxes.shown[0].all();
        return result;
    }
    int32_t get(RawServer& server, const std::string& path = "/Setup.exe", int32_t keepAlive = 1) {
        return get(server.host(), path, keepAlive);
    }

    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::System); }
    QByteArray content() const {
        QFile file(QString::fromStdString(local()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    void writeLocal(const QByteArray& bytes) {
        QFile file(QString::fromStdString(local()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
    std::string notice;
};

// Acts once while a download runs, as soon as the window shows that part of the body has arrived.
class WhenPartHasArrived {
public:
    explicit WhenPartHasArrived(std::function<void()> action) {
        QObject::connect(&watch_, &QTimer::timeout, [this, action] {
            static const QRegularExpression part("^[1-9]\\d* bytes? of \\d+ bytes$");
            if (acted || !EZ_FORMEXISTS("ZD") || !part.match(QString::fromStdString(EZ_GETTEXT("ZD", ZD::ARRIVED))).hasMatch())
                return;
            acted = true;
            action();
        });
        watch_.start(10);
    }
    bool acted = false;

private:
    QTimer watch_;
};

const std::string kOk = "HTTP/1.0 200 OK\r\n";
const std::string kAborted = "Download Error|";
const std::string kCannotGoOn = "|The update is unable to continue.";

TEST_F(WebGetTest, AFiveByteBodyAndTheRequestAsSent) {
    RawServer server({{S::send(kOk + "Content-Length: 5\r\n\r\nhello")}});
    EXPECT_EQ(get(server, "  /files/Setup.exe  ", 1), 0);
    EXPECT_EQ(notice, "");
    EXPECT_EQ(content(), "hello");
    EXPECT_EQ(files(), QStringList{"Setup.exe"});
    QFile::Permissions mode = QFile::permissions(QString::fromStdString(local()));
    EXPECT_EQ(mode & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), QFile::Permissions());
    const std::string host = server.host();
    const std::string request = server.requests().at(0);
    const std::string start = "GET /files/Setup.exe HTTP/1.0\r\nHost: " + host + "\r\nReferer: http://" +
                              host + "\r\nUser-Agent: Webget/1.82 (+";
    EXPECT_EQ(request.substr(0, start.size()), start) << request;
    const std::string rest =
        ")\r\nAccept: */*\r\nAccept-Language: de-de,de;q=0.8,en-us;q=0.5,en;q=0.3\r\n"
        "Keep-Alive: 300\r\nConnection: keep-alive\r\n\r\n";
    ASSERT_GE(request.size(), rest.size());
    EXPECT_EQ(request.substr(request.size() - rest.size()), rest) << request;
    EXPECT_NE(request.find("; built with "), std::string::npos);
}

TEST_F(WebGetTest, HeaderNamesAnyCaseAndOneCharacterSkippedAfterTheColon) {
    RawServer noSpace({{S::send(kOk + "content-length:1234\r\n\r\n" + RawServer::bodyBytes(1234))}});
    EXPECT_EQ(get(noSpace), 0);
    EXPECT_EQ(content(), QByteArray::fromStdString(RawServer::bodyBytes(234)));
    RawServer capitals(
        {{S::send("HTTP/1.1 200 OK\r\nCONTENT-LENGTH: 3\r\nConnection: CLOSE\r\n\r\nabcdef")}});
    EXPECT_EQ(get(capitals), 0);
    EXPECT_EQ(content(), "abc");
    EXPECT_EQ(ConnectionState, "close");
    EXPECT_EQ(LastHost, capitals.host());
    // "HTTP" must stand in capitals: this answer has no status line.
    RawServer lower({{S::send("http/1.0 200 OK\r\nContent-Length: 2\r\n\r\nhi")}});
    EXPECT_EQ(get(lower), -2);
    EXPECT_EQ(notice, "Download Error|Unable to access update file, response = .|");
    RawServer none({{S::send("Content-Length: 5\r\n\r\nhello")}});
    EXPECT_EQ(get(none), -2);
    EXPECT_EQ(notice, "Download Error|Unable to access update file, response = .|");
    // A refused file writes nothing: the last one received stays as it was.
    EXPECT_EQ(content(), "abc");
}

TEST_F(WebGetTest, ChunkedBodiesAndCodingsThatAreNotChunked) {
    RawServer chunked({{S::send(kOk + "Transfer-Encoding: Chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n")}});
    EXPECT_EQ(get(chunked), 0);
    EXPECT_EQ(content(), "hello");
    const std::string big = RawServer::bodyBytes(70000);
    RawServer large(
        {{S::send(kOk + "Transfer-Encoding: chunked\r\n\r\n11170\r\n" + big + "\r\n3\r\nxyz\r\n0\r\n\r\n")}});
    EXPECT_EQ(get(large), 0);
    EXPECT_EQ(content(), QByteArray::fromStdString(big + "xyz"));
    // "gzip, chunked" is not chunked: the body is read as it comes, to the end of the connection.
    const std::string raw = "5\r\nhello\r\n0\r\n\r\n";
    RawServer gzip({{S::send(kOk + "Transfer-Encoding: gzip, chunked\r\n\r\n" + raw)}});
    EXPECT_EQ(get(gzip), 0);
    EXPECT_EQ(content(), QByteArray::fromStdString(raw));
    // A chunk-size line ended by a bare line feed loses its digit with the two characters dropped.
    RawServer bareLf({{S::send(kOk + "Transfer-Encoding: chunked\r\n\r\n5\nhello\r\n0\r\n\r\n")}});
    EXPECT_EQ(get(bareLf), -2);
    EXPECT_EQ(notice, kAborted + "The server sent a damaged chunk size." + kCannotGoOn);
    EXPECT_EQ(files(), QStringList());
}

TEST_F(WebGetTest, OtherStatusesAreReportedAndNotFollowed) {
    writeLocal("older");
    RawServer missing({{S::send("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found")}});
    EXPECT_EQ(get(missing), 404);
    EXPECT_EQ(notice, "Download Error|Unable to access update file, response = 404.|");
    EXPECT_EQ(content(), "older");
    EXPECT_EQ(files(), QStringList{"Setup.exe"});
    for (int status : {301, 302}) {
        RawServer moved({{S::send("HTTP/1.1 " + std::to_string(status) + " Moved\r\nLocation: http://" +
                                  "127.0.0.1:1/x\r\n\r\n")},
                         {S::send(kOk + "Content-Length: 2\r\n\r\nno")}});
        EXPECT_EQ(get(moved), status);
        EXPECT_EQ(notice,
                  "Download Error|Unable to access update file, response = " + std::to_string(status) + ".|");
        EXPECT_EQ(moved.requests().size(), 1u);
    }
}

TEST_F(WebGetTest, ACompleteNewFileReplacesAnOlderLongerOne) {
    writeLocal(QByteArray(5000, 'o'));
    RawServer server({{S::send(kOk + "Content-Length: 5\r\n\r\nhello")}});
    EXPECT_EQ(get(server), 0);
    EXPECT_EQ(content(), "hello");
    RawServer toTheEnd({{S::send(kOk + "\r\nuntil the end")}});
    EXPECT_EQ(get(toTheEnd), 0);
    EXPECT_EQ(content(), "until the end");
    EXPECT_EQ(files(), QStringList{"Setup.exe"});
}

TEST_F(WebGetTest, KeepAliveThenConnectionClose) {
    RawServer server({{S::send(kOk + "Connection: Keep-Alive \r\nContent-Length: 1\r\n\r\na")},
                      {S::send(kOk + "Content-Length: 1\r\n\r\nb")}});
    EXPECT_EQ(get(server, "/a", 1), 0);
    EXPECT_EQ(ConnectionState, "keep-alive");
    EXPECT_EQ(LastHost, server.host());
    EXPECT_EQ(get(server, "/b", 0), 0);
    std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].find("\r\nKeep-Alive: 300\r\nConnection: keep-alive\r\n"), std::string::npos);
    EXPECT_NE(requests[1].find("\r\nConnection: close\r\n"), std::string::npos);
    EXPECT_EQ(requests[1].find("Keep-Alive"), std::string::npos);
    // Asking for keep-alive from another host forgets what the last one said.
    RawServer other({{S::send(kOk + "Content-Length: 1\r\n\r\nc")}});
    EXPECT_EQ(get("localhost:" + std::to_string(other.port()), "/c", 1), 0);
    EXPECT_EQ(ConnectionState, "");
    EXPECT_EQ(LastHost, "");
    EXPECT_EQ(get(other, "/d", 0), 0);
    EXPECT_EQ(other.requests().at(1).find("Connection:"), std::string::npos);
}

TEST_F(WebGetTest, EarlyEndsAreAbortsThatLeaveNoFile) {
    writeLocal("older");
    RawServer body({{S::send(kOk + "Content-Length: 100\r\n\r\n" + std::string(50, 'x'))}});
    EXPECT_EQ(get(body), -2);
    EXPECT_EQ(notice,
              kAborted + "The server closed the connection before the transfer was complete." + kCannotGoOn);
    EXPECT_EQ(files(), QStringList());
    RawServer chunk({{S::send(kOk + "Transfer-Encoding: chunked\r\n\r\n64\r\n" + std::string(50, 'x'))}});
    EXPECT_EQ(get(chunk), -2);
    EXPECT_EQ(notice,
              kAborted + "The server closed the connection before the transfer was complete." + kCannotGoOn);
    EXPECT_EQ(files(), QStringList());
    RawServer headers({{S::send("HTTP/1.0 200 OK\r\nContent-Le")}});
    EXPECT_EQ(get(headers), -2);
    EXPECT_EQ(notice,
              kAborted + "The server closed the connection before the transfer was complete." + kCannotGoOn);
}

TEST_F(WebGetTest, AStallOfTenSecondsIsAnAbort) {
    RawServer server({{S::send(kOk + "Content-Length: 100\r\n\r\n" + std::string(50, 'x')), S::hold(15000)}});
    EXPECT_EQ(get(server), -2);
    EXPECT_EQ(notice, kAborted + "The server sent nothing for 10 seconds." + kCannotGoOn);
    EXPECT_EQ(files(), QStringList());
}

TEST_F(WebGetTest, HeadersBeyondTheirBoundsAreAborts) {
    RawServer endless({{S::send(kOk), S::repeat("X-Pad: aaaaaaaa\r\n", 100000)}});
    EXPECT_EQ(get(endless), -2);
    EXPECT_EQ(notice, kAborted + "The server's answer has more than 100 header lines." + kCannotGoOn);
    RawServer block({{S::send(kOk), S::repeat("X-Pad: " + std::string(1000, 'a') + "\r\n", 90)}});
    EXPECT_EQ(get(block), -2);
    EXPECT_EQ(notice, kAborted + "The server's answer has more than 64 KiB of headers." + kCannotGoOn);
    RawServer longLine({{S::send(kOk + "X-Long: "), S::repeat("a", 9000)}});
    EXPECT_EQ(get(longLine), -2);
    EXPECT_EQ(notice, kAborted + "The server's answer has a header line longer than 8 KiB." + kCannotGoOn);
    EXPECT_EQ(files(), QStringList());
}

TEST_F(WebGetTest, DamagedChunkSizesAndLengthsAreAborts) {
    const std::string chunked = kOk + "Transfer-Encoding: chunked\r\n\r\n";
    const std::string damaged = kAborted + "The server sent a damaged chunk size." + kCannotGoOn;
    RawServer seventeen({{S::send(chunked + "00000000000000005\r\nhello\r\n0\r\n\r\n")}});
    EXPECT_EQ(get(seventeen), -2);
    EXPECT_EQ(notice, damaged);
    RawServer nonHex({{S::send(chunked + "zz\r\nhello\r\n0\r\n\r\n")}});
    EXPECT_EQ(get(nonHex), -2);
    EXPECT_EQ(notice, damaged);
    RawServer longSize({{S::send(chunked + "5"), S::repeat(";", 2000)}});
    EXPECT_EQ(get(longSize), -2);
    EXPECT_EQ(notice, kAborted + "The server sent a chunk-size line longer than 1 KiB." + kCannotGoOn);
    for (const char* length : {"-5", "rubbish", "5.0"}) {
        RawServer server({{S::send(kOk + "Content-Length: " + length + "\r\n\r\nhello")}});
        EXPECT_EQ(get(server), -2) << length;
        EXPECT_EQ(notice, kAborted + "The server announced a length that is not a number: \"" + length +
                              "\"." + kCannotGoOn);
    }
    const std::string tooLarge =
        kAborted + "The file is larger than 2 GiB, more than any installer of this program." + kCannotGoOn;
    for (const char* length : {"99999999999999999999999", "2147483648"}) {
        RawServer server({{S::send(kOk + "Content-Length: " + length + "\r\n\r\nhello")}});
        EXPECT_EQ(get(server), -2) << length;
        EXPECT_EQ(notice, tooLarge);
    }
    RawServer hugeChunks({{S::send(chunked + "7fffffff\r\n"), S::body(100)}});
    EXPECT_EQ(get(hugeChunks), -2);
    EXPECT_EQ(notice,
              kAborted + "The server closed the connection before the transfer was complete." + kCannotGoOn);
    RawServer beyond({{S::send(chunked + "80000000\r\n"), S::body(100)}});
    EXPECT_EQ(get(beyond), -2);
    EXPECT_EQ(notice, tooLarge);
    EXPECT_EQ(files(), QStringList());
}

TEST_F(WebGetTest, ATricklingServerIsEndedByCancelAndShowsItsProgress) {
    RawServer server(
        {{S::send(kOk + "Content-Length: 100\r\n\r\n"), S::trickle(std::string(100, 't'), 400)}});
    std::string shown;
    int maximum = -1, value = -1;
    WhenPartHasArrived cancel([&] {
        shown = EZ_GETTEXT("ZD", ZD::ARRIVED);
        auto* bar = qobject_cast<QProgressBar*>(gui::findControl("ZD", ZD::PROGRESS_BAR));
        maximum = bar->maximum();
        value = bar->value();
        driver::CLICK("ZD", ZD::CANCEL_BUTTON);
    });
    EXPECT_EQ(get(server), -2);
    EXPECT_TRUE(cancel.acted);
    EXPECT_EQ(notice, "");
    EXPECT_EQ(files(), QStringList());
    QRegularExpressionMatch arrived =
        QRegularExpression("^(\\d+) bytes? of 100 bytes$").match(QString::fromStdString(shown));
    ASSERT_TRUE(arrived.hasMatch()) << shown;
    EXPECT_GE(arrived.captured(1).toInt(), 1);
    EXPECT_LT(arrived.captured(1).toInt(), 100);
    EXPECT_EQ(maximum, 100);
    EXPECT_EQ(value, arrived.captured(1).toInt());
    EXPECT_TRUE(EZ_FORMEXISTS("ZD"));
}

TEST_F(WebGetTest, TheUpdatingWindowShowsWhatHasArrived) {
    EXPECT_EQ(EZ_GETTEXT("ZD", 0), "Updating...");
    EXPECT_EQ(EZ_GETTEXT("ZD", ZD::CANCEL_BUTTON), "Cancel");
    RawServer server({{S::send(kOk + "Content-Length: 1500000\r\n\r\n"), S::body(1500000)}});
    EXPECT_EQ(get(server), 0);
    EXPECT_EQ(EZ_GETTEXT("ZD", ZD::ARRIVED), "1.5 MB of 1.5 MB");
    auto* bar = qobject_cast<QProgressBar*>(gui::findControl("ZD", ZD::PROGRESS_BAR));
    EXPECT_EQ(bar->value(), bar->maximum());
    RawServer noLength({{S::send(kOk + "\r\n"), S::body(2500)}});
    EXPECT_EQ(get(noLength), 0);
    EXPECT_EQ(EZ_GETTEXT("ZD", ZD::ARRIVED), "2.5 KB");
    EXPECT_EQ(content().size(), 2500);
    // Closing the window while a transfer runs cancels it; the window stays until the end.
    RawServer slow({{S::send(kOk + "Content-Length: 10\r\n\r\n"), S::trickle("0123456789", 300)}});
    WhenPartHasArrived close([] { driver::CLOSEBOX("ZD"); });
    EXPECT_EQ(get(slow), -2);
    EXPECT_TRUE(close.acted);
    EXPECT_EQ(notice, "");
    EXPECT_TRUE(EZ_FORMEXISTS("ZD"));
    EZ_UNLOADFORM("ZD");
    EXPECT_FALSE(EZ_FORMEXISTS("ZD"));
}

// The size the signed update information names bounds the download, and a server too slow to
// finish is dropped by itself; while the server keeps it waiting, the window says so.
TEST_F(WebGetTest, TheSignedSizeAndTheFloorRateEndEndlessDownloads) {
    constexpr int64_t kMiB = 1024 * 1024;
    const std::string beyond = "The server sent more than the 1048576 bytes that the update information names.";
    const struct {
        std::vector<S::Step> script;
        int64_t signedSize;
        std::string notice, told;
    } cases[] = {
        {{S::send(kOk + "Content-Length: 314572800\r\n\r\n"), S::body(300 * kMiB)}, kMiB,
         "The server announced 314572800 bytes, but the update information names 1048576.", ""},
        {{S::send(kOk + "\r\n"), S::body(300 * kMiB)}, kMiB, beyond, ""},
        {{S::send(kOk + "Transfer-Encoding: chunked\r\n\r\n"), S::repeat("8000\r\n" + std::string(0x8000, 'c') + "\r\n", 9600)},
         kMiB, beyond, ""},
        {{S::send(kOk + "Content-Length: 100\r\n\r\n"), S::pause(2500), S::trickle(std::string(100, 'd'), 100)}, 0,
         "The server was too slow: less than 1 KiB arrived in 1500 ms.", "0 bytes of 100 bytes, waiting for the server..."},
    };
    const DownloadFloorRate saved = DownloadFloor;
    DownloadFloor = {1024, 1500};
    for (const auto& c : cases) {
        RawServer server({c.script});
        int64_t mostOnDisk = 0;
        bool told = c.told.empty();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            mostOnDisk = std::max<int64_t>(mostOnDisk, QFileInfo(QString::fromStdString(local() + ".part")).size());
            told = told || EZ_GETTEXT("ZD", ZD::ARRIVED) == c.told;
        });
        watch.start(2);
        EXPECT_EQ(get(server.host(), "/Setup.exe", 1, c.signedSize), -2);
        EXPECT_EQ(notice, kAborted + c.notice + "|The update is unable to continue.");
        EXPECT_LE(mostOnDisk, kMiB + 1);
        EXPECT_TRUE(told);
        EXPECT_EQ(files(), QStringList());
    }
    DownloadFloor = saved;
}

TEST_F(WebGetTest, UnreachableHostsAndUnsafeAddresses) {
    writeLocal("older");
    const RefusingPort refusing;
    EXPECT_EQ(get(refusing.host()), -2);
    EXPECT_EQ(notice,
              "Download Error|The file request has generated an error:|The server refused the connection "
              "(Error 111)");
    EXPECT_EQ(files(), QStringList());
    EXPECT_EQ(get("nosuchhost.invalid"), -2);
    EXPECT_EQ(
        notice,
        "Download Error|Unable to find web host \"nosuchhost.invalid\".|The update is unable to continue.");
    RawServer server({{S::send(kOk + "Content-Length: 2\r\n\r\nno")}});
    for (const std::string& path : {std::string("/Setup.exe\r\nX-Evil: 1"), std::string("/Set up.exe"),
                                    std::string("/Setup\x7f.exe"), std::string("")}) {
        EXPECT_EQ(get(server, path), -2);
        EXPECT_EQ(notice, kAborted + "The download address \"" + server.host() + path +
                              "\" is not one that can be requested." + kCannotGoOn);
    }
    for (const std::string& host :
         std::vector<std::string>{server.host() + "\r\nX: 1", "127.0.0.1:99999", "127.0.0.1:", "[::1"}) {
        EXPECT_EQ(get(host, "/Setup.exe"), -2);
        EXPECT_NE(notice.find("is not one that can be requested."), std::string::npos) << host;
    }
    EXPECT_TRUE(server.requests().empty());
}

}  // namespace
