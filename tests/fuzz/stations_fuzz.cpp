// The stored station list on any value: the rows it gives are stored and read back unchanged.
#include <string>

#include "stations/fields.h"
#include "tests/fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    const StationTable rows = SPLITFIELDS(value);
    const std::string stored = JOINFIELDS(rows);
    REQUIRE(SPLITFIELDS(stored) == rows);
    REQUIRE(JOINFIELDS(SPLITFIELDS(stored)) == stored);
    return 0;
}
