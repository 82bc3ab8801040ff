// The calculator window "RI": its menu, controls, initialisation and event handling.
#include "calc/calculator_form.h"

#include "app/globals.h"
#include "app/help.h"
#include "calc/calculate.h"
#include "calc/options.h"
#include "calc/print_analysis.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "update/check.h"
#include "update/installation.h"

namespace {

const std::string kForm = "RI";

enum class Kind { Label, Text, Check, Button, Frame };

struct ControlSpec {
    int32_t id;
    Kind kind;
    double col, row, width, height;
    const char* text;
    const char* props;
    bool result;  // drawn black on colour 26
};

// Every control in creation order, which is also the order of the Tab key and of a screen
// reader: the inputs, the results, the stations, the comments, then the buttons as they stand.
// clang-format off
constexpr ControlSpec kControls[] = {
    {100, Kind::Label, 12.75, 0.5, 7.5, 0.9375, "Customer:", "", false},
    {105, Kind::Label, 8.25, 1.75, 12, 0.9375, "Salesrep/Station:", "", false},
    {110, Kind::Label, 3.25, 4.1875, 17, 0.9375, "Advertising Investment:", "", false},
    {115, Kind::Label, 4.5, 5.4375, 15.75, 0.9375, "Return on Investment:", "", false},
    {120, Kind::Label, 10.75, 6.6875, 9.625, 0.9375, "Profit Margin:", "", false},
    {125, Kind::Label, 10.75, 7.9375, 9.625, 0.9375, "Average Sale:", "", false},
    {130, Kind::Label, 11, 9.1875, 9.375, 0.9375, "Closing Ratio:", "", false},
    {135, Kind::Text, 21, 0.375, 26.5, 1.125, "", "EST", false},
    {140, Kind::Text, 21, 1.625, 26.5, 1.125, "", "EST", false},
    {145, Kind::Text, 21, 4.125, 10.5, 1.125, "", ">EST", false},
    {150, Kind::Text, 21, 5.375, 10.5, 1.125, "", ">EST", false},
    {155, Kind::Text, 21, 6.625, 10.5, 1.125, "", ">EST", false},
    {160, Kind::Text, 21, 7.875, 10.5, 1.125, "", ">EST", false},
    {165, Kind::Text, 21, 9.125, 10.5, 1.125, "", ">EST", false},
    {170, Kind::Label, 33.5, 4.1875, 30.5, 0.9375, "Total advertising investment for the schedule", "L", false},
    {175, Kind::Label, 33.5, 5.4375, 28.75, 0.9375, "(Wall Street average 7%, bank CD's 1-2%)", "L", false},
    {180, Kind::Label, 33.5, 6.6875, 33.5, 0.9375, "(Wholesale cost: $25, Sale price $50 = 50% margin)", "L", false},
    {185, Kind::Label, 33.5, 7.9375, 29, 0.9375, "(Average sale/ticket of product or service)", "L", false},
    {190, Kind::Label, 31, 9.1875, 1.875, 0.9375, "%", "", false},
    {340, Kind::Label, 31, 5.4375, 1.875, 0.9375, "%", "", false},
    {335, Kind::Label, 31, 6.6875, 1.875, 0.9375, "%", "", false},
    {195, Kind::Label, 2.5, 11.6875, 17.875, 0.9375, "Net Return on Investment:", "", false},
    {200, Kind::Label, 1.25, 12.9375, 19.125, 0.9375, "Gross Return on Investment:", "", false},
    {205, Kind::Label, 3.5, 14.1875, 16.75, 0.9375, "Number of Sales Needed:", "", false},
    {210, Kind::Label, 3, 15.4375, 17.375, 0.9375, "Total Responses Needed:", "", false},
    {345, Kind::Text, 21, 11.625, 10.5, 1.125, "", ">S", true},
    {350, Kind::Text, 21, 12.875, 10.5, 1.125, "", ">S", true},
    {355, Kind::Text, 21, 14.125, 10.5, 1.125, "", ">S", true},
    {215, Kind::Text, 21, 15.375, 10.5, 1.125, "", ">S", true},
    {220, Kind::Label, 33.5, 12.9375, 31, 0.9375, "Total real dollars schedule must return to client", "L", false},
    {225, Kind::Check, 12.25, 18.5, 10.875, 1.125, "", "T", false},
    {230, Kind::Label, 23.875, 18.5, 7.125, 1.125, "", "AFL", true},
    {235, Kind::Check, 12.25, 19.75, 10.875, 1.125, "", "T", false},
    {240, Kind::Label, 23.875, 19.75, 7.125, 1.125, "", "AFL", true},
    {245, Kind::Check, 12.25, 21, 10.875, 1.125, "", "T", false},
    {250, Kind::Label, 23.875, 21, 7.125, 1.125, "", "AFL", true},
    {255, Kind::Check, 12.25, 22.25, 10.875, 1.125, "", "T", false},
    {260, Kind::Label, 23.875, 22.25, 7.125, 1.125, "", "AFL", true},
    {265, Kind::Check, 36.625, 18.5, 10.875, 1.125, "", "T", false},
    {270, Kind::Label, 47.875, 18.5, 7.125, 1.125, "", "AFL", true},
    {275, Kind::Check, 36.625, 19.75, 10.875, 1.125, "", "T", false},
    {280, Kind::Label, 47.875, 19.75, 7.125, 1.125, "", "AFL", true},
    {285, Kind::Check, 36.625, 21, 10.875, 1.125, "", "T", false},
    {290, Kind::Label, 47.875, 21, 7.125, 1.125, "", "AFL", true},
    {295, Kind::Check, 36.625, 22.25, 10.875, 1.125, "", "T", false},
    {300, Kind::Label, 47.875, 22.25, 7.125, 1.125, "", "AFL", true},
    {305, Kind::Label, 2.5, 24.5625, 8.25, 0.9375, "Comments:", "", false},
    {310, Kind::Text, 2.875, 25.625, 61.5, 3.1875, "", "EMSTV", false},
    {325, Kind::Button, 2.75, 29.375, 7.125, 1.5, "Help", "T", false},
    {330, Kind::Button, 11.5, 29.375, 7.125, 1.5, "&Clear", "T", false},
    {315, Kind::Button, 48.5, 29.375, 7.125, 1.5, "Print", "T", false},
    {320, Kind::Button, 57.25, 29.375, 7.125, 1.5, "Exit", "T", false},
    {360, Kind::Frame, 10.25, 17.125, 46.75, 7, "Percent of Station's Audience Needed to Respond:", "", false},
};
// clang-format on

void createControl(const ControlSpec& c) {
    if (c.result)
        EZ_COLOR(0, 26);
    else
        EZ_COLOR(-1, -1);
    switch (c.kind) {
        case Kind::Label: EZ_LABEL(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Text: EZ_TEXT(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Check: EZ_CHECKBOX(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Button: EZ_BUTTON(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Frame: EZ_FRAME(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
    }
}

bool isShareLabel(int32_t id) { return id >= 230 && id <= 300 && id % 10 == 0; }
bool isTickBox(int32_t id) { return id >= 225 && id <= 295 && id % 10 == 5; }
bool isMenuItem(int32_t id) { return id >= 9000 && id <= 9225 && id % 5 == 0; }
bool isSeparator(int32_t id) { return id == 9010 || id == 9210 || id == 9220; }

// The menu number each item hangs from: 0 for the bar, 1 to 3 for the drop-downs.
int32_t menuNumberOf(int32_t id) {
    if (id % 100 == 0) return 0;
    return (id - 9000) / 100 + 1;
}

// Each input and result box is announced by its caption, a percent field with its "%", and an
// input by the hint beside it; a tick box by its own caption, the station's name; a share label
// by its station (set with the station rows).
void nameControlsForScreenReaders() {
    const int32_t captioned[][2] = {{100, 135}, {105, 140}, {110, 145}, {115, 150}, {120, 155}, {125, 160},
                                    {130, 165}, {195, 345}, {200, 350}, {205, 355}, {210, 215}, {305, 310}};
    for (const auto& [label, box] : captioned) {
        const bool percent = box == 150 || box == 155 || box == 165;
        EZ_SETACCESSNAME(kForm, box, EZ_GETTEXT(kForm, label) + (percent ? " %" : ""));
    }
    const int32_t hinted[][2] = {{170, 145}, {175, 150}, {180, 155}, {185, 160}};
    for (const auto& [hint, box] : hinted) EZ_SETACCESSDESCRIPTION(kForm, box, EZ_GETTEXT(kForm, hint));
}

const std::string kNotice = " Copyright \u00a9 Tarvex. All rights reserved.";

// Part 1 of the status bar: the rights notice, or what stops the page's figures from being
// computed; and what it shows now, so that a keystroke rewrites it only when it changes.
std::string statusNotice = kNotice;
std::string shownNotice;

void setStatusNotice(const std::string& notice) {
    if (shownNotice == notice) return;
    shownNotice = notice;
    EZ_SETSBTEXT(kForm, 370, 1, notice);
}

// While a row's tick box has the focus, the status bar tells its "1 response from every" figure,
// which the mouse finds in the share label's tooltip.
void showRowFigure(int32_t tickBox) {
    int32_t share = tickBox + 5;
    const std::string figure = SHOWCUME(share);
    const std::string station = EZ_GETTEXT(kForm, tickBox);
    setStatusNotice(figure.empty() ? statusNotice : " " + station + ": " + figure);
}

// The help topic of each place on the calculator that has one: the window itself, the results
// and the status bar, the station rows, "Print"; 0 for the rest.
int32_t topicOf(int32_t id) {
    if (id == 0) return 100;
    if (id == 345 || id == 350 || id == 355 || id == 370) return 105;
    if (isTickBox(id) || isShareLabel(id)) return 145;
    if (id == 315) return 130;
    return 0;
}

// The topic of the place under the pointer, for F1.
int32_t pointerTopic = 100;

// "&Clear" empties the inputs and ticks after asking; comments and stations stay.
void clearForm() {
    int32_t answer = ASKUSER("Clear This Form?", "Remove all information on this form?{f7}",
                             "Are you SURE?{f10}", "", "*{G,f7}|&Yes|&No", 2);
    if (answer != 1) return;
    for (int32_t id = 135; id <= 165; id += 5) EZ_SETTEXT(kForm, id, "");
    for (int32_t id = 225; id <= 295; id += 10) EZ_SETCHECK(kForm, id, 0);
    CHECKPRINT();
}

// The seven inputs: recalculate on every change, mark the field with the focus,
// re-format money and percent figures on leaving, Enter moves on, Escape is dropped.
void fieldEvents(int32_t& id, int32_t& message, int32_t& value) {
    switch (message) {
        case 6: CHECKPRINT(); break;
        case 3: EZ_SETCOLOR(kForm, id, 0, 25); break;
        case 4:
            EZ_SETCOLOR(kForm, id, -1, -1);
            if (id == 145 || id == 160)
                DOLLARFORMAT(kForm, id);
            else if (id == 150 || id == 155 || id == 165)
                PCTFORMAT(kForm, id);
            break;
        case 30:
            if (value == 27) {
                value = 0;
            } else if (value == 13 && id == 165) {
                // From the last input Enter goes on to the comments, past the station rows.
                value = 0;
                EZ_FOCUS(kForm, 310);
            } else if (value == 13) {
                value = 9;
            }
            break;
        default: break;
    }
}

}  // namespace

void EZ_RI_Display(const std::string& parent) {
    EZ_DEFMAINMENU(9000, "&Tarvex");
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "Return On Investment Calculator", 0, 0, 67.75, 33, "_C");
}

void EZ_RI_Design() {
    int32_t bar = EZ_GETMENU(kForm);
    EZ_ADDMENUITEM(bar, 9100, "&Options", "");
    EZ_ADDMENUITEM(bar, 9200, "&Help", "");
    int32_t tarvex = EZ_DEFSUBMENU(9005, "&Stations");
    EZ_ADDMENUITEM(tarvex, 9010, "-", "");
    EZ_ADDMENUITEM(tarvex, 9015, "E&xit", "");
    EZ_SAVEMENU(kForm, 1, tarvex);
    EZ_SETSUBMENU(bar, 9000, tarvex);
    int32_t options = EZ_DEFSUBMENU(9105, "&Remember Current Account Information");
    EZ_ADDMENUITEM(options, 9110, "&Automatically Check for Program Update", "");
    EZ_SAVEMENU(kForm, 2, options);
    EZ_SETSUBMENU(bar, 9100, options);
    int32_t help = EZ_DEFSUBMENU(9205, "Help &Contents");
    EZ_ADDMENUITEM(help, 9210, "-", "");
    EZ_ADDMENUITEM(help, 9215, "Check for Program &Update", "");
    EZ_ADDMENUITEM(help, 9220, "-", "");
    EZ_ADDMENUITEM(help, 9225, "&About...", "");
    EZ_SAVEMENU(kForm, 3, help);
    EZ_SETSUBMENU(bar, 9200, help);

    EZ_USEFONT(6);
    for (const ControlSpec& control : kControls) createControl(control);
    for (int32_t id = 230; id <= 300; id += 10) EZ_ADDTOOLTIP(kForm, id);
    nameControlsForScreenReaders();
    EZ_COLOR(-1, -1);
    EZ_USEFONT(4);
    EZ_ALLOWLOADINGEVENT(2);
    EZ_STATUSBAR(370, "", "");
    EZ_ALLOWLOADINGEVENT(0);
}

void EZ_RI_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    // The pointer over a place with a topic chooses what "Help" and F1 open.
    if (message == EZ_MSG_CURSOR) {
        pointerTopic = topicOf(id);
        if (id != 0 && pointerTopic != 0) {
            HelpTopic = pointerTopic;
            cancel = 1;
            return;
        }
    }
    if (id == 0) {
        RI_Events(id, message, value, cancel);
    } else if (isSeparator(id)) {
        return;
    } else if (isMenuItem(id)) {
        int32_t menu = EZ_GETMENU(kForm, menuNumberOf(id));
        RI_MENUEVENTS(id, message, value, cancel, menu, "");
    } else if (id >= 135 && id <= 165 && id % 5 == 0) {
        fieldEvents(id, message, value);
    } else if (isTickBox(id)) {
        if (message == 1)
            CHECKPRINT();
        else if (message == 3)
            showRowFigure(id);
        else if (message == 4)
            setStatusNotice(statusNotice);
    } else if (isShareLabel(id)) {
        if (message == 8) {
            EZ_SETTOOLTIP(kForm, id, "");
            EZ_SETTOOLTIP(kForm, id, SHOWCUME(id));
        }
    } else if (id == 310) {
        if (message == 6) CHECKPRINT();
    } else if (id == 315) {
        if (message == 1) PRINTROUTINE();
    } else if (id == 320) {
        if (message == 1) EZ_UNLOADFORM(kForm);
    } else if (id == 325) {
        if (message == 1) GETHELP(15, HelpTopic);
    } else if (id == 330) {
        if (message == 1) clearForm();
    } else if (id == 345 || id == 350 || id == 355) {
        return;
    } else if (id == 370) {
        if (message == 85) EZ_USEFONT(6);
    } else if (id != 215) {
        RI_Events(id, message, value, cancel);
    }
}

void RI_Events(int32_t& id, int32_t& message, int32_t&, int32_t&) {
    // F1 opens the topic of the place under the pointer, else that of the control with the focus.
    if (id == 911) {
        if (message == 1) GETHELP(15, pointerTopic != 0 ? pointerTopic : topicOf(EZ_GETFOCUS(kForm)));
        return;
    }
    if (id != 0) return;
    switch (message) {
        case 130:
            HelpTopic = 100;
            EZ_SETCURSOR("", 0);
            break;
        case 87: INITIALIZE_RI(); break;
        case 86:
            if (Options.AutoUpdate && UPDATENOW() != 0 &&
                CHECKFORUPDATE(EZ_CURRENTFORM(), VersionFileUrl, ProgramVersion, 0, 0) !=
                    0) {
                EZ_UNLOADFORM(kForm);
                return;
            }
            ISUPDATED();
            break;
        case 0:
            if (Options.Recall) SAVECURRENT();
            DOUPDATE();
            break;
        default: break;
    }
}

void INITIALIZE_RI() {
    EZ_SETFORMICON(kForm, ProgramIcon);
    EZ_SETTEXT(kForm, 0, "Tarvex");
    EZ_SETSBPARTS(kForm, 370, "70|30");
    statusNotice = kNotice;
    shownNotice.clear();
    setStatusNotice(kNotice);
    EZ_SETSBTEXT(kForm, 370, 2, "\tVersion: " + ProgramVersion);
    LOADPREFERENCES();
    LOADSTATIONS();
    SHOWSTATIONS();
    if (Options.Recall) RESTORECURRENT();
    CHECKPRINT();
    EZ_DEFACCEL(kForm, "F1," + std::to_string(911));
}

// "Print" is allowed once all seven inputs hold something, a station is ticked and every figure
// of the page can be computed; the status bar says which input stops a figure.
void CHECKPRINT() {
    bool allowed = true;
    for (int32_t id = 135; id <= 165; id += 5) {
        std::string text = EZ_GETTEXT(kForm, id);
        if (text.find_first_not_of(' ') == std::string::npos) {
            allowed = false;
            break;
        }
    }
    // Only a tick on a row that still has a station counts: one whose station was removed or whose
    // cume is 0 keeps its stored tick, but it is not printed.
    if (allowed) {
        allowed = false;
        for (int row = 1; row <= kStationRows; ++row) {
            if (STATIONSHOWN(row) && EZ_GETCHECK(kForm, 225 + 10 * (row - 1)) != 0) {
                allowed = true;
                break;
            }
        }
    }
    const std::string stop = CALCULATE();
    if (allowed && stop.empty())
        EZ_ENABLEC(kForm, 315);
    else
        EZ_DISABLEC(kForm, 315);
    statusNotice = stop.empty() ? kNotice : " " + stop;
    const int32_t focused = EZ_GETFOCUS(kForm);
    if (isTickBox(focused))
        showRowFigure(focused);
    else
        setStatusNotice(statusNotice);
}
