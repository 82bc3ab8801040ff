// The installer's own .run file (signed afterwards or not) read as any bytes: every file it accepts lies
// inside the payload, in order, named as one of the program's own, and the payload's digest matches.
#include <cstring>
#include <string>

#include "installer/payload_format.h"
#include "tests/fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string problem;
    const auto payload = READPAYLOAD([&bytes](int64_t offset, char* out, size_t count) {
        REQUIRE(offset >= 0 && static_cast<uint64_t>(offset) + count <= bytes.size());
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    }, static_cast<int64_t>(bytes.size()), problem);
    if (!payload) {
        REQUIRE(!problem.empty());
        return 0;
    }
    REQUIRE(payload->offset > 0 && payload->offset + payload->size + static_cast<int64_t>(kTrailerSize) <=
                                       static_cast<int64_t>(size));
    int64_t end = payload->offset;
    for (const PayloadFile& file : payload->files) {
        REQUIRE(PROGRAMFILENAME(file.name) && file.name.find("..") == std::string::npos && file.name[0] != '/');
        REQUIRE(file.offset > end && file.size >= 0 && file.offset + file.size <= payload->offset + payload->size);
        end = file.offset + file.size;
    }
    return 0;
}
