// The station editor "SE": eight rows of station name and cume, kept packed, saved on "&OK".
#include "stations/station_editor.h"

#include <array>
#include <iterator>
#include <utility>

#include "base/number_format.h"
#include "base/number_kinds.h"
#include "base/number_reader.h"
#include "base/text.h"
#include "common/help.h"
#include "gui/ezgui.h"
#include "msgbox/message_box.h"
#include "stations/station_editor_ids.h"
#include "stations/storage.h"
#include "stations/tables.h"

namespace {

const std::string kForm = "SE";

// Set once a removal has opened and closed rows by their content: from then on they follow
// every change, so that a name typed into the next free row opens its cume box.
bool rowsFollowContent = false;

// The calculator row whose station each editor row holds (0 for none), so that a station's tick
// follows it when rows move up or are packed, and goes when it is removed.
std::array<int, kStationRows> rowOrigin{};
bool saved = false;  // the stations were saved since the editor opened

using SE::CUMEBOX;
using SE::STATIONBOX;

// A cume box's figure, "k" and "M" taken as thousands and millions.
long double cumeNumber(int32_t box) { return READNUMBER(EXPANDSHORTHAND(EZ_GETTEXT(kForm, box))); }
double cumeValue(int32_t box) { return static_cast<double>(cumeNumber(box)); }

void label(int32_t id, double col, double row, double width, const char* text) {
    EZ_LABEL(id, col, row, width, 1, text, "C");
}

void ASSIGNSTATIONS() {
    for (int row = 1; row <= kStationRows; ++row) {
        EZ_SETTEXT(kForm, STATIONBOX(row), StationCalls[row - 1]);
        int32_t cume = TOWHOLE(READNUMBER(StationCume[row - 1]));
        EZ_SETTEXT(kForm, CUMEBOX(row), cume > 0 ? std::to_string(cume) : "");
    }
}

void INITIALIZE_SE() {
    rowsFollowContent = false;
    for (int row = 1; row <= kStationRows; ++row) rowOrigin[row - 1] = STATIONSHOWN(row) ? row : 0;
    ASSIGNSTATIONS();
    EZ_DEFACCEL(kForm, "F1," + std::to_string(HELP_KEY));
    EZ_DISABLEC(kForm, SE::OK_BUTTON);
}

// The box the user is in is never closed under the cursor.
void closeBox(int32_t id) {
    if (EZ_GETFOCUS(kForm) != id) EZ_DISABLEC(kForm, id);
}

// After a removal: filled rows stay open, the first empty row after a row with a cume is the
// next to fill (name only), every row after it is closed.
void SHOWACTIVE() {
    for (int row = 1; row <= kStationRows; ++row) {
        std::string name = EZ_GETTEXT(kForm, STATIONBOX(row));
        if (!ISBLANK(name) || row == 1) {
            EZ_ENABLEC(kForm, STATIONBOX(row));
            if (!name.empty()) EZ_ENABLEC(kForm, CUMEBOX(row));
            else closeBox(CUMEBOX(row));
        } else if (cumeValue(CUMEBOX(row - 1)) > 0) {
            EZ_ENABLEC(kForm, STATIONBOX(row));
            closeBox(CUMEBOX(row));
        } else {
            closeBox(STATIONBOX(row));
            closeBox(CUMEBOX(row));
        }
    }
}

// A name emptied on a row with a cume removes the row; the rows below move up.
void REDISPLAY(int32_t s) {
    const int removed = SE::BOXROW(s);
    std::string name = TRIMSPACES(EZ_GETTEXT(kForm, s));
    if (name.empty() && cumeValue(CUMEBOX(removed)) > 0) {
        for (int row = removed; row < kStationRows; ++row) {
            EZ_SETTEXT(kForm, STATIONBOX(row), EZ_GETTEXT(kForm, STATIONBOX(row + 1)));
            EZ_SETTEXT(kForm, CUMEBOX(row), EZ_GETTEXT(kForm, CUMEBOX(row + 1)));
            rowOrigin[row - 1] = rowOrigin[row];
        }
        EZ_SETTEXT(kForm, STATIONBOX(kStationRows), "");
        EZ_SETTEXT(kForm, CUMEBOX(kStationRows), "");
        rowOrigin[kStationRows - 1] = 0;
        rowsFollowContent = true;
        SHOWACTIVE();
        EZ_FOCUS(kForm, CUMEBOX(removed));
        return;
    }
    if (name != StationCalls[removed - 1]) EZ_SETTEXT(kForm, s, name);
}

// The stored list cannot carry a comma in a name, nor a name that starts with a double quote.
std::string storable(std::string name) {
    std::erase(name, ',');
    size_t first = name.find_first_not_of(' ');
    while (first != std::string::npos && name[first] == '"') {
        name.erase(first, 1);
        first = name.find_first_not_of(' ');
    }
    return name;
}

void boxKeys(int32_t& value) {
    if (value == EZ_KEY_ESCAPE) value = EZ_KEY_NONE;
    else if (value == EZ_KEY_ENTER) value = EZ_KEY_TAB;
}

void STATIONPROC(int32_t id, int32_t message, int32_t& value) {
    switch (message) {
    case EZ_MSG_CHANGE: {
        std::string text = EZ_GETTEXT(kForm, id);
        std::string clean = storable(text);
        if (clean != text) EZ_SETTEXT(kForm, id, clean);
        EZ_ENABLEC(kForm, SE::OK_BUTTON);
        if (rowsFollowContent) SHOWACTIVE();
        break;
    }
    case EZ_MSG_FOCUS: EZ_SETCOLOR(kForm, id, 0, 25); break;
    case EZ_MSG_BLUR:
        EZ_SETCOLOR(kForm, id, -1, -1);
        REDISPLAY(id);
        break;
    case EZ_MSG_KEY:
        if (value == ',') value = EZ_KEY_NONE;
        else boxKeys(value);
        break;
    default: break;
    }
}

void CUMEPROC(int32_t id, int32_t message, int32_t& value) {
    switch (message) {
    case EZ_MSG_CHANGE:
        EZ_ENABLEC(kForm, SE::OK_BUTTON);
        if (rowsFollowContent) SHOWACTIVE();
        break;
    case EZ_MSG_FOCUS: EZ_SETCOLOR(kForm, id, 0, 25); break;
    case EZ_MSG_BLUR: {
        EZ_SETCOLOR(kForm, id, -1, -1);
        // A figure in thousands or millions is shown as the number it stands for.
        const std::string typed = EZ_GETTEXT(kForm, id);
        if (EXPANDSHORTHAND(typed) != typed) EZ_SETTEXT(kForm, id, FORMATNUMBER(cumeNumber(id), ""));
        break;
    }
    case EZ_MSG_KEY: boxKeys(value); break;
    default: break;
    }
}

void UPDATESTATIONS() {
    for (int row = 1; row <= kStationRows; ++row) {
        if (ISBLANK(EZ_GETTEXT(kForm, STATIONBOX(row)))) EZ_SETTEXT(kForm, CUMEBOX(row), "");
        else if (cumeValue(CUMEBOX(row)) == 0) EZ_SETTEXT(kForm, STATIONBOX(row), "");
        if (ISBLANK(EZ_GETTEXT(kForm, STATIONBOX(row)))) rowOrigin[row - 1] = 0;
    }
    for (int row = 1; row <= kStationRows; ++row) {
        StationCalls[row - 1] = TRIMSPACES(EZ_GETTEXT(kForm, STATIONBOX(row)));
        StationCume[row - 1] = FORMATNUMBER(cumeNumber(CUMEBOX(row)), "");
    }
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (int i = 0; i + 1 < kStationRows; ++i) {
            if (StationCalls[i].empty() && !StationCalls[i + 1].empty()) {
                std::swap(StationCalls[i], StationCalls[i + 1]);
                std::swap(StationCume[i], StationCume[i + 1]);
                std::swap(rowOrigin[i], rowOrigin[i + 1]);
                swapped = true;
            }
        }
    }
    SAVESTATIONS();
    saved = true;
}

// Saving drops every named station without a cume: they are named first, and "&Go Back" returns
// to the first one's cume box with nothing saved.
bool DROPPINGAGREED() {
    std::string names;
    int32_t first = 0;
    for (int row = 1; row <= kStationRows; ++row) {
        const std::string name = TRIMSPACES(EZ_GETTEXT(kForm, STATIONBOX(row)));
        if (name.empty() || cumeValue(CUMEBOX(row)) != 0) continue;
        names += (names.empty() ? "" : ", ") + name;
        if (first == 0) first = CUMEBOX(row);
    }
    if (names.empty()) return true;
    if (ASKUSER("Stations Without a Cume", "These stations have no cume and will be removed:{f7}",
                SHOWNTEXT(names) + "{f10}", "", "*{G,f7}|&Remove Them|&Go Back", 2) == 1)
        return true;
    EZ_FOCUS(kForm, first);
    return false;
}

void SE_OKBTN() {
    if (!DROPPINGAGREED()) return;
    UPDATESTATIONS();
    EZ_UNLOADFORM(kForm);
}

void SE_Events(int32_t id, int32_t message, int32_t& cancel) {
    if (id == HELP_KEY && message == EZ_MSG_CLICK) {
        GETHELP(HELP_CONTEXT, IDH_STATION_EDITOR);
    } else if (id == EZ_FORMITSELF && message == EZ_MSG_CLOSE) {
        int32_t answer = CHECKFORCHANGES(kForm, SE::OK_BUTTON);
        if (answer == 1 && DROPPINGAGREED()) UPDATESTATIONS();
        else if (answer == 1 || answer == 3) cancel = 1;
    } else if (id == EZ_FORMITSELF && message == EZ_MSG_STARTED) {
        INITIALIZE_SE();
    }
}

}  // namespace

std::optional<StationMoves> EDITSTATIONS(const std::string& parent) {
    saved = false;
    EZ_SE_Display(parent);
    return saved ? std::optional<StationMoves>(rowOrigin) : std::nullopt;
}

void EZ_SE_Display(const std::string& parent) {
    EZ_COLOR(-1, -1);
    EZ_FORM(kForm, parent, "Add/Edit Stations/Cume", 0, 0, 50.5, 14.125, "CMR");
}

void EZ_SE_Design() {
    EZ_COLOR(-1, -1);
    EZ_USEFONT(6);
    label(SE::LEFT_STATION_CAPTION, 5.5, 0.9375, 5, "Station");
    label(SE::LEFT_CUME_CAPTION, 17.125, 0.9375, 4.25, "Cume");
    label(SE::RIGHT_STATION_CAPTION, 29.5, 0.875, 5, "Station");
    label(SE::RIGHT_CUME_CAPTION, 41.375, 0.875, 4.25, "Cume");
    const double stationRows[] = {2.25, 4.6875, 7.125, 9.5};
    const double cumeRows[] = {2.25, 4.625, 7.125, 9.5};
    for (int row = 1; row <= kStationRows; ++row) {
        bool right = row > 4;
        int line = (row - 1) % 4;
        double stationRow = right ? cumeRows[line] : stationRows[line];
        EZ_TEXT(STATIONBOX(row), right ? 27.25 : 3, stationRow, 9.375, 1.125, "", "ESTU");
        EZ_TEXT(CUMEBOX(row), right ? 39.25 : 15, cumeRows[line], 8.25, 1.125, "", "EKST");
        EZ_SETACCESSNAME(kForm, STATIONBOX(row), "Station " + std::to_string(row));
        EZ_SETACCESSNAME(kForm, CUMEBOX(row), "Cume " + std::to_string(row));
    }
    // The buttons in the order they stand, left to right, which is the order of the Tab key.
    EZ_BUTTON(SE::HELP_BUTTON, 2.5, 12.125, 7.125, 1.5, "&Help", "T");
    EZ_BUTTON(SE::OK_BUTTON, 31.5, 12.125, 7.125, 1.5, "&OK", "T");
    EZ_BUTTON(SE::CANCEL_BUTTON, 41, 12.125, 7.125, 1.5, "&Cancel", "T");
    const struct {
        double col, row, width, height;
        const char* props;
    } panels[] = {{1.5, 4, 23.25, 2.5, "CFI"},      {1.5, 8.875, 23.25, 2.5, "CFI"}, {25.75, 4, 23.25, 2.5, "CFI"},
                  {25.75, 8.875, 23.25, 2.5, "CFI"}, {1.5, 1.375, 12.5, 10, "CF"},    {13.75, 1.375, 11, 10, "CF"},
                  {25.75, 1.375, 12.5, 10, "CF"},    {38, 1.375, 11, 10, "CF"}};
    for (size_t n = 0; n < std::size(panels); ++n)
        EZ_PANEL(SE::PANELS[n], panels[n].col, panels[n].row, panels[n].width, panels[n].height, panels[n].props);
    EZ_SETFORMKEYS(kForm, 2);
}

void EZ_SE_ParseEvents(int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    // Escape anywhere in the editor closes it as its close box does, asking about unsaved changes.
    if (message == EZ_MSG_KEY && value == EZ_KEY_ESCAPE) {
        value = EZ_KEY_NONE;
        EZ_UNLOADFORM(kForm);
        return;
    }
    const int row = SE::BOXROW(id);
    if (row != 0 && id == STATIONBOX(row)) STATIONPROC(id, message, value);
    else if (row != 0) CUMEPROC(id, message, value);
    else if (id == SE::OK_BUTTON && message == EZ_MSG_CLICK) SE_OKBTN();
    else if (id == SE::CANCEL_BUTTON && message == EZ_MSG_CLICK) EZ_UNLOADFORM(kForm);
    else if (id == SE::HELP_BUTTON && message == EZ_MSG_CLICK) GETHELP(HELP_CONTEXT, IDH_STATION_EDITOR);
    else SE_Events(id, message, cancel);
}

int32_t CHECKFORCHANGES(const std::string& formName, int32_t control, const std::string& itemName) {
    std::string question = itemName.empty() ? "Save your changes before you exit?{f10}"
                                            : "Save changes to " + itemName + " before you exit?{f10}";
    if (!EZ_ISENABLED(formName, control)) return 2;
    return ASKUSER("Changes Not Saved", question, "(Unsaved changes will be lost.){f6}", "",
                   "*{G,f7}|&Yes|&No|&Cancel", 1);
}
