#include "installer/payload_format.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "installer/code_signature.h"
#include "platform/crypto.h"
#include "platform/program_names.h"
#include "update/version_file.h"

namespace {

constexpr size_t kVersionBytes = 32;
constexpr size_t kBlock = 1 << 16;
constexpr size_t kMaxSigningPadding = 7;

std::string numberBytes(uint64_t value, size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(value >> (8 * i) & 0xff);
    return bytes;
}

// The SHA-256 of size bytes at offset, read in blocks.
bool digestOf(const PayloadReader& read, int64_t offset, int64_t size, std::string& sha256) {
    Sha256 digest;
    std::string block(kBlock, '\0');
    while (size > 0) {
        const size_t count = static_cast<size_t>(std::min<int64_t>(size, kBlock));
        if (!read(offset, block.data(), count)) return false;
        digest.add(std::string_view(block.data(), count));
        offset += static_cast<int64_t>(count);
        size -= static_cast<int64_t>(count);
    }
    sha256 = digest.finish();
    return true;
}

// The files the payload lists, each within the payload and named as one of the program's own.
std::optional<std::vector<PayloadFile>> readFiles(const PayloadReader& read, const Payload& payload,
                                                  std::string& problem) {
    const int64_t end = payload.offset + payload.size;
    int64_t at = payload.offset;
    char count[4];
    if (payload.size < 4 || !read(at, count, 4)) return std::nullopt;
    at += 4;
    const uint64_t files = LITTLEENDIAN(count, 4);
    if (files == 0 || files > kMaxPayloadFiles) return std::nullopt;
    std::vector<PayloadFile> list;
    std::set<std::string> names;
    for (uint64_t i = 0; i < files; ++i) {
        char length[2];
        if (end - at < 2 || !read(at, length, 2)) return std::nullopt;
        at += 2;
        const size_t nameBytes = static_cast<size_t>(LITTLEENDIAN(length, 2));
        if (nameBytes == 0 || nameBytes > 2 * kMaxNameBytes || end - at < static_cast<int64_t>(nameBytes) + 9)
            return std::nullopt;
        PayloadFile file;
        file.name.resize(nameBytes);
        char rest[9];
        if (!read(at, file.name.data(), nameBytes) || !read(at + static_cast<int64_t>(nameBytes), rest, 9))
            return std::nullopt;
        at += static_cast<int64_t>(nameBytes) + 9;
        if (!PROGRAMFILENAME(file.name) || !names.insert(file.name).second || (rest[0] & ~1) != 0) {
            problem = "It names a file that is not one of the program's own.";
            return std::nullopt;
        }
        file.executable = rest[0] == 1;
        const uint64_t size = LITTLEENDIAN(rest + 1, 8);
        if (size > static_cast<uint64_t>(end - at)) return std::nullopt;
        file.offset = at;
        file.size = static_cast<int64_t>(size);
        at += file.size;
        list.push_back(std::move(file));
    }
    if (at != end) return std::nullopt;
    if (!names.contains(kProgramExecutable)) {
        problem = "It holds no program.";
        return std::nullopt;
    }
    return list;
}

// Where the trailer ends: at the end of the file or, in a file signed afterwards, where its
// certificate table starts less the zero bytes the signing put before it for an 8-byte boundary.
std::optional<int64_t> trailerEnd(const PayloadReader& read, int64_t fileSize) {
    const std::optional<int64_t> end = CONTENTEND(read, fileSize);
    if (!end || *end == fileSize) return end;
    char tail[kTrailerSize + kMaxSigningPadding];
    const size_t room = static_cast<size_t>(std::min<int64_t>(*end, sizeof tail));
    if (room < kTrailerSize || !read(*end - static_cast<int64_t>(room), tail, room)) return std::nullopt;
    for (size_t padding = 0; padding + kTrailerSize <= room; ++padding) {
        if (padding > 0 && tail[room - padding] != 0) break;
        if (std::memcmp(tail + room - padding - kTrailerSize, kTrailerMagic, sizeof kTrailerMagic) == 0)
            return *end - static_cast<int64_t>(padding);
    }
    return std::nullopt;
}

}  // namespace

bool PROGRAMFILENAME(std::string_view name) {
    if (name == kProgramExecutable || name == "History.rtf" || name == "Release Notes.rtf") return true;
    for (std::string_view folder : {"Help/", "Graphics/"})
        if (name.starts_with(folder))
            return name.size() - folder.size() <= kMaxNameBytes && PLAINFILENAME(name.substr(folder.size()));
    return false;
}

std::optional<Payload> READPAYLOAD(const PayloadReader& read, int64_t fileSize, std::string& problem) {
    problem = "It is incomplete or damaged.";
    const std::optional<int64_t> end = trailerEnd(read, fileSize);
    char trailer[kTrailerSize];
    if (!end || *end < static_cast<int64_t>(kTrailerSize) ||
        !read(*end - static_cast<int64_t>(kTrailerSize), trailer, kTrailerSize) ||
        std::memcmp(trailer, kTrailerMagic, sizeof kTrailerMagic) != 0)
        return std::nullopt;
    Payload payload;
    const uint64_t offset = LITTLEENDIAN(trailer + 16, 8);
    const uint64_t size = LITTLEENDIAN(trailer + 24, 8);
    const uint64_t room = static_cast<uint64_t>(*end) - kTrailerSize;
    // The payload ends where the trailer starts and begins after the installer program.
    if (offset == 0 || offset > room || size != room - offset) return std::nullopt;
    payload.offset = static_cast<int64_t>(offset);
    payload.size = static_cast<int64_t>(size);
    payload.sha256.assign(trailer + 32, kSha256Bytes);
    const std::string_view version(trailer + 64, kVersionBytes);
    payload.version = std::string(version.substr(0, version.find('\0')));
    if (version.find_first_not_of('\0', payload.version.size()) != std::string_view::npos ||
        !VERSIONPARTS(payload.version))
        return std::nullopt;
    std::string digest;
    if (!digestOf(read, payload.offset, payload.size, digest) || digest != payload.sha256) {
        problem = "Its content is damaged.";
        return std::nullopt;
    }
    auto files = readFiles(read, payload, problem);
    if (!files) return std::nullopt;
    payload.files = std::move(*files);
    problem.clear();
    return payload;
}

std::string PAYLOADCOUNT(uint32_t count) { return numberBytes(count, 4); }

std::string PAYLOADENTRY(const std::string& name, bool executable, int64_t size) {
    return numberBytes(name.size(), 2) + name + std::string(1, executable ? 1 : 0) +
           numberBytes(static_cast<uint64_t>(size), 8);
}

std::string PAYLOADTRAILER(int64_t offset, int64_t size, const std::string& sha256, const std::string& version) {
    std::string trailer(kTrailerMagic, sizeof kTrailerMagic);
    trailer += numberBytes(static_cast<uint64_t>(offset), 8) + numberBytes(static_cast<uint64_t>(size), 8);
    trailer += sha256;
    trailer += version + std::string(kVersionBytes - version.size(), '\0');
    return trailer;
}
