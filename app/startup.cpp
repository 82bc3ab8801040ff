// Start-up: fonts and colours, the single copy, the program paths, the station tables,
// then the calculator window.
#include "app/startup.h"

#include "app/routing.h"
#include "calc/calculator_form.h"
#include "common/globals.h"
#include "common/long_name.h"
#include "common/settings.h"
#include "gui/ezgui.h"
#include "installer/replacement.h"
#include "platform/single_instance.h"
#include "stations/tables.h"
#include "update/installation.h"

int WINMAIN(int argc, char** argv) { return EZ_GUIRUN(argc, argv, EZ_MAIN, EZ_EVENTS, EZ_DESIGN); }

void INITAPPS() {}

// Fonts 6 to 9 and colours 32 to 43, which every form and message refers to by number.
void DEFINEFONTSANDCOLOURS() {
    EZ_DEFFONT(6, "Segoe UI", 9, "L+V");
    EZ_DEFFONT(7, "Segoe UI", 9, "BV");
    EZ_DEFFONT(8, "Segoe UI", 11, "BV");
    EZ_DEFFONT(9, "Wingdings", 16, "L+SV");
    const int32_t system[] = {4, 5, 15, 24};
    for (int32_t n = 0; n < 4; ++n) EZ_DEFSYSTEMCOLOR(32 + n, system[n]);
    const int32_t mixed[][3] = {{255, 111, 185}, {159, 171, 20}, {255, 167, 71},  {207, 170, 210},
                                {227, 213, 28},  {67, 137, 188}, {183, 106, 108}, {137, 68, 221}};
    for (int32_t n = 0; n < 8; ++n) EZ_DEFCOLORL(36 + n, mixed[n][0], mixed[n][1], mixed[n][2]);
}

// The event switches, fonts and colours that every form of the program relies on.
void STARTUPDISPLAY() {
    EZ_ALLOWCOMMANDEVENTS(1);
    EZ_ALLOWKEYEVENTS(1);
    EZ_ALLOWCURSOREVENTS(1);
    DEFINEFONTSANDCOLOURS();
    EZ_DEFFONT(10, "Segoe UI", 10, "BV");
    EZ_DEFSYSTEMCOLOR(70, 13);
}

void EZ_MAIN(int32_t) {
    INITAPPS();
    EZ_DEFIMAGEFOLDER("Graphics");
    STARTUPDISPLAY();
    if (MAIN_INITIALIZE()) EZ_RI_Display("");
}

bool MAIN_INITIALIZE() {
    if (APP_PREVINSTANCE("Tarvex", "Tarvex")) return false;
    // Another copy may have taken the lock since the test above: then this one ends.
    bool taken = false;
    InstanceMutex = OS_CREATELOCK("Tarvex", taken);
    if (InstanceMutex == 0 || taken) return false;
    ProgramIcon = EZ_LOADICON("$AAPROGRAM");
    std::string programFolder = GETLONGFILENAME(EZ_APPPATH()) + "/";
    IniFile = SETTINGSFILE(programFolder);
    HelpFile = programFolder + "Help/Tarvex Help.chm";
    EZ_DEFTOOLTIPPROP(-1, -1);
    StationCalls.fill("");
    StationCume.fill("");
    // An update that was cut off (a crash, a kill, a power failure) is brought to an end first, so
    // that the folder holds the whole old program or the whole new one.
    FINISHREPLACEMENT(GETLONGFILENAME(EZ_APPPATH()));
    return RECOVERINSTALL();
}

bool APP_PREVINSTANCE(const std::string& identifier, const std::string& caption) {
    bool existed = false;
    int32_t handle = OS_CREATELOCK(identifier, existed);
    if (handle == 0) {
        OS_BEEP();
        return false;
    }
    if (existed) OS_RAISEOTHERCOPY(identifier, caption);
    OS_CLOSELOCK(handle);
    return existed;
}
