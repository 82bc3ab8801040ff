#include "installer/uninstalling.h"

#include "installer/payload.h"
#include "installer/payload_format.h"
#include "installer/replacement.h"
#include "platform/files.h"
#include "platform/program_names.h"
#include "platform/shell_entries.h"

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
