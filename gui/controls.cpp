// Controls: created on the form being designed, then addressed by form name and id.
#include <QCheckBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTextEdit>
#include <QValidator>
#include <algorithm>

#include "gui/owner_button.h"
#include "gui/registry.h"
#include "gui/text_only.h"

namespace gui {
namespace {

// A single-line box holds one line: each line break pasted, dropped or set into it becomes a space.
class OneLine : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        for (qsizetype at = input.indexOf("\r\n"); at >= 0; at = input.indexOf("\r\n", at)) {
            input.remove(at, 1);
            if (at < pos) --pos;
        }
        input.replace('\r', ' ').replace('\n', ' ');
        return Acceptable;
    }
};

// "U": what is typed or pasted is shown in upper case.
class UpperCase : public OneLine {
public:
    using OneLine::OneLine;
    State validate(QString& input, int& pos) const override {
        OneLine::validate(input, pos);
        input = input.toUpper();
        return Acceptable;
    }
};

// "N": digits only, and never more than a 32-bit whole number can hold. Other characters typed or
// pasted are dropped, so "95,000" pasted becomes 95000.
class WholeNumber : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        QString digits;
        for (qsizetype at = 0; at < input.size(); ++at) {
            if (input[at] >= '0' && input[at] <= '9')
                digits += input[at];
            else if (at < pos)
                --pos;
        }
        input = digits;
        if (input.isEmpty()) return Acceptable;
        bool fits = false;
        qlonglong value = input.toLongLong(&fits);
        return fits && value <= 2147483647 ? Acceptable : Invalid;
    }
};

// "K": a whole number that may be written in thousands or millions ("33.5k", "1.2M"): digits, one
// point and a closing k or M, never more than a 32-bit whole number can hold. Other characters
// pasted are dropped, so "95,000" becomes 95000.
class ShortNumber : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        static const QRegularExpression allowed(R"([^0-9.kKmM])");
        static const QRegularExpression figure(R"(^(\d*\.?\d*)([kKmM]?)$)");
        const qsizetype before = input.left(pos).count(allowed);
        input.remove(allowed);
        pos -= static_cast<int>(before);
        const QRegularExpressionMatch match = figure.match(input);
        if (!match.hasMatch()) return Invalid;
        const QString unit = match.captured(2).toLower();
        const double times = unit == "k" ? 1e3 : unit == "m" ? 1e6 : 1;
        return match.captured(1).toDouble() * times <= 2147483647.0 ? Acceptable : Invalid;
    }
};

QString qs(const std::string& text) { return QString::fromStdString(text); }

// A label breaks its line at each "|"; the text as the program set it is kept for reading back
// while it shows other than that.
void setLabelText(QLabel* label, const std::string& text) {
    const QString given = qs(text);
    const QString shown = QString(given).replace('|', '\n');
    if (label->text() == shown && !shown.contains('\n')) return;
    if (shown.contains('\n') || label->text().contains('\n')) label->setProperty("raw", given);
    label->setText(shown);
    fitText(label);
}

template <class W>
W* place(Form& form, int32_t id, W* widget, double col, double row, double width, double height) {
    placeControl(form, id, widget, col, row, width, height);
    return widget;
}

// In a dialog the button with the focus is drawn as its default, so the button that Enter
// presses shows as such from the moment the dialog opens.
void wireButton(Form& form, int32_t id, QPushButton* button, const std::string& props) {
    button->setAutoDefault(form.modal);
    button->setFocusPolicy(tabPolicy(props));
    QObject::connect(button, &QPushButton::clicked, button, [name = form.name, id] {
        if (settings().commandEvents) dispatch(name, id, EZ_MSG_CLICK);
    });
}

}  // namespace

// Places a new control on the form being designed, in the current font, colours and layer.
void placeControl(Form& form, int32_t id, QWidget* widget, double col, double row, double width,
                  double height) {
    QFont font = settings().customFont.value_or(fontFor(settings().font));
    if (font != widget->font()) widget->setFont(font);
    widget->setGeometry(px(col, true), px(row, false), px(width, true), px(height, false));
    setGivenFont(widget, font);
    applyColours(widget, settings().foreground, settings().background);
    if (QWidget* old = form.controls[id]) old->deleteLater();
    form.controls[id] = widget;
    form.layers[id] = settings().layer;
    watchControl(form, id, widget);
    widget->show();
}

// The form whose controls are being created, after its loading event for the control.
Form* beginControl(int32_t id) {
    Form* form = designForm();
    if (form && settings().loadingEvents) dispatch(form->name, id, EZ_MSG_LOADING);
    return designForm();
}

}  // namespace gui

using gui::has;
using gui::qs;

void EZ_LABEL(int32_t id, double col, double row, double width, double height, const std::string& text,
              const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* label = gui::place(*form, id, new QLabel(form->client), col, row, width, height);
    gui::setLabelText(label, text);
    Qt::Alignment horizontal = has(props, 'L')   ? Qt::AlignLeft
                               : has(props, 'C') ? Qt::AlignHCenter
                                                 : Qt::AlignRight;
    label->setAlignment(horizontal | Qt::AlignVCenter);
    if (has(props, 'F')) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(3);
    }
}

void EZ_TEXT(int32_t id, double col, double row, double width, double height, const std::string& text,
             const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    bool editable = has(props, 'E');
    if (has(props, 'M')) {
        auto* box =
            gui::place(*form, id, new gui::TextOnly<QPlainTextEdit>(qs(text), form->client), col, row, width, height);
        box->setTabChangesFocus(true);
        box->setReadOnly(!editable);
        box->setVerticalScrollBarPolicy(has(props, 'V') ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        box->setFocusPolicy(gui::tabPolicy(props));
        QObject::connect(box, &QPlainTextEdit::textChanged, box,
                         [name = form->name, id] { gui::dispatch(name, id, EZ_MSG_CHANGE); });
        return;
    }
    auto* box = gui::place(*form, id, new QLineEdit(qs(text), form->client), col, row, width, height);
    box->setCursorPosition(0);
    gui::fitText(box);
    QObject::connect(box, &QLineEdit::textChanged, box, [box] { gui::fitText(box); });
    box->setReadOnly(!editable);
    if (has(props, 'K')) box->setValidator(new gui::ShortNumber(box));
    else if (has(props, 'N')) box->setValidator(new gui::WholeNumber(box));
    else if (has(props, 'U')) box->setValidator(new gui::UpperCase(box));
    else box->setValidator(new gui::OneLine(box));
    box->setAlignment((has(props, '>') ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    box->setFocusPolicy(gui::tabPolicy(props));
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [name = form->name, id] { gui::dispatch(name, id, EZ_MSG_CHANGE); });
}

void EZ_CHECKBOX(int32_t id, double col, double row, double width, double height, const std::string& text,
                 const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* box = gui::place(*form, id, new QCheckBox(qs(text), form->client), col, row, width, height);
    gui::fitText(box);
    box->setFocusPolicy(gui::tabPolicy(props));
    // Every change the user makes is a click, a screen reader's "Toggle" as much as the mouse;
    // EZ_SETCHECK changes it without a signal.
    QObject::connect(box, &QCheckBox::toggled, box, [name = form->name, id] {
        if (gui::settings().commandEvents) gui::dispatch(name, id, EZ_MSG_CLICK);
    });
}

void EZ_BUTTON(int32_t id, double col, double row, double width, double height, const std::string& text,
               const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* button = gui::place(*form, id, new QPushButton(qs(text), form->client), col, row, width, height);
    gui::wireButton(*form, id, button, props);
}

void EZ_ODBUTTON(int32_t id, double col, double row, double width, double height, const std::string& text,
                 const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* button = gui::place(*form, id, new gui::OwnerButton(form->name, id, qs(text), form->client), col,
                              row, width, height);
    gui::wireButton(*form, id, button, props);
}

// A frame only groups the controls around it: it stays behind them and lets the pointer through.
void EZ_FRAME(int32_t id, double col, double row, double width, double height, const std::string& text,
              const std::string&) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* frame = gui::place(*form, id, new QGroupBox(qs(text), form->client), col, row, width, height);
    frame->setFocusPolicy(Qt::NoFocus);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->lower();
}

void EZ_PANEL(int32_t id, double col, double row, double width, double height, const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* panel = gui::place(*form, id, new QFrame(form->client), col, row, width, height);
    if (has(props, 'F')) panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    if (has(props, 'I')) {
        QPalette shade = panel->palette();
        shade.setColor(QPalette::Window, shade.color(QPalette::Window).darker(106));
        panel->setPalette(shade);
        panel->setAutoFillBackground(true);
    }
    panel->setFocusPolicy(Qt::NoFocus);
    panel->setAttribute(Qt::WA_TransparentForMouseEvents);
    panel->lower();
    // A label placed across the panel's frame, as a heading, is drawn on its own background over
    // the frame, which then stops short of its text instead of running through it.
    if (!has(props, 'F')) return;
    const QRect inside = panel->geometry().adjusted(2, 2, -2, -2);
    for (const auto& [other, control] : form->controls) {
        auto* label = qobject_cast<QLabel*>(control.data());
        if (label && label->geometry().intersects(panel->geometry()) && !inside.contains(label->geometry()))
            label->setAutoFillBackground(true);
    }
}

void EZ_STATUSBAR(int32_t id, const std::string& text) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* bar = new QStatusBar(form->window);
    bar->setSizeGripEnabled(false);
    bar->setFont(gui::fontFor(gui::settings().font));
    auto* part = new QLabel(qs(text), bar);
    part->setProperty("raw", qs(text));
    bar->addWidget(part, 1);
    form->statusBar = bar;
    form->controls[id] = bar;
    gui::watchControl(*form, id, bar);
}

std::string EZ_GETTEXT(const std::string& form, int32_t id) {
    if (id == 0) {
        gui::Form* f = gui::findForm(form);
        return f ? f->window->windowTitle().toStdString() : "";
    }
    QWidget* widget = gui::findControl(form, id);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text().toStdString();
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) return box->toPlainText().toStdString();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        // Only a label that breaks its lines shows other than the text it was given.
        if (!label->text().contains('\n')) return label->text().toStdString();
        QVariant raw = label->property("raw");
        return (raw.isValid() ? raw.toString() : label->text()).toStdString();
    }
    if (auto* view = qobject_cast<QTextEdit*>(widget)) return view->toPlainText().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title().toStdString();
    if (qobject_cast<QStatusBar*>(widget)) return EZ_GETSBTEXT(form, id, 1);
    return "";
}

// Setting a text box's text reports a text change, as a user's typing does.
void EZ_SETTEXT(const std::string& form, int32_t id, const std::string& text) {
    if (id == 0) {
        if (gui::Form* f = gui::findForm(form)) f->window->setWindowTitle(qs(text));
        return;
    }
    QWidget* widget = gui::findControl(form, id);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        // The same text again changes nothing, and reports nothing.
        const QString given = qs(text);
        if (box->text() == given) return;
        box->setText(given);
        // A box the user is not typing in shows the start of its text, as a native box does.
        if (!box->hasFocus()) box->setCursorPosition(0);
    }
    else if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
        box->setPlainText(qs(text));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        gui::setLabelText(label, text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qs(text));
        gui::fitText(button);
    }
    else if (auto* frame = qobject_cast<QGroupBox*>(widget))
        frame->setTitle(qs(text));
    else if (qobject_cast<QStatusBar*>(widget))
        EZ_SETSBTEXT(form, id, 1, text);
}

int32_t EZ_GETCHECK(const std::string& form, int32_t id) {
    auto* box = qobject_cast<QAbstractButton*>(gui::findControl(form, id));
    return box && box->isChecked() ? 1 : 0;
}

// Unlike a user's click, setting the check state reports nothing.
void EZ_SETCHECK(const std::string& form, int32_t id, int32_t checked) {
    if (auto* box = qobject_cast<QCheckBox*>(gui::findControl(form, id))) {
        const QSignalBlocker quiet(box);
        box->setChecked(checked != 0);
    }
}

void EZ_ENABLEC(const std::string& form, int32_t id) {
    if (QWidget* widget = gui::findControl(form, id)) widget->setEnabled(true);
}

void EZ_DISABLEC(const std::string& form, int32_t id) {
    if (QWidget* widget = gui::findControl(form, id)) widget->setEnabled(false);
}

bool EZ_ISENABLED(const std::string& form, int32_t id) {
    QWidget* widget = gui::findControl(form, id);
    return widget && widget->isEnabled();
}

void EZ_SHOWC(const std::string& form, int32_t id, int32_t visible) {
    if (QWidget* widget = gui::findControl(form, id)) widget->setVisible(visible != 0);
}

bool EZ_ISVISIBLE(const std::string& form, int32_t id) {
    QWidget* widget = gui::findControl(form, id);
    return widget && !widget->isHidden();
}

// The program moves the focus as the keyboard does, so the control shows its focus frame.
void EZ_FOCUS(const std::string& form, int32_t id) {
    QWidget* widget = gui::findControl(form, id);
    if (!widget) return;
    widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    widget->setFocus(Qt::TabFocusReason);
}

int32_t EZ_GETFOCUS(const std::string& form) {
    gui::Form* f = gui::findForm(form);
    if (!f) return -1;
    for (QWidget* focus = f->window->focusWidget(); focus; focus = focus->parentWidget()) {
        int32_t id = gui::controlId(*f, focus);
        if (id >= 0) return id;
    }
    return -1;
}

void EZ_SETCOLOR(const std::string& form, int32_t id, int32_t foreground, int32_t background) {
    if (QWidget* widget = gui::findControl(form, id)) gui::applyColours(widget, foreground, background);
}

void EZ_SETACCESSNAME(const std::string& form, int32_t id, const std::string& name) {
    QWidget* widget = gui::findControl(form, id);
    if (widget && widget->accessibleName() != qs(name)) widget->setAccessibleName(qs(name));
}

void EZ_PICTURE(int32_t id, double col, double row, double width, double height, const std::string& file,
                const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* picture = gui::place(*form, id, new QLabel(form->client), col, row, width, height);
    QPixmap image(gui::imagePath(file));
    picture->setAlignment(Qt::AlignCenter);
    picture->setScaledContents(has(props, 'S'));
    picture->setPixmap(image);
    if (has(props, 'F')) picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    if (has(props, 'R')) picture->setFrameStyle(QFrame::Panel | QFrame::Raised);
}

void EZ_PROGRESSBAR(int32_t id, double col, double row, double width, double height) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* bar = gui::place(*form, id, new QProgressBar(form->client), col, row, width, height);
    bar->setTextVisible(false);
    bar->setValue(0);
    bar->setFocusPolicy(Qt::NoFocus);
}

void EZ_SETPBAR(const std::string& form, int32_t id, int32_t minimum, int32_t maximum, int32_t position) {
    auto* bar = qobject_cast<QProgressBar*>(gui::findControl(form, id));
    if (!bar) return;
    if (bar->minimum() != minimum || bar->maximum() != maximum) bar->setRange(minimum, maximum);
    bar->setValue(std::clamp(position, minimum, std::max(minimum, maximum)));
}

void EZ_PICTURESIZE(const std::string& file, int32_t& width, int32_t& height) {
    QImageReader reader(gui::imagePath(file));
    QSize size = reader.size();
    width = size.isValid() ? size.width() : 0;
    height = size.isValid() ? size.height() : 0;
}

void EZ_SETSBPARTS(const std::string& form, int32_t id, const std::string& widths) {
    auto* bar = qobject_cast<QStatusBar*>(gui::findControl(form, id));
    if (!bar) return;
    QList<QLabel*> parts = bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QLabel* part : parts) {
        bar->removeWidget(part);
        part->setProperty("gone", true);
        part->deleteLater();
    }
    for (const QString& share : qs(widths).split('|')) {
        auto* part = new QLabel(bar);
        part->setFont(bar->font());
        bar->addWidget(part, std::max(1, share.trimmed().toInt()));
        part->show();
    }
}

static QLabel* statusPart(const std::string& form, int32_t id, int32_t part) {
    auto* bar = qobject_cast<QStatusBar*>(gui::findControl(form, id));
    if (!bar) return nullptr;
    QList<QLabel*> parts;
    for (QLabel* label : bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (!label->property("gone").toBool()) parts.push_back(label);
    return part >= 1 && part <= parts.size() ? parts[part - 1] : nullptr;
}

// A text that starts with a tab is centred in its part, as a Windows status bar shows it.
void EZ_SETSBTEXT(const std::string& form, int32_t id, int32_t part, const std::string& text) {
    QLabel* label = statusPart(form, id, part);
    if (!label) return;
    QString shown = qs(text);
    label->setAlignment((shown.startsWith('\t') ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    label->setProperty("raw", shown);
    label->setText(shown.startsWith('\t') ? shown.mid(1) : shown);
}

std::string EZ_GETSBTEXT(const std::string& form, int32_t id, int32_t part) {
    QLabel* label = statusPart(form, id, part);
    return label ? label->property("raw").toString().toStdString() : "";
}
