// The settings file on disk: one value read or written at a time, the file opened and closed
// on every call.
#pragma once

#include <string>

// The value of key in section of file, or fallback when the file cannot be read or lacks the
// section or the key.
std::string OS_GETPROFILESTRING(const std::string& section, const std::string& key,
                                const std::string& fallback, const std::string& file);

// Sets key in section of file, creating the file, the section or the key as needed. The file
// is replaced as a whole, so that a crash leaves either the old or the new file; in a folder
// that takes no new file, a writable file is rewritten in place instead. A read-only file, or a
// read-only folder without the file, is refused (false), also for a user whom the system would
// let write anyway.
bool OS_WRITEPROFILESTRING(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file);
