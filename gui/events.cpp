// Turns Qt's focus, key, pointer and tooltip events into the program's messages and
// applies what the handlers hand back.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolTip>

#include "gui/registry.h"

namespace gui {
namespace {

const char* kForm = "ezForm";
const char* kId = "ezId";

bool isTextBox(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

// The key code of a typed key: 13 Enter, 27 Escape, 8 Backspace, else the character;
// -1 for keys that type nothing (arrows, shortcuts), which are not reported.
int32_t keyCode(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Backspace: return 8;
        default: break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return -1;
    QString text = event->text();
    if (text.isEmpty() || text[0].unicode() < 32 || text[0].unicode() == 127) return -1;
    return static_cast<int32_t>(text.toUcs4().value(0));
}

// Replays a key the handler replaced: 9 moves on as Tab does, anything else is typed.
bool replaying = false;
void replay(QWidget* target, int32_t code) {
    replaying = true;
    int key = code == 9    ? Qt::Key_Tab
              : code == 13 ? Qt::Key_Return
              : code == 27 ? Qt::Key_Escape
              : code == 8  ? Qt::Key_Backspace
                           : 0;
    char32_t ch = static_cast<char32_t>(code);
    QString text = code == 9 ? QString() : code == 13 ? QString("\r") : QString::fromUcs4(&ch, 1);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    replaying = false;
}

// The control under the pointer, or 0 for the form itself. Disabled controls count:
// their pointer events reach the form, and the form looks up what lies beneath.
int32_t controlAt(const Form& form, const QPoint& global) {
    QWidget* widget = form.window->childAt(form.window->mapFromGlobal(global));
    for (; widget && widget != form.window; widget = widget->parentWidget()) {
        int32_t id = controlId(form, widget);
        if (id > 0) return id;
    }
    return 0;
}

// Enter on a push button with the focus presses it, as Space does.
bool pressButton(QWidget* widget, const QKeyEvent* event) {
    auto* button = qobject_cast<QPushButton*>(widget);
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!button || !enter || event->modifiers() & ~Qt::KeypadModifier || !button->isEnabled()) return false;
    button->click();
    return true;
}

bool key(Form& form, int32_t id, QWidget* widget, QKeyEvent* event) {
    if (replaying || id < 0) return false;
    // A key on the form itself (nothing focused) is the form's, id 0.
    if (id == 0 && widget != form.window) return false;
    bool text = id > 0 && isTextBox(findControl(form.name, id));
    if (text ? !settings().keyEvents : !form.keyEvents) return false;
    int32_t code = keyCode(event);
    if (code < 0) return false;
    int32_t value = code;
    int32_t cancel = 0;
    std::string name = form.name;
    dispatch(name, id, EZ_MSG_KEY, value, cancel);
    if (value == code) return false;
    if (value != 0 && findForm(name)) replay(widget, value);
    return true;
}

class Watcher : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override;
};

// Only the events that become messages are looked at; the rest pass untouched.
bool isMessageEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::KeyPress:
        case QEvent::MouseMove:
        case QEvent::Enter:
        case QEvent::ToolTip: return true;
        default: return false;
    }
}

bool Watcher::eventFilter(QObject* object, QEvent* event) {
    if (!isMessageEvent(event->type())) return false;
    auto* widget = qobject_cast<QWidget*>(object);
    QVariant formName = object->property(kForm);
    if (!widget || !formName.isValid()) return false;
    Form* form = findForm(formName.toString().toStdString());
    if (!form || form->window->closing) return false;
    int32_t id = object->property(kId).toInt();
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (id > 0 && reason != Qt::PopupFocusReason)
                dispatch(form->name, id, event->type() == QEvent::FocusIn ? EZ_MSG_FOCUS : EZ_MSG_BLUR);
            return false;
        }
        case QEvent::KeyPress: {
            auto* press = static_cast<QKeyEvent*>(event);
            const std::string name = form->name;
            if (key(*form, id, widget, press)) return true;
            // A form that the program closed on this key takes no more of it.
            if (!findForm(name)) return true;
            return pressButton(widget, press);
        }
        case QEvent::MouseMove:
        case QEvent::Enter: {
            if (!settings().cursorEvents) return false;
            QPoint global = static_cast<QSinglePointEvent*>(event)->globalPosition().toPoint();
            dispatch(form->name, controlAt(*form, global), EZ_MSG_CURSOR);
            return false;
        }
        case QEvent::ToolTip: {
            auto it = form->tooltips.find(id);
            if (it == form->tooltips.end()) return false;
            dispatch(form->name, id, EZ_MSG_TOOLTIP);
            Form* still = findForm(formName.toString().toStdString());
            QString text = still ? still->tooltips[id] : QString();
            if (text.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, widget);
            return true;
        }
        default: return false;
    }
}

Watcher& watcher() {
    static Watcher instance;
    return instance;
}

void watch(const std::string& form, int32_t id, QWidget* widget) {
    widget->setProperty(kForm, QString::fromStdString(form));
    widget->setProperty(kId, id);
    widget->setMouseTracking(true);
    widget->installEventFilter(&watcher());
}

}  // namespace

void watchControl(Form& form, int32_t id, QWidget* widget) {
    watch(form.name, id, widget);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) watch(form.name, id, area->viewport());
}

void watchForm(Form& form) {
    watch(form.name, 0, form.window);
    watch(form.name, 0, form.client);
}

}  // namespace gui

void EZ_ADDTOOLTIP(const std::string& form, int32_t id) {
    if (gui::Form* f = gui::findForm(form)) f->tooltips[id] = QString();
}

void EZ_SETTOOLTIP(const std::string& form, int32_t id, const std::string& text) {
    gui::Form* f = gui::findForm(form);
    if (!f || !f->tooltips.count(id)) return;
    f->tooltips[id] = QString::fromStdString(text);
}

// An empty name puts back the ordinary arrow on the current form.
void EZ_SETCURSOR(const std::string& cursor) {
    gui::Form* form = gui::findForm(EZ_CURRENTFORM());
    if (!form) return;
    if (cursor == "WAIT")
        form->client->setCursor(Qt::WaitCursor);
    else if (cursor == "HAND")
        form->client->setCursor(Qt::PointingHandCursor);
    else
        form->client->unsetCursor();
}
