// The first bytes of a Windows program as a signing tool leaves them, for the tests of installers
// signed after they were made: DOS header, PE signature and file header, optional header.
#pragma once

#include <cstdint>
#include <string>

struct PeHeaders {
    uint16_t magic = 0x20b;  // PE32+; 0x10b is PE32
    uint32_t peOffset = 64;
    uint16_t optionalSize = 240;
    uint32_t directories = 16;
    uint32_t table = 0;  // the security directory: the certificate table's file offset and size
    uint32_t tableSize = 0;
};

inline void putLittle(std::string& bytes, size_t at, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xff);
}

// The headers followed by filler up to length bytes (at least 512).
inline std::string peFile(const PeHeaders& headers, size_t length = 512) {
    std::string bytes(length, 'x');
    bytes.replace(0, 2, "MZ");
    putLittle(bytes, 0x3c, headers.peOffset, 4);
    if (uint64_t{headers.peOffset} + 24 + headers.optionalSize > length) return bytes;
    bytes.replace(headers.peOffset, 4, std::string("PE\0\0", 4));
    putLittle(bytes, headers.peOffset + 20, headers.optionalSize, 2);
    const size_t optional = headers.peOffset + 24;
    const size_t count = optional + (headers.magic == 0x20b ? 108 : 92);
    putLittle(bytes, optional, headers.magic, 2);
    putLittle(bytes, count, headers.directories, 4);
    putLittle(bytes, count + 4 + 32, headers.table, 4);
    putLittle(bytes, count + 4 + 36, headers.tableSize, 4);
    return bytes;
}
