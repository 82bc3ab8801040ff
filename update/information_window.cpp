#include "update/information_window.h"

#include <optional>

#include "common/help.h"
#include "gui/ezgui.h"
#include "platform/files.h"
#include "update/information_window_ids.h"

namespace {

const std::string kForm = "WN";
constexpr int64_t kMaxNotesBytes = 16 << 20;

}  // namespace

void EZ_WN_Display(const std::string& parent) {
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "Update Information", 0, 0, 68.25, 24.75, "CMR");
}

void EZ_WN_Design() {
    EZ_USEFONT(6);
    EZ_RICHTEXT(WN::NOTES, 1.5, 1, 65.25, 20.75, "STV");
    EZ_BUTTON(WN::CLOSE_BUTTON, 58.75, 22.5, 8, 1.5, "&Close", "T");
}

void EZ_WN_ParseEvents(int32_t& id, int32_t& message, int32_t&, int32_t&) {
    if (id == EZ_FORMITSELF && message == EZ_MSG_STARTED) {
        std::string notes = OS_READFILE(EZ_APPPATH() + "/Release Notes.rtf", kMaxNotesBytes).value_or("");
        EZ_SETRICHTEXTLEN(kForm, WN::NOTES, static_cast<int32_t>(notes.size()) + 1024);
        EZ_SETRICHTEXT(kForm, WN::NOTES, notes, 1);
        EZ_FOCUS(kForm, WN::CLOSE_BUTTON);
        EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY));
    } else if (id == HELP_KEY && message == EZ_MSG_CLICK) {
        GETHELP(HELP_CONTEXT, IDH_UPDATING);
    } else if (id == WN::CLOSE_BUTTON && message == EZ_MSG_CLICK) {
        EZ_UNLOADFORM(kForm);
    }
}
