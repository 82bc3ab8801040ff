// The calculator window "RI": its menu, controls, initialisation and event handling.
#include "calc/calculator_form.h"

#include <algorithm>
#include <array>

#include "analyses/saving.h"
#include "base/text.h"
#include "calc/calculate.h"
#include "calc/calculator_ids.h"
#include "calc/shown_analysis.h"
#include "calc/options.h"
#include "calc/print_analysis.h"
#include "calc/results.h"
#include "calc/status_notice.h"
#include "common/globals.h"
#include "common/help.h"
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
    {RI::CUSTOMER_CAPTION, Kind::Label, 12.75, 0.5, 7.5, 0.9375, "Customer:", "", false},
    {RI::SALESREP_CAPTION, Kind::Label, 8.25, 1.75, 12, 0.9375, "Salesrep/Station:", "", false},
    {RI::BUDGET_CAPTION, Kind::Label, 3.25, 4.1875, 17, 0.9375, "Advertising Investment:", "", false},
    {RI::ROI_CAPTION, Kind::Label, 4.5, 5.4375, 15.75, 0.9375, "Return on Investment:", "", false},
    {RI::MARGIN_CAPTION, Kind::Label, 10.75, 6.6875, 9.625, 0.9375, "Profit Margin:", "", false},
    {RI::AVERAGE_SALE_CAPTION, Kind::Label, 10.75, 7.9375, 9.625, 0.9375, "Average Sale:", "", false},
    {RI::CLOSING_RATIO_CAPTION, Kind::Label, 11, 9.1875, 9.375, 0.9375, "Closing Ratio:", "", false},
    {RI::CUSTOMER, Kind::Text, 21, 0.375, 26.5, 1.125, "", "EST", false},
    {RI::SALESREP, Kind::Text, 21, 1.625, 26.5, 1.125, "", "EST", false},
    {RI::BUDGET, Kind::Text, 21, 4.125, 10.5, 1.125, "", ">EST", false},
    {RI::ROI, Kind::Text, 21, 5.375, 10.5, 1.125, "", ">EST", false},
    {RI::MARGIN, Kind::Text, 21, 6.625, 10.5, 1.125, "", ">EST", false},
    {RI::AVERAGE_SALE, Kind::Text, 21, 7.875, 10.5, 1.125, "", ">EST", false},
    {RI::CLOSING_RATIO, Kind::Text, 21, 9.125, 10.5, 1.125, "", ">EST", false},
    {RI::BUDGET_HINT, Kind::Label, 33.5, 4.1875, 30.5, 0.9375, "Total advertising investment for the schedule", "L", false},
    {RI::ROI_HINT, Kind::Label, 33.5, 5.4375, 28.75, 0.9375, "(Wall Street average 7%, bank CD's 1-2%)", "L", false},
    {RI::MARGIN_HINT, Kind::Label, 33.5, 6.6875, 33.5, 0.9375, "(Wholesale cost: $25, Sale price $50 = 50% margin)", "L", false},
    {RI::AVERAGE_SALE_HINT, Kind::Label, 33.5, 7.9375, 29, 0.9375, "(Average sale/ticket of product or service)", "L", false},
    {RI::CLOSING_RATIO_PERCENT, Kind::Label, 31, 9.1875, 1.875, 0.9375, "%", "", false},
    {RI::ROI_PERCENT, Kind::Label, 31, 5.4375, 1.875, 0.9375, "%", "", false},
    {RI::MARGIN_PERCENT, Kind::Label, 31, 6.6875, 1.875, 0.9375, "%", "", false},
    {RI::NET_RETURN_CAPTION, Kind::Label, 2.5, 11.6875, 17.875, 0.9375, "Net Return on Investment:", "", false},
    {RI::GROSS_RETURN_CAPTION, Kind::Label, 1.25, 12.9375, 19.125, 0.9375, "Gross Return on Investment:", "", false},
    {RI::SALES_CAPTION, Kind::Label, 3.5, 14.1875, 16.75, 0.9375, "Number of Sales Needed:", "", false},
    {RI::RESPONSES_CAPTION, Kind::Label, 3, 15.4375, 17.375, 0.9375, "Total Responses Needed:", "", false},
    {RI::NET_RETURN, Kind::Text, 21, 11.625, 10.5, 1.125, "", ">S", true},
    {RI::GROSS_RETURN, Kind::Text, 21, 12.875, 10.5, 1.125, "", ">S", true},
    {RI::SALES, Kind::Text, 21, 14.125, 10.5, 1.125, "", ">S", true},
    {RI::RESPONSES, Kind::Text, 21, 15.375, 10.5, 1.125, "", ">S", true},
    {RI::GROSS_RETURN_HINT, Kind::Label, 33.5, 12.9375, 31, 0.9375, "Total real dollars schedule must return to client", "L", false},
    {RI::TICKBOX(1), Kind::Check, 12.25, 18.5, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(1), Kind::Label, 23.875, 18.5, 7.125, 1.125, "", "AFL", true},
    {RI::TICKBOX(2), Kind::Check, 12.25, 19.75, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(2), Kind::Label, 23.875, 19.75, 7.125, 1.125, "", "AFL", true},
    {RI::TICKBOX(3), Kind::Check, 12.25, 21, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(3), Kind::Label, 23.875, 21, 7.125, 1.125, "", "AFL", true},
    {RI::TICKBOX(4), Kind::Check, 12.25, 22.25, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(4), Kind::Label, 23.875, 22.25, 7.125, 1.125, "", "AFL", true},
    {RI::TICKBOX(5), Kind::Check, 36.625, 18.5, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(5), Kind::Label, 47.875, 18.5, 7.125, 1.125, "", "AFL", true},
    {RI::TICKBOX(6), Kind::Check, 36.625, 19.75, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(6), Kind::Label, 47.875, 19.75, 7.125, 1.125, "", "AFL", true},
    {RI::TICKBOX(7), Kind::Check, 36.625, 21, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(7), Kind::Label, 47.875, 21, 7.125, 1.125, "", "AFL", true},
    {RI::TICKBOX(8), Kind::Check, 36.625, 22.25, 10.875, 1.125, "", "T", false},
    {RI::SHARELABEL(8), Kind::Label, 47.875, 22.25, 7.125, 1.125, "", "AFL", true},
    {RI::COMMENTS_CAPTION, Kind::Label, 2.5, 24.5625, 8.25, 0.9375, "Comments:", "", false},
    {RI::COMMENTS, Kind::Text, 2.875, 25.625, 61.5, 3.1875, "", "EMSTV", false},
    {RI::HELP_BUTTON, Kind::Button, 2.75, 29.375, 7.125, 1.5, "Help", "T", false},
    {RI::CLEAR_BUTTON, Kind::Button, 11.5, 29.375, 7.125, 1.5, "&Clear", "T", false},
    {RI::PRINT_BUTTON, Kind::Button, 48.5, 29.375, 7.125, 1.5, "Print", "T", false},
    {RI::EXIT_BUTTON, Kind::Button, 57.25, 29.375, 7.125, 1.5, "Exit", "T", false},
    {RI::STATIONS_FRAME, Kind::Frame, 10.25, 17.125, 46.75, 7, "Percent of Station's Audience Needed to Respond:", "", false},
};
// clang-format on

void createControl(const ControlSpec& c) {
    EZ_COLOR(c.result ? 0 : -1, c.result ? 26 : -1);
    switch (c.kind) {
        case Kind::Label: EZ_LABEL(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Text: EZ_TEXT(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Check: EZ_CHECKBOX(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Button: EZ_BUTTON(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
        case Kind::Frame: EZ_FRAME(c.id, c.col, c.row, c.width, c.height, c.text, c.props); break;
    }
}

bool isShareLabel(int32_t id) { return RI::STATIONROW(id) != 0 && id == RI::SHARELABEL(RI::STATIONROW(id)); }
bool isTickBox(int32_t id) { return RI::STATIONROW(id) != 0 && id == RI::TICKBOX(RI::STATIONROW(id)); }
bool isInput(int32_t id) { return std::ranges::find(RI::INPUTS, id) != std::end(RI::INPUTS); }
bool isMenuItem(int32_t id) { return id >= RI::MENU_TARVEX && id <= RI::MENU_ABOUT && id % 5 == 0; }
bool isSeparator(int32_t id) { return std::ranges::find(RI::MENU_SEPARATORS, id) != std::end(RI::MENU_SEPARATORS); }

// The menu number each item hangs from: 0 for the bar, 1 to 3 for the drop-downs.
int32_t menuNumberOf(int32_t id) {
    if (id % 100 == 0) return 0;
    return (id - RI::MENU_TARVEX) / 100 + 1;
}

// Each input and result box is announced by its caption, a percent field with its "%", and an
// input by the hint beside it; a tick box by its own caption, the station's name; a share label
// by its station (set with the station rows).
void nameControlsForScreenReaders() {
    using namespace RI;
    const int32_t captioned[][2] = {
        {CUSTOMER_CAPTION, CUSTOMER},         {SALESREP_CAPTION, SALESREP},
        {BUDGET_CAPTION, BUDGET},             {ROI_CAPTION, ROI},
        {MARGIN_CAPTION, MARGIN},             {AVERAGE_SALE_CAPTION, AVERAGE_SALE},
        {CLOSING_RATIO_CAPTION, CLOSING_RATIO}, {NET_RETURN_CAPTION, NET_RETURN},
        {GROSS_RETURN_CAPTION, GROSS_RETURN}, {SALES_CAPTION, SALES},
        {RESPONSES_CAPTION, RESPONSES},       {COMMENTS_CAPTION, COMMENTS}};
    for (const auto& [label, box] : captioned) {
        const bool percent = box == ROI || box == MARGIN || box == CLOSING_RATIO;
        EZ_SETACCESSNAME(kForm, box, EZ_GETTEXT(kForm, label) + (percent ? " %" : ""));
    }
    const int32_t hinted[][2] = {
        {BUDGET_HINT, BUDGET}, {ROI_HINT, ROI}, {MARGIN_HINT, MARGIN}, {AVERAGE_SALE_HINT, AVERAGE_SALE}};
    for (const auto& [hint, box] : hinted) EZ_SETACCESSDESCRIPTION(kForm, box, EZ_GETTEXT(kForm, hint));
}

const std::string kNotice = "Copyright \u00a9 Tarvex. All rights reserved.";

// While a row's tick box has the focus, the status bar tells its "1 response from every" figure,
// which the mouse finds in the share label's tooltip.
void showRowFigure(int32_t tickBox) {
    int32_t share = RI::SHARELABEL(RI::STATIONROW(tickBox));
    const std::string figure = SHOWCUME(share);
    if (figure.empty())
        NOTICEBLURRED(tickBox);
    else
        PASSINGNOTICE(EZ_GETTEXT(kForm, tickBox) + ": " + figure, NoticeLasts::WHILEFOCUSED, tickBox);
}

bool isMoneyField(int32_t id) { return id == RI::BUDGET || id == RI::AVERAGE_SALE; }
bool isPercentField(int32_t id) { return id == RI::ROI || id == RI::MARGIN || id == RI::CLOSING_RATIO; }

// Tells what the reader ignored of the figure typed into a money or percent field.
void showIgnored(int32_t id) {
    if (!isMoneyField(id) && !isPercentField(id)) return;
    const std::string ignored = IGNOREDNOTICE(EZ_GETTEXT(kForm, id), isMoneyField(id));
    if (!ignored.empty()) PASSINGNOTICE(ignored, NoticeLasts::UNTILFIELDCHANGES, id);
}

// Set while a field is re-written on leaving it: that is no edit of the user's.
bool reformatting = false;

// The help topic of every place on the calculator: each input with its caption, hint and "%",
// the results with theirs and the status bar, the station rows, the comments, the buttons; the
// window itself and anything else have the overview.
int32_t topicOf(int32_t id) {
    using namespace RI;
    const std::pair<int32_t, int32_t> places[] = {
        {CUSTOMER_CAPTION, IDH_INPUTS}, {SALESREP_CAPTION, IDH_INPUTS}, {BUDGET_CAPTION, IDH_INPUTS},
        {ROI_CAPTION, IDH_INPUTS}, {MARGIN_CAPTION, IDH_INPUTS}, {AVERAGE_SALE_CAPTION, IDH_INPUTS},
        {CLOSING_RATIO_CAPTION, IDH_INPUTS}, {BUDGET_HINT, IDH_INPUTS}, {ROI_HINT, IDH_INPUTS},
        {MARGIN_HINT, IDH_INPUTS}, {AVERAGE_SALE_HINT, IDH_INPUTS}, {CLOSING_RATIO_PERCENT, IDH_INPUTS},
        {ROI_PERCENT, IDH_INPUTS}, {MARGIN_PERCENT, IDH_INPUTS}, {NET_RETURN, IDH_RESULTS},
        {GROSS_RETURN, IDH_RESULTS}, {SALES, IDH_RESULTS}, {RESPONSES, IDH_RESULTS},
        {NET_RETURN_CAPTION, IDH_RESULTS}, {GROSS_RETURN_CAPTION, IDH_RESULTS}, {SALES_CAPTION, IDH_RESULTS},
        {RESPONSES_CAPTION, IDH_RESULTS}, {GROSS_RETURN_HINT, IDH_RESULTS}, {STATUS_BAR, IDH_RESULTS},
        {STATIONS_FRAME, IDH_STATION_ROWS}, {COMMENTS_CAPTION, IDH_COMMENTS}, {COMMENTS, IDH_COMMENTS},
        {PRINT_BUTTON, IDH_PRINTING}, {HELP_BUTTON, IDH_BUTTONS}, {CLEAR_BUTTON, IDH_BUTTONS},
        {EXIT_BUTTON, IDH_BUTTONS}};
    if (isInput(id)) return IDH_INPUTS;
    if (STATIONROW(id) != 0) return IDH_STATION_ROWS;
    for (const auto& [place, topic] : places)
        if (place == id) return topic;
    return IDH_CALCULATOR;
}

// "&Clear" empties the inputs, the comments and the ticks after asking; the stations stay.
void clearForm() {
    int32_t answer = ASKUSER("Clear This Form?", "Remove all information on this form?{f7}",
                             "Are you SURE?{f10}", "", "*{G,f7}|&Yes|&No", 2);
    if (answer == 1) SHOWANALYSIS({});
}

// The seven inputs: recalculate on every change, mark the field with the focus,
// re-format money and percent figures on leaving, Enter moves on, Escape is dropped. What the
// reader ignored of a typed figure stays in the status bar until the field is typed into again.
void fieldEvents(int32_t& id, int32_t& message, int32_t& value) {
    switch (message) {
        case EZ_MSG_CHANGE:
            if (!reformatting) NOTICECHANGED(id);
            CHECKPRINT();
            // While typing, a figure begun with a sign or a point is not misread yet.
            if (!reformatting && EZ_GETTEXT(kForm, id).find_first_of("0123456789") != std::string::npos)
                showIgnored(id);
            break;
        case EZ_MSG_FOCUS: EZ_SETCOLOR(kForm, id, 0, 25); break;
        case EZ_MSG_BLUR:
            EZ_SETCOLOR(kForm, id, -1, -1);
            showIgnored(id);
            reformatting = true;
            if (isMoneyField(id))
                DOLLARFORMAT(kForm, id);
            else if (isPercentField(id))
                PCTFORMAT(kForm, id);
            reformatting = false;
            break;
        case EZ_MSG_KEY:
            if (value == EZ_KEY_ESCAPE) {
                value = EZ_KEY_NONE;
            } else if (value == EZ_KEY_ENTER && id == RI::CLOSING_RATIO) {
                // From the last input Enter goes on to the comments, past the station rows.
                value = EZ_KEY_NONE;
                EZ_FOCUS(kForm, RI::COMMENTS);
            } else if (value == EZ_KEY_ENTER) {
                value = EZ_KEY_TAB;
            }
            break;
        default: break;
    }
}

}  // namespace

void EZ_RI_Display(const std::string& parent) {
    EZ_DEFMAINMENU(RI::MENU_TARVEX, "&Tarvex");
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "Return On Investment Calculator", 0, 0, 67.75, 33, "_C");
}

void EZ_RI_Design() {
    int32_t bar = EZ_GETMENU(kForm);
    using namespace RI;
    EZ_ADDMENUITEM(bar, MENU_OPTIONS, "&Options", "");
    EZ_ADDMENUITEM(bar, MENU_HELP, "&Help", "");
    int32_t tarvex = EZ_DEFSUBMENU(MENU_SAVE, "Save &Analysis\tCtrl+S");
    EZ_ADDMENUITEM(tarvex, MENU_OPEN, "&Open Analysis...\tCtrl+O", "");
    EZ_ADDMENUITEM(tarvex, MENU_STATIONS, "&Stations", "");
    EZ_ADDMENUITEM(tarvex, MENU_SEPARATORS[0], "-", "");
    EZ_ADDMENUITEM(tarvex, MENU_EXIT, "E&xit", "");
    EZ_SAVEMENU(kForm, 1, tarvex);
    EZ_SETSUBMENU(bar, MENU_TARVEX, tarvex);
    int32_t options = EZ_DEFSUBMENU(MENU_RECALL, "&Remember Current Account Information");
    EZ_ADDMENUITEM(options, MENU_AUTOUPDATE, "&Automatically Check for Program Update", "");
    EZ_SAVEMENU(kForm, 2, options);
    EZ_SETSUBMENU(bar, MENU_OPTIONS, options);
    int32_t help = EZ_DEFSUBMENU(MENU_CONTENTS, "Help &Contents");
    EZ_ADDMENUITEM(help, MENU_SEPARATORS[1], "-", "");
    EZ_ADDMENUITEM(help, MENU_CHECKUPDATE, "Check for Program &Update", "");
    EZ_ADDMENUITEM(help, MENU_SEPARATORS[2], "-", "");
    EZ_ADDMENUITEM(help, MENU_ABOUT, "&About...", "");
    EZ_SAVEMENU(kForm, 3, help);
    EZ_SETSUBMENU(bar, MENU_HELP, help);

    EZ_USEFONT(6);
    for (const ControlSpec& control : kControls) createControl(control);
    for (int row = 1; row <= kStationRows; ++row) EZ_ADDTOOLTIP(kForm, SHARELABEL(row));
    nameControlsForScreenReaders();
    EZ_COLOR(-1, -1);
    EZ_USEFONT(4);
    EZ_ALLOWLOADINGEVENT(2);
    EZ_STATUSBAR(STATUS_BAR, "");
    EZ_ALLOWLOADINGEVENT(0);
}

void EZ_RI_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    // The control under the pointer chooses the topic F1 opens.
    if (message == EZ_MSG_CURSOR && id != EZ_FORMITSELF) {
        HelpTopic = topicOf(id);
        cancel = 1;
        return;
    }
    if (id == EZ_FORMITSELF) {
        RI_Events(id, message, value, cancel);
    } else if (isSeparator(id)) {
        return;
    } else if (isMenuItem(id)) {
        int32_t menu = EZ_GETMENU(kForm, menuNumberOf(id));
        RI_MENUEVENTS(id, message, value, cancel, menu, "");
    } else if (isInput(id)) {
        fieldEvents(id, message, value);
    } else if (isTickBox(id)) {
        if (message == EZ_MSG_CLICK) {
            NOTICECHANGED(id);
            CHECKPRINT();
        } else if (message == EZ_MSG_FOCUS) {
            showRowFigure(id);
        } else if (message == EZ_MSG_BLUR) {
            NOTICEBLURRED(id);
        }
    } else if (isShareLabel(id)) {
        if (message == EZ_MSG_TOOLTIP) {
            EZ_SETTOOLTIP(kForm, id, "");
            EZ_SETTOOLTIP(kForm, id, SHOWCUME(id));
        }
    } else if (id == RI::COMMENTS) {
        if (message == EZ_MSG_CHANGE) {
            NOTICECHANGED(id);
            CHECKPRINT();
        }
    } else if (id == RI::PRINT_BUTTON) {
        if (message == EZ_MSG_CLICK) PRINTROUTINE();
    } else if (id == RI::EXIT_BUTTON) {
        if (message == EZ_MSG_CLICK) EZ_UNLOADFORM(kForm);
    } else if (id == RI::HELP_BUTTON) {
        if (message == EZ_MSG_CLICK) GETHELP(HELP_CONTEXT, IDH_CALCULATOR);
    } else if (id == RI::CLEAR_BUTTON) {
        if (message == EZ_MSG_CLICK) clearForm();
    } else if (id == RI::NET_RETURN || id == RI::GROSS_RETURN || id == RI::SALES) {
        return;
    } else if (id == RI::STATUS_BAR) {
        if (message == EZ_MSG_LOADING) EZ_USEFONT(6);
    } else if (id != RI::RESPONSES) {
        RI_Events(id, message, value, cancel);
    }
}

void RI_Events(int32_t& id, int32_t& message, int32_t&, int32_t&) {
    // F1 opens the topic of the control under the pointer; over the bare window, that of the
    // control with the focus.
    if (id == HELP_KEY) {
        if (message == EZ_MSG_CLICK) GETHELP(HELP_CONTEXT, HelpTopic != 0 ? HelpTopic : topicOf(EZ_GETFOCUS(kForm)));
        return;
    }
    if (id != EZ_FORMITSELF) return;
    switch (message) {
        case EZ_MSG_CURSOR:
            HelpTopic = 0;
            EZ_SETCURSOR("");
            break;
        case EZ_MSG_STARTED: INITIALIZE_RI(); break;
        case EZ_MSG_SHOWN:
            if (Options.AutoUpdate && UPDATENOW() != 0 &&
                CHECKFORUPDATE(EZ_CURRENTFORM(), VersionFileUrl, ProgramVersion, 0, 0) !=
                    0) {
                EZ_UNLOADFORM(kForm);
                return;
            }
            ISUPDATED();
            break;
        case EZ_MSG_CLOSE:
            if (Options.Recall) SAVECURRENT();
            CLOSEANALYSES();
            DOUPDATE();
            break;
        default: break;
    }
}

void SHOWSTATIONS() {
    for (int row = 1; row <= kStationRows; ++row) {
        const int32_t tick = RI::TICKBOX(row), share = RI::SHARELABEL(row);
        const bool shown = STATIONSHOWN(row);
        if (shown) {
            const std::string& name = StationCalls[row - 1];
            EZ_SETTEXT(kForm, tick, name);
            // A screen reader hears the figure beside the tick box as this station's.
            EZ_SETACCESSNAME(kForm, share, (name.empty() ? "Station " + std::to_string(row) : name) +
                                                 " share of audience");
        }
        EZ_SHOWC(kForm, tick, shown);
        EZ_SHOWC(kForm, share, shown);
    }
}

// The rows show the stations saved in the editor, each row's tick following its station.
void STATIONSEDITED(const StationMoves& moves) {
    std::array<int32_t, kStationRows> ticks{};
    for (int row = 1; row <= kStationRows; ++row) ticks[row - 1] = EZ_GETCHECK(kForm, RI::TICKBOX(row));
    SHOWSTATIONS();
    for (int row = 1; row <= kStationRows; ++row)
        EZ_SETCHECK(kForm, RI::TICKBOX(row), moves[row - 1] > 0 ? ticks[moves[row - 1] - 1] : 0);
    if (Options.Recall) SAVETICKS();
    CHECKPRINT();
    DESCRIBESHARES();
}

void INITIALIZE_RI() {
    EZ_SETFORMICON(kForm, ProgramIcon);
    EZ_SETTEXT(kForm, EZ_FORMITSELF, "Tarvex");
    EZ_SETSBPARTS(kForm, RI::STATUS_BAR, "70|30");
    RESETNOTICES();
    STANDINGNOTICE(kNotice);
    EZ_SETSBTEXT(kForm, RI::STATUS_BAR, 2, "\tVersion: " + ProgramVersion);
    LOADPREFERENCES();
    LOADSTATIONS();
    SHOWSTATIONS();
    if (Options.Recall) RESTORECURRENT();
    CHECKPRINT();
    KEEPSHOWN();
    EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY) + ",Ctrl+S," + std::to_string(RI::MENU_SAVE) +
                           ",Ctrl+O," + std::to_string(RI::MENU_OPEN));
}

// "Print" is allowed once all seven inputs hold something, a station is ticked and every figure
// of the page can be computed; the status bar says which input stops a figure, or, once the
// inputs are filled, that a station is missing.
void CHECKPRINT() {
    const bool filled =
        std::ranges::none_of(RI::INPUTS, [](int32_t id) { return ISBLANK(EZ_GETTEXT(kForm, id)); });
    // Only a tick on a row that still has a station counts: one whose station was removed or whose
    // cume is 0 keeps its stored tick, but it is not printed.
    bool kept = false, ticked = false;
    for (int row = 1; row <= kStationRows && !ticked; ++row) {
        kept = kept || STATIONSHOWN(row);
        ticked = STATIONSHOWN(row) && EZ_GETCHECK(kForm, RI::TICKBOX(row)) != 0;
    }
    const std::string stop = CALCULATE();
    if (filled && ticked && stop.empty())
        EZ_ENABLEC(kForm, RI::PRINT_BUTTON);
    else
        EZ_DISABLEC(kForm, RI::PRINT_BUTTON);
    if (!stop.empty())
        STANDINGNOTICE(stop);
    else if (filled && !kept)
        STANDINGNOTICE("\"Print\" waits for a station: add your stations with Tarvex, Stations.");
    else if (filled && !ticked)
        STANDINGNOTICE("\"Print\" waits for a ticked station: tick the stations the schedule runs on.");
    else
        STANDINGNOTICE(kNotice);
    const int32_t focused = EZ_GETFOCUS(kForm);
    if (isTickBox(focused)) showRowFigure(focused);
}
