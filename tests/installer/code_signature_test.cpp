// Where an installer's own content ends when a code signature may have been appended later.
#include <gtest/gtest.h>

#include <cstring>

#include "installer/code_signature.h"
#include "tests/support/pe_file.h"

namespace {

std::optional<int64_t> contentEnd(const std::string& bytes) {
    return CONTENTEND([&bytes](int64_t offset, char* out, size_t count) {
        if (offset < 0 || static_cast<uint64_t>(offset) + count > bytes.size()) return false;
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    }, static_cast<int64_t>(bytes.size()));
}

}  // namespace

TEST(CodeSignature, TheContentEndsWhereACertificateTableAtTheEndStarts) {
    const std::optional<int64_t> refused;
    const struct {
        const char* what;
        std::string bytes;
        std::optional<int64_t> end;
    } cases[] = {
        {"not a Windows program", std::string("\x7f" "ELF", 4) + std::string(600, 'x'), 604},
        {"too short for a DOS header", "MZ", 2},
        {"unsigned", peFile({}, 600), 600},
        {"signed, PE32+", peFile({.table = 512, .tableSize = 88}, 600), 512},
        {"signed, PE32", peFile({.magic = 0x10b, .optionalSize = 224, .table = 512, .tableSize = 88}, 600), 512},
        {"an unknown optional header", peFile({.magic = 0x107, .table = 512, .tableSize = 88}, 600), 600},
        {"a signed program with more after it", peFile({.table = 512, .tableSize = 40}, 600), 600},
        {"headers past the end of the file", peFile({.peOffset = 0xfffffff0, .table = 512, .tableSize = 88}, 600), 600},
        {"no room for the security directory", peFile({.optionalSize = 100, .table = 512, .tableSize = 88}, 600), 600},
        {"too few directories", peFile({.directories = 4, .table = 512, .tableSize = 88}, 600), 600},
        {"offset and size beyond 32 bits", peFile({.table = 0xfffffff8, .tableSize = 0x260}, 600), 600},
        {"a table inside the headers", peFile({.table = 64, .tableSize = 536}, 600), refused},
        {"a table off the 8-byte boundary", peFile({.table = 513, .tableSize = 87}, 600), refused},
        {"an empty table at the end", peFile({.table = 600, .tableSize = 0}, 600), refused},
    };
    for (const auto& test : cases) EXPECT_EQ(contentEnd(test.bytes), test.end) << test.what;
}
