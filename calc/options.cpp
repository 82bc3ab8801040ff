#include "calc/options.h"

#include "about/about_box.h"
#include "analyses/saved_analyses.h"
#include "base/number_kinds.h"
#include "base/number_reader.h"
#include "base/text.h"
#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "calc/results.h"
#include "calc/shown_analysis.h"
#include "common/globals.h"
#include "common/help.h"
#include "common/settings.h"
#include "common/stored_text.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "stations/station_editor.h"
#include "stations/tables.h"
#include "update/check.h"

OptionFlags Options = {0, 1};

namespace {

// Only the lowest bit of the stored number, rounded, counts: 2 is off, 3 is on.
uint32_t storedFlag(const std::string& key, const std::string& fallback) {
    return static_cast<uint32_t>(TOWHOLE(READNUMBER(GETINI(IniFile, "Options", key, fallback)))) & 1u;
}

void tellStatus(const std::string& what, bool on) {
    DISPLAYMESSAGE("Status Change", what + (on ? "ON" : "OFF") + ".{f10}", "", EZ_CURRENTFORM());
}

void toggleRecall() {
    Options.Recall = !Options.Recall;
    WRITEINI(IniFile, "Options", "Recall", Options.Recall ? "1" : "0");
    SETRECALL();
    tellStatus("Storing of current client information is now ", Options.Recall);
}

void toggleAutoUpdate() {
    Options.AutoUpdate = !Options.AutoUpdate;
    WRITEINI(IniFile, "Options", "AutoUpdate", Options.AutoUpdate ? "1" : "0");
    SETAUTOUPDATE();
    tellStatus("Automatic check for program updates is now ", Options.AutoUpdate);
}

}  // namespace

void RI_MENUEVENTS(int32_t id, int32_t& message, int32_t&, int32_t&, int32_t, const std::string&) {
    if (message != EZ_MSG_CLICK) return;
    switch (id) {
    case RI::MENU_SAVE: SAVESHOWN(); break;
    case RI::MENU_OPEN:
        if (const std::optional<Analysis> analysis = CHOOSEANALYSIS("RI", TOSAVE(), SHOWNCHANGED()))
            SHOWANALYSIS(*analysis);
        break;
    case RI::MENU_STATIONS:
        if (const std::optional<StationMoves> moves = EDITSTATIONS("RI")) STATIONSEDITED(*moves);
        break;
    case RI::MENU_EXIT: EZ_UNLOADFORM("RI"); break;
    case RI::MENU_RECALL: toggleRecall(); break;
    case RI::MENU_AUTOUPDATE: toggleAutoUpdate(); break;
    case RI::MENU_CONTENTS: GETHELP(HELP_CONTENTS, 0); break;
    case RI::MENU_CHECKUPDATE:
        if (CHECKFORUPDATE(EZ_CURRENTFORM(), VersionFileUrl, ProgramVersion, 1, 1) != 0)
            EZ_UNLOADFORM("RI");
        break;
    case RI::MENU_ABOUT: EZ_AB_Display("RI"); break;
    default: break;
    }
}

void LOADPREFERENCES() {
    Options.Recall = storedFlag("Recall", "0");
    Options.AutoUpdate = storedFlag("AutoUpdate", "1");
    SETRECALL();
    SETAUTOUPDATE();
}

void SETRECALL() {
    SETMENUITEM("RI", 2, RI::MENU_RECALL, "&Remember Current Account Information", Options.Recall ? "X" : "");
}

void SETAUTOUPDATE() {
    SETMENUITEM("RI", 2, RI::MENU_AUTOUPDATE, "&Automatically Check for Program Update", Options.AutoUpdate ? "X" : "");
}

// The analysis shown goes to keys 1 to 7 (the inputs, money without "$" and ","), its ticks to 8 to
// 15 and its comments to 16.
void SAVECURRENT() {
    const Analysis a = SHOWNANALYSIS();
    const std::string inputs[] = {a.customer, a.salesRep, REMOVECHARS(a.budget, "$,"), a.roi, a.margin,
                                  REMOVECHARS(a.averageSale, "$,"), a.closingRatio};
    for (int key = 1; key <= 7; ++key) WRITEINI(IniFile, "Info", std::to_string(key), inputs[key - 1]);
    SAVETICKS();
    WRITEINI(IniFile, "Info", std::to_string(8 + kStationRows), STOREDCOMMENT(TRIMSPACES(a.comments)));
}

// The eight ticks go to keys 8 to 15, after the seven inputs.
void SAVETICKS() {
    for (int row = 1; row <= kStationRows; ++row)
        WRITEINI(IniFile, "Info", std::to_string(7 + row), std::to_string(EZ_GETCHECK("RI", RI::TICKBOX(row))));
}

void RESTORECURRENT() {
    int key = 1;
    for (int32_t id : RI::INPUTS) {
        std::string text = GETINI(IniFile, "Info", std::to_string(key++), "");
        if (id == RI::BUDGET || id == RI::AVERAGE_SALE) {
            text = MONEYNUMBER(text) > 0 ? DOLLARTEXT(text) : "";
        }
        EZ_SETTEXT("RI", id, text);
    }
    for (int row = 1; row <= kStationRows; ++row, ++key)
        EZ_SETCHECK("RI", RI::TICKBOX(row), TOWHOLE(READNUMBER(GETINI(IniFile, "Info", std::to_string(key), "0"))));
    EZ_SETTEXT("RI", RI::COMMENTS, FROMSTOREDTEXT(GETINI(IniFile, "Info", std::to_string(key), "")));
}
