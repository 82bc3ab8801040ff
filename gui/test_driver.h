// Acts on the real forms as a user would; used only by the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driver {

void TYPE(const std::string& form, int32_t id, const std::string& text);  // focus, then type
void CLICK(const std::string& form, int32_t id);
void PRESS(const std::string& form, int32_t id, const std::string& key);  // "Enter", "Escape", "F1", ...
void HOVER(const std::string& form, int32_t id);                          // 0 = the bare form
void FOCUS(const std::string& form, int32_t id);
void CLOSEBOX(const std::string& form);  // the title bar's close box
void CHOOSEMENU(const std::string& form, int32_t id);
std::string TOOLTIP(const std::string& form, int32_t id);               // rest the pointer; the tip shown
void PAINT(const std::string& form, int32_t id);                        // repaint a control now
int CENTREDISTANCE(const std::string& form, const std::string& other);  // pixels between window centres
std::string ACCESSIBLENAME(const std::string& form, int32_t id);        // what a screen reader says
void ACCESSIBLEACTION(const std::string& form, int32_t id, const std::string& action);  // "Press", "Toggle"
// The captions that share one set of Alt letters: first the form's controls with the menu bar's
// items, then each drop-down menu on its own.
std::vector<std::vector<std::string>> KEYGROUPS(const std::string& form);
// What a paste or a drop carries: each format given, and nothing else; none is a clipboard that
// offers no format at all.
struct Carried {
    std::optional<std::string> text, html;
    bool image = false;
};
void CLIPBOARD(const Carried& what);                                    // what a paste takes from now on
void DROP(const std::string& form, int32_t id, const Carried& what);    // dragged onto the control and let go
void SETTLE();                                                          // lets queued events run
bool WAITFOR(const std::function<bool()>& condition, int timeoutMs);    // runs events until it holds
void PROGRAMFOLDER(const std::string& folder);  // EZ_APPPATH answers folder; empty: the executable's
void SCREENAREA(int x, int y, int width, int height);  // the screen area forms open in; 0 wide: the real one

// Runs an action once the named form is open. When the form has not opened, or is still
// open, at the time-out, every modal form is closed so the test goes on, and timedOut says so.
class Answer {
public:
    bool answered = false;
    bool timedOut = false;
    bool withdrawn = false;  // set by the test: stop waiting, close nothing
};
std::shared_ptr<Answer> WHENOPEN(const std::string& form, std::function<void()> action, int timeoutMs = 5000);
// Answers the question for a file name to save as: types name into its file name box and saves;
// an empty name cancels. Times out as WHENOPEN does.
std::shared_ptr<Answer> WHENSAVEFILE(const std::string& name, int timeoutMs = 5000);

// Lists, by the place a row stands in (0 the top): how is "" for a click, "Ctrl" or "Shift" for a click with
// that key held, "Double" for a double click.
void CLICKROW(const std::string& form, int32_t id, int32_t row, const std::string& how = "");
void CLICKHEADING(const std::string& form, int32_t id, int32_t column);
std::vector<std::string> SHOWNROWS(const std::string& form, int32_t id);  // each row's cells joined by "|"

}  // namespace driver
