// Any bytes read as an installer that may have been signed afterwards: the content it finds ends
// inside the file, and before the file's end only where a PE file names a table on an 8-byte boundary.
#include <cstring>
#include <string>

#include "installer/code_signature.h"
#include "tests/fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto end = CONTENTEND([&bytes](int64_t offset, char* out, size_t count) {
        REQUIRE(offset >= 0 && static_cast<uint64_t>(offset) + count <= bytes.size());
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    }, static_cast<int64_t>(bytes.size()));
    if (!end) return 0;
    REQUIRE(*end >= 0 && *end <= static_cast<int64_t>(size));
    if (*end < static_cast<int64_t>(size)) REQUIRE(bytes.starts_with("MZ") && *end % 8 == 0 && *end >= 64);
    return 0;
}
