// The layout of TarvexSetup-<version>.run: the installer program, then the payload (the program
// folder's files), then a fixed trailer that says where the payload lies, its SHA-256 and version.
// Everything in it is outside input until the reader below has checked it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Trailer (the file's last 96 bytes, or the last before a code signature appended later): 16 bytes
// magic text, payload offset and size (8 bytes each, little-endian), 32 bytes SHA-256 of the
// payload, 32 bytes version text padded with zero bytes.
// Payload: file count (4 bytes), then per file: name length (2 bytes), the name (UTF-8, "/"
// between folder and name), flags (1 byte, 1 = executable), size (8 bytes), the content.
constexpr size_t kTrailerSize = 96;
constexpr char kTrailerMagic[16] = {'T', 'a', 'r', 'v', 'e', 'x', 'S', 'e', 't', 'u', 'p', '-', 'r', 'u', 'n', '1'};
constexpr uint32_t kMaxPayloadFiles = 1000;
constexpr size_t kMaxNameBytes = 255;

struct PayloadFile {
    std::string name;  // relative to the program folder
    bool executable = false;
    int64_t offset = 0;  // of the content, in the .run file
    int64_t size = 0;
};

struct Payload {
    std::string version;
    std::string sha256;  // 32 bytes
    int64_t offset = 0;
    int64_t size = 0;
    std::vector<PayloadFile> files;
};

// Reads count bytes at offset of the .run file; false when they cannot be had.
using PayloadReader = std::function<bool(int64_t offset, char* bytes, size_t count)>;

// True for the names of the program's own files, the only ones an installer may write: the
// executable, "History.rtf", "Release Notes.rtf", and plain file names in "Help/" and "Graphics/".
bool PROGRAMFILENAME(std::string_view name);

// The payload of a .run file of fileSize bytes, every length, count, name and the digest checked;
// nothing, and a sentence for the user in problem, when anything is wrong.
std::optional<Payload> READPAYLOAD(const PayloadReader& read, int64_t fileSize, std::string& problem);

// The bytes that stand before the files (their count), before one file's content, and at the end.
std::string PAYLOADCOUNT(uint32_t count);
std::string PAYLOADENTRY(const std::string& name, bool executable, int64_t size);
std::string PAYLOADTRAILER(int64_t offset, int64_t size, const std::string& sha256, const std::string& version);
