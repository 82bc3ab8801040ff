// chmlib's handle of a compiled help file named in UTF-8, on POSIX or on Windows.
#pragma once

#include <string>

struct chmFile;

namespace help {

// The file opened by chmlib; nullptr when it cannot be opened or is no help file.
chmFile* openChm(const std::string& path);

}  // namespace help
