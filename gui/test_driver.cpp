// The test driver: real input events sent to the real widgets.
#include "gui/test_driver.h"

#include <QAccessible>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include "gui/registry.h"

namespace driver {
namespace {

QWidget* control(const std::string& form, int32_t id) { return gui::findControl(form, id); }

// Where a user would click: a tick box on its box, anything else in its middle.
QPoint target(QWidget* widget) {
    if (qobject_cast<QCheckBox*>(widget)) return {8, widget->height() / 2};
    return widget->rect().center();
}

void activate(const std::string& form) {
    gui::Form* f = gui::findForm(form);
    if (!f) return;
    f->window->activateWindow();
    QApplication::setActiveWindow(f->window);
    QCoreApplication::processEvents();
}

}  // namespace

void SETTLE() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

bool WAITFOR(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    // Once seen, the condition counts: a state that flickers (the program's lock is taken, given
    // back and taken again as it starts) must not be missed by asking a second time.
    while (clock.elapsed() < timeoutMs) {
        if (condition()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return condition();
}

static QMimeData* mimeOf(const Carried& what) {
    auto* data = new QMimeData;
    if (what.text) data->setText(QString::fromStdString(*what.text));
    if (what.html) data->setHtml(QString::fromStdString(*what.html));
    if (what.image) {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        data->setImageData(picture);
    }
    return data;
}

void CLIPBOARD(const Carried& what) {
    QApplication::clipboard()->setMimeData(mimeOf(what));
    SETTLE();
}

// As a window system delivers a drag: it enters and moves over the control, which is let go of
// there only when the control accepts it.
void DROP(const std::string& form, int32_t id, const Carried& what) {
    activate(form);
    QWidget* widget = control(form, id);
    if (!widget) return;
    auto* area = qobject_cast<QAbstractScrollArea*>(widget);
    QWidget* target = area ? area->viewport() : widget;
    const std::unique_ptr<QMimeData> data(mimeOf(what));
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    if (enter.isAccepted() && move.isAccepted()) {
        QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    } else {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
    }
    SETTLE();
}

void PROGRAMFOLDER(const std::string& folder) { gui::settings().programFolder = folder; }

void SCREENAREA(int x, int y, int width, int height) { gui::settings().screenArea = QRect(x, y, width, height); }

void FOCUS(const std::string& form, int32_t id) {
    activate(form);
    if (QWidget* widget = control(form, id)) widget->setFocus(Qt::MouseFocusReason);
    SETTLE();
}

void TYPE(const std::string& form, int32_t id, const std::string& text) {
    FOCUS(form, id);
    if (QWidget* widget = control(form, id)) QTest::keyClicks(widget, QString::fromStdString(text));
    SETTLE();
}

void CLICK(const std::string& form, int32_t id) {
    activate(form);
    QWidget* widget = control(form, id);
    if (widget) QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, target(widget));
    SETTLE();
}

void PRESS(const std::string& form, int32_t id, const std::string& key) {
    activate(form);
    QWidget* widget = id ? control(form, id) : nullptr;
    if (!widget) widget = QApplication::focusWidget();
    if (!widget) {
        gui::Form* f = gui::findForm(form);
        widget = f ? f->window.data() : nullptr;
    }
    if (!widget) return;
    QKeySequence sequence(QString::fromStdString(key == "Enter" ? "Return" : key == "Escape" ? "Esc" : key));
    if (sequence.isEmpty()) return;
    QKeyCombination combination = sequence[0];
    QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
    SETTLE();
}

void HOVER(const std::string& form, int32_t id) {
    gui::Form* f = gui::findForm(form);
    if (!f) return;
    QWidget* widget = id ? control(form, id) : f->client;
    if (!widget) return;
    QPoint at = id ? widget->mapTo(f->window, target(widget)) : f->client->mapTo(f->window, QPoint(2, 2));
    // The window system reports no move to where the pointer already is: come from one pixel aside.
    QTest::mouseMove(f->window, at - QPoint(1, 0));
    QTest::mouseMove(f->window, at);
    SETTLE();
}

// As the window system asks: a close event to the window, which a second click repeats.
void CLOSEBOX(const std::string& form) {
    gui::Form* f = gui::findForm(form);
    if (f && f->window->windowHandle()) {
        QCloseEvent request;
        QCoreApplication::sendEvent(f->window->windowHandle(), &request);
    } else if (f) {
        f->window->close();
    }
    SETTLE();
}

void CHOOSEMENU(const std::string& form, int32_t id) {
    gui::Form* f = gui::findForm(form);
    if (!f || !f->menuBar) return;
    for (QAction* action : f->menuBar->findChildren<QAction*>())
        if (action->property("ezId").toInt() == id) {
            action->trigger();
            break;
        }
    SETTLE();
}

std::string TOOLTIP(const std::string& form, int32_t id) {
    // A tip still fading out from an earlier rest is not this control's.
    QToolTip::hideText();
    for (int waited = 0; QToolTip::isVisible() && waited < 2000; waited += 20) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    QWidget* widget = control(form, id);
    if (!widget) return "";
    QPoint at = target(widget);
    QHelpEvent rest(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &rest);
    SETTLE();
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : "";
}

int CENTREDISTANCE(const std::string& form, const std::string& other) {
    gui::Form* a = gui::findForm(form);
    gui::Form* b = gui::findForm(other);
    if (!a || !b) return -1;
    return (a->window->frameGeometry().center() - b->window->frameGeometry().center()).manhattanLength();
}

std::string ACCESSIBLENAME(const std::string& form, int32_t id) {
    QWidget* widget = control(form, id);
    QAccessibleInterface* accessible = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return accessible ? accessible->text(QAccessible::Name).toStdString() : "";
}

void ACCESSIBLEACTION(const std::string& form, int32_t id, const std::string& action) {
    activate(form);
    QWidget* widget = control(form, id);
    QAccessibleInterface* accessible = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    QAccessibleActionInterface* actions = accessible ? accessible->actionInterface() : nullptr;
    if (actions) actions->doAction(QString::fromStdString(action));
    SETTLE();
}

std::vector<std::vector<std::string>> KEYGROUPS(const std::string& form) {
    std::vector<std::vector<std::string>> groups(1);
    gui::Form* f = gui::findForm(form);
    if (!f) return groups;
    for (const auto& [id, widget] : f->controls) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget.data()))
            groups[0].push_back(button->text().toStdString());
        else if (auto* label = qobject_cast<QLabel*>(widget.data()); label && label->buddy())
            groups[0].push_back(label->text().toStdString());
    }
    if (!f->menuBar) return groups;
    for (QAction* item : f->menuBar->actions()) {
        groups[0].push_back(item->text().toStdString());
        if (!item->menu()) continue;
        groups.emplace_back();
        for (QAction* sub : item->menu()->actions())
            if (!sub->isSeparator()) groups.back().push_back(sub->text().toStdString());
    }
    return groups;
}

void PAINT(const std::string& form, int32_t id) {
    if (QWidget* widget = control(form, id)) widget->grab();
}

// Closes every modal form and file question, whatever its handlers say, so a waiting test goes on.
static void closeModalForms() {
    for (const std::string& name : gui::formNames()) {
        gui::Form* open = gui::findForm(name);
        if (open && open->modal) {
            open->window->closing = true;
            open->window->close();
        }
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) dialog->reject();
}

// Runs action once ready() holds, and stops watching once it has and gone() holds; at the time-out,
// closes what is modal.
static std::shared_ptr<Answer> whenReady(std::function<bool()> ready, std::function<bool()> gone,
                                         std::function<void()> action, int timeoutMs) {
    auto answer = std::make_shared<Answer>();
    // Owned by the application, so that a watch still waiting when the tests end is freed.
    auto* timer = new QTimer(QCoreApplication::instance());
    auto waited = std::make_shared<int>(0);
    auto stop = [timer] {
        timer->stop();
        timer->deleteLater();
    };
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (answer->withdrawn) return stop();
        *waited += 10;
        if (!answer->answered && ready()) {
            answer->answered = true;
            action();
        }
        if (answer->answered && gone()) return stop();
        if (*waited < timeoutMs) return;
        stop();
        answer->timedOut = true;
        closeModalForms();
    });
    timer->start(10);
    return answer;
}

std::shared_ptr<Answer> WHENOPEN(const std::string& form, std::function<void()> action, int timeoutMs) {
    return whenReady(
        [form] {
            gui::Form* f = gui::findForm(form);
            return f && f->window->isVisible() && f->shownOnce;
        },
        [form] { return !gui::findForm(form); }, std::move(action), timeoutMs);
}

static QFileDialog* fileQuestion() {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

std::shared_ptr<Answer> WHENSAVEFILE(const std::string& name, int timeoutMs) {
    auto type = [name] {
        QFileDialog* dialog = fileQuestion();
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (name.empty()) {
            QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
            return;
        }
        // The name is pasted rather than typed: typing opens the list of names that start alike,
        // which the dialog fills later from another thread and which would take the click.
        auto* box = dialog->findChild<QLineEdit*>("fileNameEdit");
        box->setText(QString::fromStdString(name));
        QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
    };
    return whenReady([] { return fileQuestion() != nullptr; }, [] { return fileQuestion() == nullptr; }, type,
                     timeoutMs);
}

static QTableView* list(const std::string& form, int32_t id) { return qobject_cast<QTableView*>(control(form, id)); }

void CLICKROW(const std::string& form, int32_t id, int32_t row, const std::string& how) {
    activate(form);
    QTableView* view = list(form, id);
    if (!view || row < 0 || row >= view->model()->rowCount()) return;
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    const QPoint point = view->visualRect(index).center();
    const Qt::KeyboardModifiers keys = how == "Ctrl"    ? Qt::ControlModifier
                                       : how == "Shift" ? Qt::ShiftModifier
                                                        : Qt::NoModifier;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, point);
    if (how == "Double") {
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, keys, point);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, keys, point);
    }
    SETTLE();
}

void CLICKHEADING(const std::string& form, int32_t id, int32_t column) {
    activate(form);
    QTableView* view = list(form, id);
    if (!view) return;
    QHeaderView* header = view->horizontalHeader();
    const QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    SETTLE();
}

std::vector<std::string> SHOWNROWS(const std::string& form, int32_t id) {
    std::vector<std::string> rows;
    QTableView* view = list(form, id);
    if (!view) return rows;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        rows.push_back(cells.join('|').toStdString());
    }
    return rows;
}

}  // namespace driver
