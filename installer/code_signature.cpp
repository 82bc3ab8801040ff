#include "installer/code_signature.h"

namespace {

constexpr int64_t kDosHeaderBytes = 64;
constexpr int64_t kNewHeaderOffsetAt = 0x3c;
constexpr int64_t kPeAndCoffBytes = 24;  // "PE\0\0" and the file header
constexpr int64_t kOptionalSizeAt = 20;  // within those 24 bytes
constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint16_t kPe32PlusMagic = 0x20b;
constexpr uint32_t kSecurityDirectory = 4;
constexpr uint32_t kCertificateHeaderBytes = 8;

bool readAt(const PayloadReader& read, int64_t fileSize, uint64_t offset, char* bytes, size_t count) {
    return offset + count <= static_cast<uint64_t>(fileSize) &&
           read(static_cast<int64_t>(offset), bytes, count);
}

}  // namespace

uint64_t LITTLEENDIAN(const char* bytes, size_t count) {
    uint64_t value = 0;
    for (size_t i = count; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

std::optional<int64_t> CONTENTEND(const PayloadReader& read, int64_t fileSize) {
    char dos[kDosHeaderBytes];
    if (fileSize < kDosHeaderBytes || !readAt(read, fileSize, 0, dos, sizeof dos) || dos[0] != 'M' ||
        dos[1] != 'Z')
        return fileSize;
    const uint64_t pe = LITTLEENDIAN(dos + kNewHeaderOffsetAt, 4);
    char coff[kPeAndCoffBytes];
    if (!readAt(read, fileSize, pe, coff, sizeof coff) || LITTLEENDIAN(coff, 4) != 0x4550) return fileSize;
    const uint64_t optional = pe + kPeAndCoffBytes;
    const uint32_t optionalSize = LITTLEENDIAN(coff + kOptionalSizeAt, 2);
    char magic[2];
    if (!readAt(read, fileSize, optional, magic, 2)) return fileSize;
    // The count of data directories and the directories themselves lie further out in PE32+.
    const bool wide = LITTLEENDIAN(magic, 2) == kPe32PlusMagic;
    if (!wide && LITTLEENDIAN(magic, 2) != kPe32Magic) return fileSize;
    const uint32_t countAt = wide ? 108 : 92;
    const uint32_t entryAt = countAt + 4 + 8 * kSecurityDirectory;
    char count[4], entry[8];
    if (optionalSize < entryAt + 8 || !readAt(read, fileSize, optional + countAt, count, 4) ||
        LITTLEENDIAN(count, 4) <= kSecurityDirectory || !readAt(read, fileSize, optional + entryAt, entry, 8))
        return fileSize;
    const uint64_t table = LITTLEENDIAN(entry, 4), size = LITTLEENDIAN(entry + 4, 4);
    if (table + size != static_cast<uint64_t>(fileSize) || (table == 0 && size == 0)) return fileSize;
    if (table < optional + optionalSize || table % 8 != 0 || size < kCertificateHeaderBytes)
        return std::nullopt;
    return static_cast<int64_t>(table);
}
