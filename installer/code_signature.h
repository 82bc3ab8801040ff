// An installer signed after it was made: Authenticode appends a certificate table to the file and
// records the table's file offset and size in the PE optional header's security data directory.
// Everything in those headers is outside input until the rule below has checked it.
#pragma once

#include <cstdint>
#include <optional>

#include "installer/payload_format.h"

// Where the file's own content ends: where a certificate table that ends the file starts, or
// fileSize when there is none (not a PE file, no table, or one that lies inside the file, as a
// signed installer program followed by a payload has); nothing when the headers name a table at
// the end that cannot be one (inside the headers, not on an 8-byte boundary, too short).
std::optional<int64_t> CONTENTEND(const PayloadReader& read, int64_t fileSize);

// The number that count bytes (at most 8) hold, the least significant first.
uint64_t LITTLEENDIAN(const char* bytes, size_t count);
