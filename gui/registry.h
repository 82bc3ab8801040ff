// Inside the GUI layer: the forms by name, their controls by id, the run state.
#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gui/ezgui.h"

class QMenuBar;
class QStatusBar;

namespace gui {

class FormWindow;

struct Form {
    std::string name;
    QPointer<FormWindow> window;
    QWidget* client = nullptr;  // the area the controls are placed on, in character units
    QMenuBar* menuBar = nullptr;
    QStatusBar* statusBar = nullptr;
    std::map<int32_t, QPointer<QWidget>> controls;
    std::map<int32_t, QString> tooltips;
    std::map<int32_t, int32_t> layers;  // control id -> layer; 0 is shown with every page
    std::map<int32_t, int32_t> savedMenus;  // menu number -> menu handle
    uint64_t serial = 0;  // forms are numbered in the order they open
    bool modal = false;
    bool keyEvents = false;  // key messages for the form's non-text controls
    bool shownOnce = false;
};

// A window of the program; every form is one of these.
class FormWindow : public QDialog {
    Q_OBJECT
public:
    FormWindow(const std::string& name, QWidget* parent);
    std::string formName;
    bool closing = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool asking = false;  // the program is deciding whether to close, perhaps asking the user
};

Form* findForm(const std::string& name);
Form* designForm();  // the form whose controls are being created
QWidget* findControl(const std::string& form, int32_t id);
int32_t controlId(const Form& form, const QWidget* widget);  // -1 when not a control

// Hands an event to the program's callback; value and cancel come back.
void dispatch(const std::string& form, int32_t id, int32_t message, int32_t& value, int32_t& cancel);
void dispatch(const std::string& form, int32_t id, int32_t message);

// Whether a control's property letters hold letter; with "T" the control is a Tab stop.
inline bool has(const std::string& props, char letter) { return props.find(letter) != std::string::npos; }
inline Qt::FocusPolicy tabPolicy(const std::string& props) {
    return has(props, 'T') ? Qt::StrongFocus : Qt::ClickFocus;
}

// The form being designed, after the loading event of the control about to be created; then
// the new control placed on it in the current font, colours and layer.
Form* beginControl(int32_t id);
void placeControl(Form& form, int32_t id, QWidget* widget, double col, double row, double width,
                  double height);

// Runs every control event (focus, keys, pointer, tooltips) through the program.
void watchControl(Form& form, int32_t id, QWidget* widget);
void watchForm(Form& form);

// Run state shared by the layer's files.
struct Settings {
    EZ_EventProc events = nullptr;
    EZ_DesignProc design = nullptr;
    bool commandEvents = true;
    bool keyEvents = false;
    bool cursorEvents = false;
    int32_t loadingEvents = 0;
    int32_t foreground = -1;
    int32_t background = -1;
    int32_t font = 0;
    std::optional<QFont> customFont;  // a font for the next controls that is not in the table
    int32_t layer = 0;                // the layer of the controls being created
    std::string imageFolder;
    std::string programFolder;  // set by tests; empty is the folder of the executable
    QRect screenArea;           // set by tests: the screen's available area; empty is the real one
};
Settings& settings();

// Registry maintenance used by the form and menu code.
Form& registerForm(const std::string& name);
void forgetForm(const std::string& name);
std::vector<std::string> formNames();
void noteActive(const std::string& name);
void setDesignForm(Form* form);

// Waits inside handlers (see waits.cpp): the handlers and waits on the stack, and the guard that
// keeps the forms underneath as they are.
uint64_t nextFormSerial();
void enterHandler();
void leaveHandler();
void enterWait();
void leaveWait();
void installWaitGuard();

// Fonts, colours and units.
constexpr double kColumnPixels = 9.0;
constexpr double kRowPixels = 20.0;
int px(double units, bool horizontal);
QFont fontFor(int32_t number);
bool colourFor(int32_t number, QColor& colour);  // false for -1 and unknown numbers
void applyColours(QWidget* widget, int32_t foreground, int32_t background);
void installFontSubstitutes();

// A picture file: relative names are found in the image folder beside the program.
QString imagePath(const std::string& file);
// Icons loaded by name and handed to the program as numbers.
QIcon iconFor(int32_t handle);

// A text box, label or tick box whose text is wider than its room shrinks its font until the
// text fits (down to 6 points); a text that even then does not fit shows its start, and its
// tooltip holds the whole. The font the control was created in is the largest it takes.
void fitText(QWidget* control);
void setGivenFont(QWidget* control, const QFont& font);  // the font a control was created in

// The screen readers' view of forms and labels, installed once.
void installAccessibility();

// Menus waiting for their form.
void attachPendingMenu(Form& form);

// The loop that EZ_GUIRUN runs; it ends when the last form is gone.
void lastFormGone();

}  // namespace gui
