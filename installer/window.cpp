#include "installer/window.h"

#include <cstdlib>
#include <optional>

#include "gui/ezgui.h"
#include "installer/installing.h"
#include "installer/payload.h"
#include "installer/replacement.h"
#include "installer/uninstalling.h"
#include "installer/window_ids.h"
#include "platform/named_lock.h"
#include "platform/processes.h"
#include "platform/program_names.h"

namespace {

const std::string kForm = "IN";

enum class Kind { Update, Fresh, Damaged };

// What the open window is about.
struct Setup {
    std::string runFile;
    std::optional<Payload> payload;
    std::string problem;
    std::string folder;
    Kind kind = Kind::Damaged;
    bool busy = false;
    int32_t steps = 0;
} setup;

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? home : "";
}

// The folder the user typed: absolute, or under the home folder with "~/".
std::string chosenFolder() {
    std::string folder = EZ_GETTEXT(kForm, IN::FOLDER);
    while (!folder.empty() && folder.back() == ' ') folder.pop_back();
    if (folder.starts_with("~/") && !homeFolder().empty()) folder = homeFolder() + folder.substr(1);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder.starts_with("/") ? folder : "";
}

std::string introduction() {
    const std::string program = "Tarvex " + (setup.payload ? setup.payload->version : "");
    if (setup.kind == Kind::Update)
        return program + " will replace the copy in " + setup.folder +
               ".|Your settings and saved analyses stay as they are.";
    if (setup.kind == Kind::Fresh) return program + " will be installed in this folder:";
    return "This installer of Tarvex cannot be used. " + setup.problem + "|Nothing was changed. Please download it again.";
}

void finish(const std::string& outcome) {
    setup.busy = false;
    EZ_SETTEXT(kForm, IN::STATUS, outcome);
    EZ_SETTEXT(kForm, IN::CANCEL_BUTTON, "&Close");
    EZ_ENABLEC(kForm, IN::CANCEL_BUTTON);
    EZ_FOCUS(kForm, IN::CANCEL_BUTTON);
}

// Waits for a running Tarvex to end while the window keeps painting; the lock's handle, or 0.
int32_t waitForProgramEnd() {
    EZ_SETTEXT(kForm, IN::STATUS, "Waiting for Tarvex to close...");
    for (int32_t waited = 0; waited < kProgramEndWaitMs; waited += 100) {
        if (int32_t lock = OS_WAITFORLOCK("Tarvex", 100)) return lock;
        EZ_DOEVENTS();
    }
    return 0;
}

void showStep(const std::string& what) {
    const int32_t total = 3 * static_cast<int32_t>(setup.payload->files.size()) + 2;
    EZ_SETPBAR(kForm, IN::PROGRESS_BAR, 0, total, std::min(++setup.steps, total));
    EZ_SETTEXT(kForm, IN::STATUS, what.starts_with("unpacked ") ? "Unpacking " + what.substr(9) + "..."
                                                                 : "Replacing the program files...");
    EZ_DOEVENTS();
}

void install() {
    const std::string folder = setup.kind == Kind::Fresh ? chosenFolder() : setup.folder;
    if (folder.empty()) {
        EZ_SETTEXT(kForm, IN::STATUS, "Type the full path of a folder, like " + OS_FRESHCOPYFOLDER() + ".");
        return;
    }
    setup.busy = true;
    setup.steps = 0;
    EZ_DISABLEC(kForm, IN::INSTALL_BUTTON);
    EZ_DISABLEC(kForm, IN::CANCEL_BUTTON);
    EZ_DISABLEC(kForm, IN::FOLDER);
    EZ_SHOWC(kForm, IN::PROGRESS_BAR, 1);
    const int32_t lock = waitForProgramEnd();
    if (lock == 0) return finish("Tarvex did not close. Nothing was changed.");
    std::string problem;
    if (!INSTALLPROGRAM(setup.runFile, *setup.payload, folder, showStep, problem)) {
        OS_CLOSELOCK(lock);
        return finish("The installation failed. " + problem + " Nothing was changed.");
    }
    if (setup.kind == Kind::Update) RECORDUPDATE(folder, setup.payload->version);
    const bool registered = REGISTERCOPY(folder, setup.runFile, setup.payload->version);
    OS_CLOSELOCK(lock);
    const bool started = STARTINSTALLED(folder, setup.kind == Kind::Update);
    finish("Tarvex " + setup.payload->version + " is installed in " + folder +
           (started ? " and has been started." : ", but it did not start.") +
           (registered ? "" : " Its Start-menu shortcut could not be made."));
}

}  // namespace

void EZ_IN_Display(const std::string& runFile) {
    setup = Setup{};
    setup.runFile = runFile;
    setup.payload = CHECKINSTALLER(runFile, setup.problem);
    setup.folder = FOLDEROF(runFile);
    setup.kind = !setup.payload ? Kind::Damaged : HOLDSPROGRAM(setup.folder) ? Kind::Update : Kind::Fresh;
    if (setup.kind == Kind::Fresh) setup.folder = OS_FRESHCOPYFOLDER();
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, "", "Tarvex Setup", 0, 0, 62, 12.5, "C");
}

void EZ_IN_Design() {
    EZ_USEFONT(7);
    EZ_LABEL(IN::MESSAGE, 2, 0.75, 58, 2.5, introduction(), "L");
    EZ_USEFONT(6);
    EZ_TEXT(IN::FOLDER, 2, 3.5, 58, 1.25, setup.folder, setup.kind == Kind::Fresh ? "ET" : "");
    EZ_PROGRESSBAR(IN::PROGRESS_BAR, 2, 5.5, 58, 1.125);
    EZ_LABEL(IN::STATUS, 2, 7, 58, 2.5, "", "L");
    EZ_BUTTON(IN::INSTALL_BUTTON, 42, 10.25, 8.5, 1.5, "&Install", "T");
    EZ_BUTTON(IN::CANCEL_BUTTON, 51.5, 10.25, 8.5, 1.5, "Cancel", "T");
    EZ_SETFORMKEYS(kForm, 2);
    // The bar shows once the work starts; the folder box only where the user chooses the folder.
    EZ_SHOWC(kForm, IN::PROGRESS_BAR, 0);
    EZ_SHOWC(kForm, IN::FOLDER, setup.kind == Kind::Fresh ? 1 : 0);
    if (setup.kind == Kind::Damaged) {
        EZ_SHOWC(kForm, IN::INSTALL_BUTTON, 0);
        EZ_SETTEXT(kForm, IN::CANCEL_BUTTON, "&Close");
    }
}

// Install starts the work; Cancel, Escape or the close box end the window, except while it works.
void EZ_IN_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    if (id == EZ_FORMITSELF && message == EZ_MSG_STARTED) {
        EZ_FOCUS(kForm, setup.kind == Kind::Damaged ? IN::CANCEL_BUTTON : IN::INSTALL_BUTTON);
    } else if (id == IN::INSTALL_BUTTON && message == EZ_MSG_CLICK && !setup.busy) {
        install();
    } else if ((id == IN::CANCEL_BUTTON && message == EZ_MSG_CLICK) ||
               (message == EZ_MSG_KEY && value == EZ_KEY_ESCAPE)) {
        if (!setup.busy) EZ_UNLOADFORM(kForm);
    } else if (id == EZ_FORMITSELF && message == EZ_MSG_CLOSE && setup.busy) {
        cancel = 1;
    }
}

void INSTALLER_START(int32_t) {
    EZ_ALLOWCOMMANDEVENTS(1);
    EZ_ALLOWKEYEVENTS(1);
    EZ_DEFFONT(6, "Segoe UI", 9, "L+V");
    EZ_DEFFONT(7, "Segoe UI", 9, "BV");
    EZ_IN_Display(OS_OWNEXECUTABLE());
}

void INSTALLER_DESIGN(const std::string& form) {
    if (form == kForm) EZ_IN_Design();
}

void INSTALLER_EVENTS(const std::string& form, int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    if (form == kForm) EZ_IN_ParseEvents(id, message, value, cancel);
}
