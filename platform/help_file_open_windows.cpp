// chmlib is built for Windows to take UTF-16 names, since its narrow form reads a name in the
// ANSI code page.
#include "platform/help_file_open.h"

#include <chm_lib.h>

#include "platform/wide_text.h"

namespace help {

chmFile* openChm(const std::string& path) {
    std::wstring wide = OS_WIDETEXT(path);
    return wide.empty() ? nullptr : chm_open(wide.data());
}

}  // namespace help
