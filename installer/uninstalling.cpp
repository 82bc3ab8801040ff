#include "installer/uninstalling.h"

#include <algorithm>
#include <cstdint>

#include "installer/payload_format.h"
#include "installer/replacement.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/program_names.h"
#include "platform/shell_entries.h"

namespace {

constexpr size_t kCopyBlock = 1 << 20;

bool copyOpen(int32_t from, int32_t to) {
    const int64_t size = OS_OPENFILESIZE(from);
    if (size < 0) return false;
    std::string block(kCopyBlock, '\0');
    for (int64_t at = 0; at < size;) {
        const size_t count = static_cast<size_t>(std::min<int64_t>(size - at, kCopyBlock));
        if (!OS_READAT(from, at, block.data(), count) || !OS_WRITEFILE(to, block.data(), count)) return false;
        at += static_cast<int64_t>(count);
    }
    return true;
}

}  // namespace

bool COPYWHOLEFILE(const std::string& from, const std::string& to) {
    const std::string temporary = to + ".new";
    const int32_t in = OS_OPENFORREADING(from);
    const int32_t out = in ? OS_CREATEPRIVATEFILE(temporary) : 0;
    bool copied = out != 0 && copyOpen(in, out);
    if (in) OS_CLOSEFILE(in);
    copied = out != 0 && OS_FINISHFILE(out) && copied && OS_MAKEEXECUTABLE(temporary) &&
             OS_RENAMEFILE(temporary, to);
    if (!copied && out != 0) OS_DELETEFILE(temporary);
    return copied;
}

bool REGISTERCOPY(const std::string& folder, const std::string& installer, const std::string& version) {
    const std::string kept = folder + "/" + kKeptUninstaller;
    const bool keep = kSystemKeepsShellEntries && OS_FULLPATH(installer) != OS_FULLPATH(kept);
    const bool keptWell = !keep || COPYWHOLEFILE(installer, kept);
    const std::string uninstaller = kSystemKeepsShellEntries && keptWell ? kept : installer;
    return OS_WRITESHELLENTRIES({folder + "/" + kProgramExecutable, folder, uninstaller, version}) &&
           keptWell;
}

bool UNINSTALLPROGRAM(const std::string& folder, const std::vector<std::string>& names,
                      std::string& problem) {
    // An interrupted replacement is settled first, and what it moved aside is deleted with it.
    if (!FINISHREPLACEMENT(folder)) {
        problem = "An earlier update in " + folder + " could not be finished.";
        return false;
    }
    // The kept uninstaller goes first: when it still runs, nothing of the program is touched.
    std::vector<std::string> paths{folder + "/" + kKeptUninstaller};
    for (const std::string& name : names)
        if (PROGRAMFILENAME(name)) paths.push_back(folder + "/" + name);
    for (const std::string& path : paths) {
        if (OS_DELETEFILE(path)) continue;
        problem = "The file " + path + " could not be removed. Close Tarvex and try again.";
        return false;
    }
    for (const char* sub : {"/Help", "/Graphics", ""}) OS_REMOVEEMPTYFOLDER(folder + sub);
    if (!OS_REMOVESHELLENTRIES()) {
        problem = "The Start-menu shortcut or the uninstall entry of Tarvex could not be removed.";
        return false;
    }
    return true;
}
