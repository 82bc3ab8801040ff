// Waits inside a handler are safe: while a program handler processes events (EZ_DOEVENTS, or a
// modal form's loop), the forms that were open before the outermost handler began take no input,
// and their close requests are kept and carried out once every handler has returned. Forms the
// handler itself opened (the "Updating..." window, a message box) work as usual.
#include <QApplication>
#include <QTimer>
#include <algorithm>

#include "gui/registry.h"

namespace gui {
namespace {

int handlers = 0;         // program handlers on the stack
int waits = 0;            // event processing inside them
uint64_t lastSerial = 0;  // the serial of the last form opened
uint64_t floorSerial = 0;  // forms below it were open before the outermost handler began
std::vector<std::string> keptCloses;

// The form a widget, menu or shortcut belongs to, when it was open before the handlers began. A
// dialog the layer opens over a form (a file dialog, a message box) is not part of that form.
const FormWindow* underneath(const QObject* object) {
    for (; object; object = object->parent()) {
        if (auto* window = qobject_cast<const FormWindow*>(object)) {
            const Form* form = findForm(window->formName);
            return form && form->serial < floorSerial ? window : nullptr;
        }
        if (qobject_cast<const QDialog*>(object)) return nullptr;
    }
    return nullptr;
}

class WaitGuard : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (waits == 0 || handlers == 0) return false;
        switch (event->type()) {
            case QEvent::Close: {
                const FormWindow* window = underneath(object);
                if (window != object) return false;
                if (std::find(keptCloses.begin(), keptCloses.end(), window->formName) == keptCloses.end())
                    keptCloses.push_back(window->formName);
                event->ignore();
                return true;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::Wheel:
            case QEvent::ContextMenu: return underneath(object) != nullptr;
            default: return false;
        }
    }
};

}  // namespace

uint64_t nextFormSerial() { return ++lastSerial; }

void enterHandler() {
    if (handlers++ == 0) floorSerial = lastSerial + 1;
}

// The close requests kept during the waits are carried out from the event loop, after the
// handler that waited has returned.
void leaveHandler() {
    if (--handlers > 0 || keptCloses.empty()) return;
    QTimer::singleShot(0, qApp, [names = std::move(keptCloses)] {
        for (const std::string& name : names) EZ_UNLOADFORM(name);
    });
    keptCloses.clear();
}

void enterWait() { ++waits; }
void leaveWait() { --waits; }

void installWaitGuard() {
    static WaitGuard guard;
    qApp->installEventFilter(&guard);
}

}  // namespace gui
