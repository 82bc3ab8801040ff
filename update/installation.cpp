#include "update/installation.h"

#include <optional>
#include <vector>

#include "base/number_reader.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "update/base64.h"
#include "update/check.h"
#include "update/information_window.h"
#include "update/version_file.h"

std::string NewVersion;

namespace {

// The installer is started only when it is still the one that was proved; the argument vector
// goes to it as it stands, with no shell and no cut.
bool startInstaller(const std::string& proof, const std::vector<std::string>& switches) {
    if (!PROVEINSTALLER(InstallerFile, proof)) return false;
    OS_MAKEEXECUTABLE(InstallerFile);
    return OS_STARTPROGRAM(InstallerFile, switches);
}

void reportSuccess() {
    WRITEINI(IniFile, "Update", "Failed", "0");
    const std::string message = "Congratulations! " + ProductName + " has been updated to version " +
                                SHOWNVERSION(NewVersion) + "!{f10}";
    const bool notes = OS_FILEEXISTS(EZ_APPPATH() + "/Release Notes.rtf");
    int32_t answer = ASKUSER("Update Process Complete", message, "", "",
                             notes ? "*{G,f7}|&See What's New|&Don't Care" : "&OK{G,f7}", 1);
    if (notes && answer == 1) {
        EZ_DOEVENTS();
        EZ_WN_Display(EZ_CURRENTFORM());
    }
    EZ_DOEVENTS();
}

// False when the user chose the web site, which ends the processing without the clean-up.
bool reportFailure() {
    WRITEINI(IniFile, "Update", "Failed", "0");
    int32_t answer = ASKUSER("Update Process Failed", "The program update failed to install correctly.{f10}",
                             "This failure could be due to your internet connection or anti-virus program.|"
                             "The update can be downloaded directly from our web site.{f6}",
                             "", "*{G,f7}|&Go To Website|&Continue Without Updating", 1);
    if (answer != 1) return true;
    VISITWEBSITE();
    return false;
}

// Only a file of the program folder is ever deleted, whatever the settings file names.
void cleanUp() {
    const std::string install = GETINI(IniFile, "Update", "Install", "");
    if (!install.empty() && INPROGRAMFOLDER(install) && OS_FILEEXISTS(install) && OS_DELETEFILE(install)) {
        EZ_DOEVENTS();
        if (!OS_FILEEXISTS(install)) {
            WRITEINI(IniFile, "Update", "Install", "");
            WRITEINI(IniFile, "Update", "Verified", "");
        }
    }
    const std::string leftOver = EZ_APPPATH() + "/pgmud.exe";
    if (OS_FILEEXISTS(leftOver)) OS_DELETEFILE(leftOver);
}

}  // namespace

void DOUPDATE() {
    if (!UpdatePending) return;
    startInstaller(UpdateVersionText, MajorUpgrade ? std::vector<std::string>{}
                                                   : std::vector<std::string>{"/SP-", "/VERYSILENT"});
}

bool RECOVERINSTALL() {
    if (GETINI(IniFile, "Update", "Failed", "0") != "1") return true;
    InstallerFile = GETINI(IniFile, "Update", "Install", "");
    if (!INPROGRAMFOLDER(InstallerFile) || !OS_FILEEXISTS(InstallerFile)) return true;
    const std::string proof = FROM_BASE64(GETINI(IniFile, "Update", "Verified", "")).value_or("");
    // An installer of this version or an older one is nothing to recover: running it would roll
    // the program back.
    if (!NEWERVERSION(READVERSIONFILE(proof).version, ProgramVersion)) {
        WRITEINI(IniFile, "Update", "Failed", "0");
        return true;
    }
    return !startInstaller(proof, {});
}

void ISUPDATED() {
    NewVersion.clear();
    if (OS_FIRSTARGUMENT() == "/update") {
        NewVersion = GETINI(IniFile, "Update", "NewVer", "");
        if (!NewVersion.empty()) WRITEINI(IniFile, "Update", "NewVer", "");
    }
    const std::string updater = EZ_APPPATH() + "/Updater.ini";
    if (NewVersion.empty() && OS_FILEEXISTS(updater)) {
        NewVersion = GETINI(updater, "Program", "NewVersion", "");
        if (!NewVersion.empty()) WRITEINI(updater, "Program", "NewVersion", "");
    }
    if (!NewVersion.empty()) {
        reportSuccess();
    } else if (READNUMBER(GETINI(IniFile, "Update", "Failed", "0")) != 0 && !OfferDeclined) {
        if (!reportFailure()) return;
    }
    cleanUp();
}
