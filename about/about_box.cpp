// The About box "AB": layer 1 the information page, layer 2 the history read from "History.rtf",
// layer 0 the buttons and the frame that both pages share.
#include "about/about_box.h"

#include <optional>

#include "about/about_box_ids.h"
#include "common/globals.h"
#include "common/help.h"
#include "gui/ezgui.h"
#include "platform/files.h"
#include "update/addresses.h"
#include "util/dates.h"

int32_t AboutPage = AB::INFO_PAGE;

namespace {

const std::string kForm = "AB";

// A history file larger than this is not the program's own and is not read.
constexpr int64_t kMaxHistoryBytes = 16 << 20;

void LOADPROGRAMHISTORY() {
    const std::string file = EZ_APPPATH() + "/History.rtf";
    if (!OS_FILEEXISTS(file)) return;
    std::string content = OS_READFILE(file, kMaxHistoryBytes).value_or("");
    EZ_SETRICHTEXTLEN(kForm, AB::HISTORY, static_cast<int32_t>(content.size()) + 1024);
    EZ_SETRICHTEXT(kForm, AB::HISTORY, content, 1);
}

void AB_HISTORY_SETTEXT(const std::string& text) { EZ_SETRICHTEXT(kForm, AB::HISTORY, text, 0); }

void AB_INITIALIZE() {
    std::string released = GETBUILDDATE();
    EZ_SETTEXT(kForm, EZ_FORMITSELF, "About " + ProductName);
    EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY));
    EZ_SETTEXT(kForm, AB::PRODUCT, ProductName);
    EZ_SETTEXT(kForm, AB::VERSION, "Version " + ProgramVersion + " \u2014 Released " + FORMATDATE(released, 0));
    EZ_SETTEXT(kForm, AB::COPYRIGHT, "Copyright \u00a9 2009\u20132026 Tarvex|All rights reserved.");
    EZ_SETTEXT(kForm, AB::WEB_SITE, "Visit our web site for other helpful programs:|" + ProductWebPage);
    EZ_SETTEXT(kForm, AB::THANKS,
               "Our thanks to the sales representatives and station managers|"
               "whose questions, figures and patience helped shape|every version of " +
                   ProductName + ".");
    LOADPROGRAMHISTORY();
    AboutPage = AB::INFO_PAGE;
}

void AB_EVENTS(int32_t& id, int32_t& message, int32_t&, int32_t&) {
    if (id == EZ_FORMITSELF && message == EZ_MSG_STARTED) AB_INITIALIZE();
    else if (id == HELP_KEY && message == EZ_MSG_CLICK) GETHELP(HELP_CONTEXT, IDH_GETTING_STARTED);
}

void AB_OKBTN_CLICKED(int32_t&, int32_t& message, int32_t&, int32_t&) {
    if (message == EZ_MSG_CLICK) EZ_UNLOADFORM(kForm);
}

void AB_HISTORYBUTTON_CLICKED(int32_t& id, int32_t& message, int32_t&, int32_t&) {
    if (message != EZ_MSG_CLICK) return;
    AboutPage = AboutPage == AB::INFO_PAGE ? AB::HISTORY_PAGE : AB::INFO_PAGE;
    EZ_DISPLAYLAYER(kForm, AboutPage);
    EZ_SETTEXT(kForm, id, AboutPage == AB::HISTORY_PAGE ? "&View Program Info" : "&View Program History");
}

}  // namespace

void EZ_AB_Display(const std::string& parent) {
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "About", 0, 0, 52, 16.25, "CMR");
}

void EZ_AB_Design() {
    EZ_COLOR(-1, -1);
    using namespace AB;
    EZ_SETLAYER(INFO_PAGE);
    EZ_USEFONTFACE("Segoe UI", 12, "BV");
    EZ_LABEL(PRODUCT, 5.25, 1.3125, 42, 1.5, "", "CI");
    EZ_USEFONT(7);
    EZ_LABEL(VERSION, 2.75, 3.25, 46.5, 1.125, "", "C");
    EZ_USEFONT(6);
    EZ_LABEL(COPYRIGHT, 2.75, 4.875, 46.5, 2.125, "", "C");
    EZ_LABEL(WEB_SITE, 2.75, 7.25, 46.5, 2.125, "", "C");
    EZ_LABEL(THANKS, 2.75, 9.625, 46.5, 2.875, "", "C");
    EZ_SETLAYER(HISTORY_PAGE);
    EZ_RICHTEXT(HISTORY, 4.25, 1.625, 43.5, 11, "STV");
    EZ_SETLAYER(0);
    EZ_BUTTON(CLOSE_BUTTON, 41.25, 13.375, 7.5, 1.375, "&Close", "T");
    EZ_BUTTON(HISTORY_BUTTON, 3.125, 13.375, 15.75, 1.375, "&View Program History", "T");
    EZ_FRAME(FRAME, 1.75, 0.375, 48.5, 15, "", "");
    AB_HISTORY_SETTEXT("");
    EZ_SETACCESSNAME(kForm, HISTORY, "Program history");
    EZ_SETFORMKEYS(kForm, 2);
    EZ_DISPLAYLAYER(kForm, INFO_PAGE);
}

void EZ_AB_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    // Escape closes the box, as "&Close" does.
    if (message == EZ_MSG_KEY && value == EZ_KEY_ESCAPE) {
        value = EZ_KEY_NONE;
        EZ_UNLOADFORM(kForm);
        return;
    }
    switch (id) {
        case EZ_FORMITSELF: AB_EVENTS(id, message, value, cancel); break;
        case AB::HISTORY: break;  // the history view answers nothing
        case AB::CLOSE_BUTTON: AB_OKBTN_CLICKED(id, message, value, cancel); break;
        case AB::HISTORY_BUTTON: AB_HISTORYBUTTON_CLICKED(id, message, value, cancel); break;
        default: AB_EVENTS(id, message, value, cancel); break;
    }
}
