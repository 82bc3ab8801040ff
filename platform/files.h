// Plain files of the program folder: whether one exists, its bytes, its removal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// True when a regular file of that name exists.
bool OS_FILEEXISTS(const std::string& path);

// The whole content of a regular file of at most maxBytes; nothing when there is no such file,
// it cannot be read, or it is larger. Never waits on a pipe or a device.
std::optional<std::string> OS_READFILE(const std::string& path, int64_t maxBytes);

// Removes the file; true when it is gone afterwards.
bool OS_DELETEFILE(const std::string& path);
