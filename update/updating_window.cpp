#include "update/updating_window.h"

#include <climits>

#include "common/globals.h"
#include "common/help.h"
#include "gui/ezgui.h"
#include "update/http_rules.h"
#include "update/updating_window_ids.h"

bool DownloadCancelled = false;
bool DownloadActive = false;

namespace {

const std::string kForm = "ZD";

}  // namespace

void EZ_ZD_Display(const std::string& parent) {
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "Updating...", 0, 0, 41.5, 6.875, "C");
}

void EZ_ZD_Design() {
    EZ_USEFONT(6);
    EZ_LABEL(ZD::HEADING, 2, 0.625, 37.5, 1, "Downloading the new version of " + ProductName + "...", "L");
    EZ_PROGRESSBAR(ZD::PROGRESS_BAR, 2, 1.875, 37.5, 1.125);
    EZ_LABEL(ZD::ARRIVED, 2, 3.25, 37.5, 1, "", "L");
    EZ_BUTTON(ZD::CANCEL_BUTTON, 32.25, 4.875, 7.25, 1.5, "Cancel", "T");
    EZ_SETFORMKEYS(kForm, 2);
    EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY));
}

// Cancel, Escape or the close box end a running transfer; the download then closes the window.
void EZ_ZD_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    const bool cancelKey = message == EZ_MSG_KEY && value == EZ_KEY_ESCAPE;
    if ((id == ZD::CANCEL_BUTTON && message == EZ_MSG_CLICK) || cancelKey) DownloadCancelled = true;
    if (id == HELP_KEY && message == EZ_MSG_CLICK) GETHELP(HELP_CONTEXT, IDH_UPDATING);
    if (id == EZ_FORMITSELF && message == EZ_MSG_CLOSE && DownloadActive) {
        DownloadCancelled = true;
        cancel = 1;
    }
}

void ZD_SHOWPROGRESS(int64_t received, int64_t total, bool waiting) {
    if (total > 0 && total <= INT32_MAX)
        EZ_SETPBAR(kForm, ZD::PROGRESS_BAR, 0, static_cast<int32_t>(total),
                   static_cast<int32_t>(std::min(received, total)));
    else
        EZ_SETPBAR(kForm, ZD::PROGRESS_BAR, 0, 0, 0);
    const std::string arrived = ARRIVEDTEXT(received, total) + (waiting ? ", waiting for the server..." : "");
    if (EZ_GETTEXT(kForm, ZD::ARRIVED) != arrived) EZ_SETTEXT(kForm, ZD::ARRIVED, arrived);
}

void ZD_SHOWDONE() { EZ_SETPBAR(kForm, ZD::PROGRESS_BAR, 0, 100, 100); }
