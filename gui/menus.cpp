// Menus by handle and item id, and keyboard accelerators.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <vector>

#include "gui/registry.h"

namespace gui {
namespace {

// A menu bar or a drop-down; a drop-down knows the bar it hangs from, a bar its form.
struct Menu {
    QPointer<QWidget> widget;
    int32_t bar = 0;
    std::string form;
};

std::vector<Menu> menus;

int32_t pendingBar = 0;

Menu* menuAt(int32_t handle) {
    if (handle < 1 || handle > static_cast<int32_t>(menus.size())) return nullptr;
    Menu& menu = menus[handle - 1];
    return menu.widget ? &menu : nullptr;
}

int32_t remember(QWidget* widget) {
    menus.push_back({widget, 0, ""});
    return static_cast<int32_t>(menus.size());
}

std::string formOfMenu(int32_t handle) {
    Menu* menu = menuAt(handle);
    if (menu && menu->bar) menu = menuAt(menu->bar);
    return menu ? menu->form : "";
}

QAction* findItem(int32_t handle, int32_t id) {
    Menu* menu = menuAt(handle);
    if (!menu) return nullptr;
    for (QAction* action : menu->widget->actions())
        if (action->property("ezId").toInt() == id) return action;
    return nullptr;
}

void addItem(int32_t handle, int32_t id, const std::string& caption) {
    Menu* menu = menuAt(handle);
    if (!menu) return;
    // "-" is a separator: a line with no text, which a screen reader does not announce.
    const bool separator = caption == "-";
    auto* action = new QAction(separator ? QString() : QString::fromStdString(caption), menu->widget);
    action->setSeparator(separator);
    action->setProperty("ezId", id);
    QObject::connect(action, &QAction::triggered, action, [handle, id] {
        std::string form = formOfMenu(handle);
        if (!form.empty() && settings().commandEvents) dispatch(form, id, EZ_MSG_CLICK);
    });
    menu->widget->addAction(action);
}

}  // namespace

void attachPendingMenu(Form& form) {
    Menu* bar = menuAt(pendingBar);
    pendingBar = 0;
    if (!bar) return;
    bar->form = form.name;
    form.menuBar = static_cast<QMenuBar*>(bar->widget.data());
    form.menuBar->setParent(form.window);
    form.savedMenus[0] = static_cast<int32_t>(bar - menus.data()) + 1;
}

}  // namespace gui

void EZ_DEFMAINMENU(int32_t id, const std::string& caption) {
    gui::pendingBar = gui::remember(new QMenuBar());
    gui::addItem(gui::pendingBar, id, caption);
}

int32_t EZ_GETMENU(const std::string& form, int32_t number) {
    gui::Form* f = gui::findForm(form);
    if (!f) return 0;
    auto it = f->savedMenus.find(number);
    return it == f->savedMenus.end() ? 0 : it->second;
}

int32_t EZ_DEFSUBMENU(int32_t id, const std::string& caption) {
    int32_t handle = gui::remember(new QMenu());
    gui::addItem(handle, id, caption);
    return handle;
}

void EZ_ADDMENUITEM(int32_t menu, int32_t id, const std::string& caption, const std::string& props) {
    gui::addItem(menu, id, caption);
    EZ_SETMENUITEM(menu, id, caption, props);
}

void EZ_SETSUBMENU(int32_t menu, int32_t id, int32_t submenu) {
    QAction* item = gui::findItem(menu, id);
    gui::Menu* drop = gui::menuAt(submenu);
    if (!item || !drop) return;
    auto* popup = static_cast<QMenu*>(drop->widget.data());
    popup->setParent(gui::menuAt(menu)->widget, popup->windowFlags());
    popup->setTitle(item->text());
    item->setMenu(popup);
    drop->bar = menu;
}

void EZ_SAVEMENU(const std::string& form, int32_t number, int32_t menu) {
    if (gui::Form* f = gui::findForm(form)) f->savedMenus[number] = menu;
}

// "X" in the properties sets the item's check mark; without it the mark is removed.
void EZ_SETMENUITEM(int32_t menu, int32_t id, const std::string& caption, const std::string& props) {
    QAction* item = gui::findItem(menu, id);
    if (!item) return;
    bool checked = gui::has(props, 'X');
    if (!item->isSeparator()) item->setText(QString::fromStdString(caption));
    item->setCheckable(checked || item->isCheckable());
    item->setChecked(checked);
}

bool EZ_MENUCHECKED(int32_t menu, int32_t id) {
    QAction* item = gui::findItem(menu, id);
    return item && item->isChecked();
}

// Keys as "F1,911": a key name and the control id its click reports; pairs may repeat.
void EZ_DEFACCEL(const std::string& form, const std::string& keys) {
    gui::Form* f = gui::findForm(form);
    if (!f) return;
    QStringList parts = QString::fromStdString(keys).split(',');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QKeySequence sequence(parts[i].trimmed());
        int32_t id = parts[i + 1].trimmed().toInt();
        if (sequence.isEmpty()) continue;
        auto* shortcut = new QShortcut(sequence, f->window);
        QObject::connect(shortcut, &QShortcut::activated, shortcut, [name = form, id] {
            if (gui::settings().commandEvents) gui::dispatch(name, id, EZ_MSG_CLICK);
        });
    }
}
