// The installer's entry: "/SP- /VERYSILENT" replaces the program without a window (as the
// program's hand-over starts it), "/uninstall" removes the installed copy without a window
// ("/uninstall <folder>" the copy in that folder, as the uninstaller's temporary copy does), no
// argument opens the installer's window, and "/PACK <program folder> <version> <output>" makes a
// .run from this program and that folder.
#include <cstdio>
#include <string>
#include <vector>

#include "gui/ezgui.h"
#include "installer/installing.h"
#include "installer/payload.h"
#include "installer/window.h"
#include "platform/processes.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 4 && arguments[0] == "/PACK") {
        std::string problem;
        if (PACKPROGRAM(OS_OWNEXECUTABLE(), arguments[1], arguments[2], arguments[3], problem)) return 0;
        std::fprintf(stderr, "TarvexSetup: %s\n", problem.c_str());
        return 1;
    }
    if (!arguments.empty() && arguments.size() <= 2 && arguments[0] == "/uninstall")
        return SILENTUNINSTALL(OS_OWNEXECUTABLE(), arguments.size() == 2 ? arguments[1] : "");
    bool silent = false;
    for (const std::string& argument : arguments) {
        if (argument == "/VERYSILENT") {
            silent = true;
        } else if (argument != "/SP-") {
            std::fprintf(stderr,
                         "TarvexSetup: unknown switch %s (use /SP- /VERYSILENT, /uninstall, or none)\n",
                         argument.c_str());
            return 5;
        }
    }
    if (silent) return SILENTINSTALL(OS_OWNEXECUTABLE());
    return EZ_GUIRUN(argc, argv, INSTALLER_START, INSTALLER_EVENTS, INSTALLER_DESIGN);
}
