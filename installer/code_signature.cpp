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

uint32_t little(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = count; i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

bool readAt(const PayloadReader& read, int64_t fileSize, uint64_t offset, unsigned char* bytes,
            size_t count) {
    return offset + count <= static_cast<uint64_t>(fileSize) &&
           read(static_cast<int64_t>(offset), reinterpret_cast<char*>(bytes), count);
}

}  // namespace

std::optional<int64_t> CONTENTEND(const PayloadReader& read, int64_t fileSize) {
    unsigned char dos[kDosHeaderBytes];
    if (fileSize < kDosHeaderBytes || !readAt(read, fileSize, 0, dos, sizeof dos) || dos[0] != 'M' ||
        dos[1] != 'Z')
        return fileSize;
    const uint64_t pe = little(dos + kNewHeaderOffsetAt, 4);
    unsigned char coff[kPeAndCoffBytes];
    if (!readAt(read, fileSize, pe, coff, sizeof coff) || little(coff, 4) != 0x4550) return fileSize;
    const uint64_t optional = pe + kPeAndCoffBytes;
    const uint32_t optionalSize = little(coff + kOptionalSizeAt, 2);
    unsigned char magic[2];
    if (!readAt(read, fileSize, optional, magic, 2)) return fileSize;
    // The count of data directories and the directories themselves lie further out in PE32+.
    const bool wide = little(magic, 2) == kPe32PlusMagic;
    if (!wide && little(magic, 2) != kPe32Magic) return fileSize;
    const uint32_t countAt = wide ? 108 : 92;
    const uint32_t entryAt = countAt + 4 + 8 * kSecurityDirectory;
    unsigned char count[4], entry[8];
    if (optionalSize < entryAt + 8 || !readAt(read, fileSize, optional + countAt, count, 4) ||
        little(count, 4) <= kSecurityDirectory || !readAt(read, fileSize, optional + entryAt, entry, 8))
        return fileSize;
    const uint64_t table = little(entry, 4), size = little(entry + 4, 4);
    if (table + size != static_cast<uint64_t>(fileSize) || (table == 0 && size == 0)) return fileSize;
    if (table < optional + optionalSize || table % 8 != 0 || size < kCertificateHeaderBytes)
        return std::nullopt;
    return static_cast<int64_t>(table);
}
