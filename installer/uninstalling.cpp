#include "installer/uninstalling.h"

#include "installer/payload_format.h"
#include "installer/replacement.h"
#include "platform/files.h"
#include "platform/program_names.h"
#include "platform/shell_entries.h"

bool REGISTERCOPY(const std::string& folder, const std::string& installer, const std::string& version) {
    return OS_WRITESHELLENTRIES({folder + "/" + kProgramExecutable, folder, installer, version});
}

bool UNINSTALLPROGRAM(const std::string& folder, const std::vector<std::string>& names,
                      std::string& problem) {
    // An interrupted replacement is settled first, and what it moved aside is deleted with it.
    if (!FINISHREPLACEMENT(folder)) {
        problem = "An earlier update in " + folder + " could not be finished.";
        return false;
    }
    for (const std::string& name : names) {
        if (!PROGRAMFILENAME(name) || OS_DELETEFILE(folder + "/" + name)) continue;
        problem = "The file " + folder + "/" + name + " could not be removed. Close Tarvex and try again.";
        return false;
    }
    for (const char* sub : {"/Help", "/Graphics", ""}) OS_REMOVEEMPTYFOLDER(folder + sub);
    if (!OS_REMOVESHELLENTRIES()) {
        problem = "The Start-menu shortcut or the uninstall entry of Tarvex could not be removed.";
        return false;
    }
    return true;
}
