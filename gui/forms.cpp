// Forms: creation with the design callback, showing, modality, closing.
#include <algorithm>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "gui/registry.h"

namespace gui {

FormWindow::FormWindow(const std::string& name, QWidget* parent) : QDialog(parent), formName(name) {}

// The close box and EZ_UNLOADFORM both arrive here: the program may keep the form open.
void FormWindow::closeEvent(QCloseEvent* event) {
    if (!closing) {
        int32_t value = 0;
        int32_t cancel = 0;
        asking = true;
        dispatch(formName, 0, EZ_MSG_CLOSE, value, cancel);
        asking = false;
        if (cancel == 1 || !findForm(formName)) {
            event->ignore();
            return;
        }
    }
    closing = true;
    event->accept();
    Form* form = findForm(formName);
    bool modal = form && form->modal;
    // Forms owned by this one go with it.
    for (const std::string& other : formNames()) {
        Form* child = findForm(other);
        if (child && child->window && child->window->parentWidget() == this) {
            child->window->closing = true;
            child->window->close();
        }
    }
    forgetForm(formName);
    if (modal) {
        done(0);
    } else {
        hide();
        deleteLater();
    }
    if (formNames().empty()) lastFormGone();
}

// A second close request while the program decides on the first (its question is open) is
// refused: Qt would otherwise take it as granted and destroy the window the program keeps.
bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (asking && watched == windowHandle() && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Enter and Escape belong to the program's handlers, not to the dialog's defaults.
void FormWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter: event->accept(); return;
        default: QDialog::keyPressEvent(event);
    }
}

void FormWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    windowHandle()->installEventFilter(this);
    Form* form = findForm(formName);
    if (!form || form->shownOnce) return;
    form->shownOnce = true;
    // Reported once the window is on screen and the event loop runs again.
    std::string name = formName;
    QTimer::singleShot(0, this, [name] {
        if (findForm(name)) dispatch(name, 0, EZ_MSG_SHOWN);
    });
}

void FormWindow::changeEvent(QEvent* event) {
    // Modal forms stay in the order they were opened: the last one is over the others.
    Form* form = findForm(formName);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && form && !form->modal)
        noteActive(formName);
    QDialog::changeEvent(event);
}

namespace {

// Room the window manager's title bar and borders take around a window, in logical pixels.
constexpr int kFrameWidth = 12;
constexpr int kFrameHeight = 40;

QRect screenArea(QWidget* parent) {
    if (!settings().screenArea.isEmpty()) return settings().screenArea;
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    return screen->availableGeometry();
}

QPoint placeOf(QWidget* window, QWidget* parent, double col, double row, bool centre) {
    QSize size = window->size();
    QPoint place{px(col, true), px(row, false)};
    if (centre) {
        QRect area = parent ? parent->frameGeometry() : screenArea(parent);
        place = area.center() - QPoint(size.width() / 2, size.height() / 2);
    }
    // Title bar, menus and buttons stay on the screen.
    const QRect area = screenArea(parent);
    place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width() - kFrameWidth)));
    place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height() - kFrameHeight)));
    return place;
}

// A form larger than the screen's available area opens inside it, its content scrolling; one
// that fits keeps its design size.
void fitToScreen(Form& form, QWidget* parent) {
    const QRect area = screenArea(parent);
    const QSize room(area.width() - kFrameWidth, area.height() - kFrameHeight);
    QWidget* window = form.window;
    const QSize design = window->size();
    if (design.width() <= room.width() && design.height() <= room.height()) return;
    auto* layout = static_cast<QVBoxLayout*>(window->layout());
    auto* scroll = new QScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    delete layout->replaceWidget(form.client, scroll);
    scroll->setWidget(form.client);
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    window->setMinimumSize(0, 0);  // the fixed size the layout set before
    window->setMaximumSize(room);
    // Room for the scroll bar of the side that scrolls, so that the other side need not.
    const int bar = scroll->verticalScrollBar()->sizeHint().width() + 2;
    const bool tall = design.height() > room.height(), wide = design.width() > room.width();
    const QSize wanted(design.width() + (tall ? bar : 0), design.height() + (wide ? bar : 0));
    if (wanted.width() <= room.width()) scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (wanted.height() <= room.height()) scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    window->resize(wanted.boundedTo(room));
}

}  // namespace
}  // namespace gui

void EZ_FORM(const std::string& name, const std::string& parent, const std::string& caption, double col,
             double row, double width, double height, const std::string& props) {
    using namespace gui;
    if (Form* existing = findForm(name)) {
        existing->window->raise();
        existing->window->activateWindow();
        return;
    }
    Form* owner = findForm(parent);
    auto* window = new FormWindow(name, owner ? owner->window.data() : nullptr);
    Form& form = registerForm(name);
    form.window = window;
    form.modal = has(props, 'M');
    window->setWindowTitle(QString::fromStdString(caption));
    window->setWindowFlags(form.modal ? Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowCloseButtonHint
                                      : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    applyColours(window, settings().foreground, settings().background);

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    form.client = new QWidget(window);
    form.client->setFixedSize(px(width, true), px(height, false));
    layout->addWidget(form.client);
    attachPendingMenu(form);
    if (form.menuBar) layout->setMenuBar(form.menuBar);
    watchForm(form);

    if (settings().loadingEvents) dispatch(name, 0, EZ_MSG_LOADING);
    Form* outer = designForm();
    setDesignForm(&form);
    settings().layer = 0;
    if (settings().design) settings().design(name);
    settings().layer = 0;
    setDesignForm(outer);
    if (!findForm(name)) return;
    // A status bar takes its room from the bottom of the form, as on Windows.
    if (form.statusBar) {
        layout->addWidget(form.statusBar);
        form.client->setFixedHeight(form.client->height() - form.statusBar->sizeHint().height());
    }
    dispatch(name, 0, EZ_MSG_STARTED);
    if (!findForm(name)) return;

    window->adjustSize();
    fitToScreen(form, owner ? owner->window.data() : nullptr);
    window->move(placeOf(window, owner ? owner->window.data() : nullptr, col, row, has(props, 'C')));
    if (form.modal) {
        // Modal over the forms it belongs to, not over other windows: help opened from a dialog
        // takes clicks and scrolling while the dialog is open.
        window->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
        enterWait();
        window->exec();
        leaveWait();
        delete window;
    } else {
        window->show();
    }
}

void EZ_UNLOADFORM(const std::string& name) {
    if (gui::Form* form = gui::findForm(name)) form->window->close();
}

void EZ_HIDEFORM(const std::string& name) {
    if (gui::Form* form = gui::findForm(name)) form->window->hide();
}

void EZ_SHOWFORM(const std::string& name) {
    if (gui::Form* form = gui::findForm(name)) form->window->show();
}

void EZ_SETFORMICON(const std::string& name, int32_t icon) {
    if (gui::Form* form = gui::findForm(name)) form->window->setWindowIcon(gui::iconFor(icon));
}

void EZ_FORMSIZE(const std::string& name, double& width, double& height) {
    gui::Form* form = gui::findForm(name);
    width = form ? form->client->width() / gui::kColumnPixels : 0;
    height = form ? form->client->height() / gui::kRowPixels : 0;
}

void EZ_RESIZEFORM(const std::string& name, double col, double row, double width, double height) {
    gui::Form* form = gui::findForm(name);
    if (!form) return;
    form->client->setFixedSize(gui::px(width, true), gui::px(height, false));
    form->window->adjustSize();
    if (col != 0 || row != 0) form->window->move(gui::px(col, true), gui::px(row, false));
}

void EZ_SETFORMKEYS(const std::string& name, int32_t mode) {
    if (gui::Form* form = gui::findForm(name)) form->keyEvents = mode != 0;
}

void EZ_BRINGTOFRONT(const std::string& name) {
    gui::Form* form = gui::findForm(name);
    if (!form) return;
    form->window->raise();
    form->window->activateWindow();
    gui::noteActive(name);
}
