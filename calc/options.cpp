#include "calc/options.h"

#include "app/help.h"
#include "app/settings.h"
#include "gui/ezgui.h"
#include "update/check.h"

OptionFlags Options = {0, 1};

void RI_MENUEVENTS(int32_t id, int32_t& message, int32_t&, int32_t&, int32_t, const std::string&) {
    if (message != 1) return;
    switch (id) {
        case 9015: EZ_UNLOADFORM("RI"); break;
        case 9205: GETHELP(1, 0); break;
        case 9215:
            if (CHECKFORUPDATE(EZ_CURRENTFORM(), VersionFileUrl, std::string("3.0") + "." + "1.0", 1, 1) != 0)
                EZ_UNLOADFORM("RI");
            break;
        default: break;
    }
}

// Until the options are stored, every start has the defaults: no remembered client,
// automatic update checks on.
void LOADPREFERENCES() {
    Options.Recall = 0;
    Options.AutoUpdate = 1;
    SETRECALL();
    SETAUTOUPDATE();
}

void SETRECALL() {
    SETMENUITEM("RI", 2, 9105, "&Remember Current Account Information", Options.Recall ? "X" : "");
}

void SETAUTOUPDATE() {
    SETMENUITEM("RI", 2, 9110, "&Automatically Check for Program Update", Options.AutoUpdate ? "X" : "");
}

// The remembered client needs the settings file, which this version does not keep yet.
void SAVECURRENT() {}

void RESTORECURRENT() {}
