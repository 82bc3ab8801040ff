// The GUI library the program is written against: forms and controls addressed by
// form name and control id, events delivered to one callback, character units.
// No Qt type appears here; texts are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using EZ_StartProc = void (*)(int32_t);
using EZ_DesignProc = void (*)(const std::string& form);
using EZ_EventProc = void (*)(const std::string& form, int32_t& id, int32_t& message, int32_t& value,
                              int32_t& cancel);

// Message numbers of the event model.
enum : int32_t {
    EZ_MSG_CLOSE = 0,
    EZ_MSG_CLICK = 1,
    EZ_MSG_FOCUS = 3,
    EZ_MSG_BLUR = 4,
    EZ_MSG_CHANGE = 6,
    EZ_MSG_TOOLTIP = 8,
    EZ_MSG_KEY = 30,
    EZ_MSG_LOADING = 85,
    EZ_MSG_SHOWN = 86,
    EZ_MSG_STARTED = 87,
    EZ_MSG_CURSOR = 130,
    EZ_MSG_OWNERDRAW = 300,
};

// The id by which a form's own events (close, shown, started, the pointer over its background) and
// its caption are addressed.
constexpr int32_t EZ_FORMITSELF = 0;

// Key codes of the key message; a handler that sets the value to 0 drops the key.
enum : int32_t {
    EZ_KEY_NONE = 0,
    EZ_KEY_TAB = 9,
    EZ_KEY_ENTER = 13,
    EZ_KEY_ESCAPE = 27,
};

// Run: start-up is called once; returns when the last form is gone.
int EZ_GUIRUN(int argc, char** argv, EZ_StartProc start, EZ_EventProc events, EZ_DesignProc design);
// Prepares the layer inside an application that already exists and installs the callbacks.
void EZ_GUIINIT(EZ_EventProc events, EZ_DesignProc design);
void EZ_DOEVENTS();
std::string EZ_APPPATH();
void EZ_DEFIMAGEFOLDER(const std::string& folder);
void EZ_ALLOWCOMMANDEVENTS(int32_t on);
void EZ_ALLOWKEYEVENTS(int32_t on);
void EZ_ALLOWCURSOREVENTS(int32_t on);
void EZ_ALLOWLOADINGEVENT(int32_t mode);

// Fonts, colours, units.
void EZ_DEFFONT(int32_t number, const std::string& face, double points, const std::string& props);
void EZ_DEFSYSTEMCOLOR(int32_t number, int32_t systemIndex);
void EZ_DEFCOLORL(int32_t number, int32_t red, int32_t green, int32_t blue);
void EZ_COLOR(int32_t foreground, int32_t background);
void EZ_USEFONT(int32_t number);
// A font for the next controls created that is not in the numbered table; EZ_USEFONT ends it.
void EZ_USEFONTFACE(const std::string& face, double points, const std::string& props);
void EZ_GETTEXTSIZE(int32_t font, const std::string& text, double& width, double& height);
double EZ_CX(int32_t pixels);
double EZ_CY(int32_t pixels);
int32_t EZ_LOADICON(const std::string& name);
void EZ_DEFTOOLTIPPROP(int32_t foreground, int32_t background);

// Forms.
void EZ_FORM(const std::string& name, const std::string& parent, const std::string& caption, double col,
             double row, double width, double height, const std::string& props);
void EZ_UNLOADFORM(const std::string& name);
void EZ_HIDEFORM(const std::string& name);
void EZ_SHOWFORM(const std::string& name);  // shows a hidden form again
std::string EZ_CURRENTFORM();
bool EZ_FORMEXISTS(const std::string& name);
void EZ_SETFORMICON(const std::string& name, int32_t icon);
void EZ_FORMSIZE(const std::string& name, double& width, double& height);  // the client area
void EZ_RESIZEFORM(const std::string& name, double col, double row, double width, double height);
void EZ_SETFORMKEYS(const std::string& name, int32_t mode);
void EZ_BRINGTOFRONT(const std::string& name);
// The library's own message box, modal over form: "{!}" in text shows a warning sign in its
// place; buttons holds the captions, separated by "|". Returns the number of the button chosen.
int32_t EZ_MSGBOX(const std::string& form, const std::string& text, const std::string& caption,
                  const std::string& buttons);

// Controls, created on the form being designed, in tab order. Property letters:
// text boxes "E" editable (else read-only), "M" several lines, "V" vertical scroll bar,
// ">" right-aligned, "U" upper case, "N" digits of a whole number up to 2147483647, "K" the same
// that may end in k (thousands) or M (millions), "T" Tab stop;
// labels "L" left, "C" centred (else right-aligned), "F" sunken frame, "|" in their text breaks
// the line; tick boxes and buttons "T".
// Panels are drawn behind the other controls: "F" framed, "I" a shaded band.
void EZ_LABEL(int32_t id, double col, double row, double width, double height, const std::string& text,
              const std::string& props);
void EZ_TEXT(int32_t id, double col, double row, double width, double height, const std::string& text,
             const std::string& props);
void EZ_CHECKBOX(int32_t id, double col, double row, double width, double height, const std::string& text,
                 const std::string& props);
void EZ_BUTTON(int32_t id, double col, double row, double width, double height, const std::string& text,
               const std::string& props);
void EZ_ODBUTTON(int32_t id, double col, double row, double width, double height, const std::string& text,
                 const std::string& props);
void EZ_FRAME(int32_t id, double col, double row, double width, double height, const std::string& text,
              const std::string& props);
void EZ_PANEL(int32_t id, double col, double row, double width, double height, const std::string& props);
void EZ_STATUSBAR(int32_t id, const std::string& text);
// A picture from a file; relative names are found in the image folder beside the program.
// Letters: "F" framed, "R" raised frame, "S" scaled to the control.
void EZ_PICTURE(int32_t id, double col, double row, double width, double height, const std::string& file,
                const std::string& props);
void EZ_PICTURESIZE(const std::string& file, int32_t& width, int32_t& height);  // pixels; 0 when unreadable
// A progress bar. EZ_SETPBAR sets its range and position; a range of 0 to 0 shows that work goes
// on without telling how much is left.
void EZ_PROGRESSBAR(int32_t id, double col, double row, double width, double height);
void EZ_SETPBAR(const std::string& form, int32_t id, int32_t minimum, int32_t maximum, int32_t position);
// A read-only rich-text view: "V" vertical scroll bar, "T" Tab stop.
void EZ_RICHTEXT(int32_t id, double col, double row, double width, double height, const std::string& props);
// Shows text in the view: plain text, or RTF when isRtf is 1. The view shows at most its limit of
// characters (32767 until EZ_SETRICHTEXTLEN sets another).
void EZ_SETRICHTEXT(const std::string& form, int32_t id, const std::string& text, int32_t isRtf);
void EZ_SETRICHTEXTLEN(const std::string& form, int32_t id, int32_t length);

// A list of rows in columns: "T" Tab stop, "M" several rows may be selected (with Ctrl and Shift).
// The program hands over where the rows come from, and the list fetches only those that come into
// view, so that a list of any length opens at once. A click on a column's heading sorts the rows
// by it (again: the other way round); the source sorts them. The list reports a change of its
// selection as a change (6), whether the user or the program changed it, and Enter or a double
// click on a row as a click (1). Rows are told apart by the key the source gives each.
void EZ_LISTVIEW(int32_t id, double col, double row, double width, double height, const std::string& props);
// The column headings, "|" between them, each with its share of the width in percent after a ","
// ("Customer,30|Saved,20"). The rows stand unsorted afterwards and nothing is selected.
void EZ_SETLISTCOLUMNS(const std::string& form, int32_t id, const std::string& headings);

// Some rows of a list, each with its key and one text per column.
struct EZ_LISTROWS {
    std::vector<int64_t> keys;
    std::vector<std::vector<std::string>> cells;
};
// Where a list's rows come from: how many it shows; fetch gives at most count of them from the
// one at place first (0 the top), sorted by column (-1: as the source orders them) ascending or
// not; places tells where rows stand in that order by their keys, -1 for one not shown.
struct EZ_LISTSOURCE {
    int64_t count = 0;
    std::function<EZ_LISTROWS(int64_t first, int64_t count, int32_t column, bool ascending)> fetch;
    std::function<std::vector<int64_t>(const std::vector<int64_t>& keys, int32_t column, bool ascending)> places;
};
// Shows the rows of a new source, sorted by the column the user chose; the selected rows it
// still shows stay selected, and the current row stays in view.
void EZ_SETLISTSOURCE(const std::string& form, int32_t id, const EZ_LISTSOURCE& source);
// How many rows are selected; cheap, whatever their number.
int64_t EZ_LISTSELECTEDCOUNT(const std::string& form, int32_t id);
// The keys of the selected rows, in the order they stand.
std::vector<int64_t> EZ_GETLISTSELECTION(const std::string& form, int32_t id);
// Selects the rows of the given keys that are shown (only the first of them in a list without
// "M"); the first of them becomes the current row and is scrolled into view.
void EZ_SETLISTSELECTION(const std::string& form, int32_t id, const std::vector<int64_t>& keys);

// Asks for the name of a file to write, over the form, starting at the suggested path; filter as
// "CSV files (*.csv)". Empty when the user cancels. The name gets the filter's extension when it
// has none; a file that exists is replaced only when the user confirms it.
std::string EZ_SAVEFILENAME(const std::string& form, const std::string& caption, const std::string& suggested,
                            const std::string& filter);

// Layers: controls created after EZ_SETLAYER(n) belong to layer n; those of layer 0 show with
// every page. EZ_DISPLAYLAYER shows one numbered layer of the form and hides the others.
void EZ_SETLAYER(int32_t layer);
void EZ_DISPLAYLAYER(const std::string& form, int32_t layer);

// Controls by form name and id.
std::string EZ_GETTEXT(const std::string& form, int32_t id);
void EZ_SETTEXT(const std::string& form, int32_t id, const std::string& text);
int32_t EZ_GETCHECK(const std::string& form, int32_t id);
void EZ_SETCHECK(const std::string& form, int32_t id, int32_t checked);
void EZ_ENABLEC(const std::string& form, int32_t id);
void EZ_DISABLEC(const std::string& form, int32_t id);
bool EZ_ISENABLED(const std::string& form, int32_t id);
void EZ_SHOWC(const std::string& form, int32_t id, int32_t visible);
bool EZ_ISVISIBLE(const std::string& form, int32_t id);
void EZ_FOCUS(const std::string& form, int32_t id);
int32_t EZ_GETFOCUS(const std::string& form);
void EZ_SETCOLOR(const std::string& form, int32_t id, int32_t foreground, int32_t background);
void EZ_SETACCESSNAME(const std::string& form, int32_t id,
                      const std::string& name);  // what a screen reader says
// What a screen reader adds when it reads the control out.
void EZ_SETACCESSDESCRIPTION(const std::string& form, int32_t id, const std::string& description);
void EZ_ADDTOOLTIP(const std::string& form, int32_t id);
void EZ_SETTOOLTIP(const std::string& form, int32_t id, const std::string& text);
void EZ_SETCURSOR(const std::string& cursor);
void EZ_SETSBPARTS(const std::string& form, int32_t id, const std::string& widths);
void EZ_SETSBTEXT(const std::string& form, int32_t id, int32_t part, const std::string& text);
std::string EZ_GETSBTEXT(const std::string& form, int32_t id, int32_t part);

// Menus: the bar is started before its form is created, then filled while designing.
void EZ_DEFMAINMENU(int32_t id, const std::string& caption);
int32_t EZ_DEFSUBMENU(int32_t id, const std::string& caption);
void EZ_ADDMENUITEM(int32_t menu, int32_t id, const std::string& caption, const std::string& props);
void EZ_SETSUBMENU(int32_t menu, int32_t id, int32_t submenu);
void EZ_SAVEMENU(const std::string& form, int32_t number, int32_t menu);
int32_t EZ_GETMENU(const std::string& form, int32_t number = 0);
void EZ_SETMENUITEM(int32_t menu, int32_t id, const std::string& caption, const std::string& props);
bool EZ_MENUCHECKED(int32_t menu, int32_t id);
void EZ_DEFACCEL(const std::string& form, const std::string& keys);

// Painting an owner-drawn button while its message 300 is handled.
void EZ_DRAWCOLORBUTTON(int32_t face, int32_t caption, int32_t font);  // flat, rounded
void EZ_DRAW3DBUTTON(int32_t face, int32_t caption, int32_t font);     // raised bevel
void EZ_DRAW3DBUTTONRR(int32_t face, int32_t caption, int32_t font);   // rounded, shaded
void EZ_DRAW3DBUTTONE(int32_t face, int32_t caption, int32_t font);    // etched edge
