// The size and SHA-256 digest of a file, read in blocks so that a large file is never held whole.
#pragma once

#include <cstdint>
#include <string>

// sha256 gets the 32 bytes of the digest. False when the file is not a regular file or cannot be
// read to its end.
bool OS_FILEDIGEST(const std::string& path, int64_t& size, std::string& sha256);
