// The About box "AB": layer 1 the information page, layer 2 the history read from "History.rtf",
// layer 0 the buttons and the frame that both pages share.
#include "about/about_box.h"

#include <optional>

#include "app/globals.h"
#include "gui/ezgui.h"
#include "platform/files.h"
#include "update/addresses.h"
#include "util/dates.h"

int32_t AboutPage = 1;

namespace {

const std::string kForm = "AB";

// A history file larger than this is not the program's own and is not read.
constexpr int64_t kMaxHistoryBytes = 16 << 20;

}  // namespace

void EZ_AB_Display(const std::string& parent) {
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "About", 0, 0, 52, 16.25, "CMR");
}

void EZ_AB_Design() {
    EZ_COLOR(-1, -1);
    EZ_SETLAYER(1);
    EZ_USEFONTFACE("Segoe UI", 12, "BV");
    EZ_LABEL(100, 5.25, 1.3125, 42, 1.5, "", "CI");
    EZ_USEFONT(7);
    EZ_LABEL(105, 2.75, 3.25, 46.5, 1.125, "", "C");
    EZ_USEFONT(6);
    EZ_LABEL(110, 2.75, 4.875, 46.5, 2.125, "", "C");
    EZ_LABEL(115, 2.75, 7.25, 46.5, 2.125, "", "C");
    EZ_LABEL(120, 2.75, 9.625, 46.5, 2.875, "", "C");
    EZ_SETLAYER(2);
    EZ_RICHTEXT(125, 4.25, 1.625, 43.5, 11, "STV");
    EZ_SETLAYER(0);
    EZ_BUTTON(130, 41.25, 13.375, 7.5, 1.375, "&Close", "T");
    EZ_BUTTON(135, 3.125, 13.375, 15.75, 1.375, "&View Program History", "T");
    EZ_FRAME(140, 1.75, 0.375, 48.5, 15, "", "");
    AB_HISTORY_SETTEXT("");
    EZ_SETACCESSNAME(kForm, 125, "Program history");
    EZ_SETFORMKEYS(kForm, 2);
    EZ_DISPLAYLAYER(kForm, 1);
}

void EZ_AB_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    // Escape closes the box, as "&Close" does.
    if (message == EZ_MSG_KEY && value == 27) {
        value = 0;
        EZ_UNLOADFORM(kForm);
        return;
    }
    switch (id) {
        case 0: AB_EVENTS(id, message, value, cancel); break;
        case 125: break;  // the history view answers nothing
        case 130: AB_OKBTN_CLICKED(id, message, value, cancel); break;
        case 135: AB_HISTORYBUTTON_CLICKED(id, message, value, cancel); break;
        default: AB_EVENTS(id, message, value, cancel); break;
    }
}

void AB_EVENTS(int32_t& id, int32_t& message, int32_t&, int32_t&) {
    if (id == 0 && message == EZ_MSG_STARTED) AB_INITIALIZE();
}

void AB_INITIALIZE() {
    std::string released = GETBUILDDATE();
    EZ_SETTEXT(kForm, 0, "About " + ProductName);
    EZ_SETTEXT(kForm, 100, ProductName);
    EZ_SETTEXT(kForm, 105, "Version " + ProgramVersion + " \u2014 Released " + FORMATDATE(released, 0));
    EZ_SETTEXT(kForm, 110, "Copyright \u00a9 2009\u20132026 Tarvex|All rights reserved.");
    EZ_SETTEXT(kForm, 115, "Visit our web site for other helpful programs:|" + ProductWebPage);
    EZ_SETTEXT(kForm, 120,
               "Our thanks to the sales representatives and station managers|"
               "whose questions, figures and patience helped shape|every version of " +
                   ProductName + ".");
    LOADPROGRAMHISTORY();
    AboutPage = 1;
}

void LOADPROGRAMHISTORY() {
    const std::string file = EZ_APPPATH() + "/History.rtf";
    if (!OS_FILEEXISTS(file)) return;
    std::string content = OS_READFILE(file, kMaxHistoryBytes).value_or("");
    EZ_SETRICHTEXTLEN(kForm, 125, static_cast<int32_t>(content.size()) + 1024);
    EZ_SETRICHTEXT(kForm, 125, content, 1);
}

void AB_HISTORY_SETTEXT(const std::string& text) { EZ_SETRICHTEXT(kForm, 125, text, 0); }

void AB_OKBTN_CLICKED(int32_t&, int32_t& message, int32_t&, int32_t&) {
    if (message == EZ_MSG_CLICK) EZ_UNLOADFORM(kForm);
}

void AB_HISTORYBUTTON_CLICKED(int32_t& id, int32_t& message, int32_t&, int32_t&) {
    if (message != EZ_MSG_CLICK) return;
    std::string caption;
    if (AboutPage == 1) {
        AboutPage = 2;
        caption = "&View Program Info";
    } else {
        AboutPage = 1;
        caption = "&View Program History";
    }
    EZ_DISPLAYLAYER(kForm, AboutPage);
    EZ_SETTEXT(kForm, id, caption);
}
