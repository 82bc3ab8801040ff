#include "platform/help_file_open.h"

#include <chm_lib.h>

namespace help {

chmFile* openChm(const std::string& path) { return chm_open(path.c_str()); }

}  // namespace help
