// The program's own HTTP/1.0 download client: one file fetched over TCP into a local file, with
// its progress shown in the "Updating..." window and every problem told in a notice.
#pragma once

#include <cstdint>
#include <string>

// The last "connection:" header received, trimmed and in lower case, and the host that sent it.
extern std::string ConnectionState;
extern std::string LastHost;

// The slowest a download may be: after its first window it must bring this many bytes in every
// window. Tests shorten the window.
struct DownloadFloorRate {
    int64_t bytes = 64 * 1024;
    int32_t windowMs = 60000;
};
extern DownloadFloorRate DownloadFloor;

// Fetches Path from Host (a name or address, with ":port" when not 80) into LocalFile: 0 when the
// status was 200 and the whole body arrived, the status for any other status, -2 when the
// transfer could not be made or was aborted. The body is written to LocalFile + ".part" and only
// a complete one becomes LocalFile; an abort leaves neither file. A signedSize above 0 is the
// size the signed update information names: another announced length is refused before anything
// is written, and the transfer stops before a byte beyond it is written.
int32_t ZUWEBGET(const std::string& host, const std::string& path, int32_t keepAlive, const std::string& user,
                 const std::string& password, const std::string& localFile, int64_t signedSize = 0);

// The notice for an error raised while the connection was opened.
void WEBGETERROR(int32_t errorCode);
