// The forms by name and their controls by id, and the hand-over of events.
#include "gui/registry.h"

#include <QApplication>
#include <algorithm>
#include <memory>

namespace gui {
namespace {

std::map<std::string, std::unique_ptr<Form>> forms;
// Forms in the order they were last activated; the last one is the current form.
std::vector<std::string> activation;

Form* designing = nullptr;

}  // namespace

Settings& settings() {
    static Settings state;
    return state;
}

Form* findForm(const std::string& name) {
    auto it = forms.find(name);
    if (it == forms.end() || !it->second->window) return nullptr;
    return it->second.get();
}

Form* designForm() { return designing; }
void setDesignForm(Form* form) { designing = form; }

QWidget* findControl(const std::string& form, int32_t id) {
    Form* f = findForm(form);
    if (!f) return nullptr;
    auto it = f->controls.find(id);
    return it == f->controls.end() ? nullptr : it->second.data();
}

int32_t controlId(const Form& form, const QWidget* widget) {
    for (const auto& [id, control] : form.controls)
        if (control == widget) return id;
    return -1;
}

Form& registerForm(const std::string& name) {
    auto& slot = forms[name];
    slot = std::make_unique<Form>();
    slot->name = name;
    slot->serial = nextFormSerial();
    noteActive(name);
    return *slot;
}

void forgetForm(const std::string& name) {
    auto& order = activation;
    order.erase(std::remove(order.begin(), order.end(), name), order.end());
    auto it = forms.find(name);
    if (it == forms.end()) return;
    if (designing == it->second.get()) designing = nullptr;
    forms.erase(it);
}

std::vector<std::string> formNames() {
    std::vector<std::string> names;
    for (const auto& [name, form] : forms)
        if (form->window) names.push_back(name);
    return names;
}

void noteActive(const std::string& name) {
    auto& order = activation;
    order.erase(std::remove(order.begin(), order.end(), name), order.end());
    order.push_back(name);
}

void dispatch(const std::string& form, int32_t id, int32_t message, int32_t& value, int32_t& cancel) {
    if (!settings().events) return;
    std::string name = form;
    enterHandler();
    settings().events(name, id, message, value, cancel);
    leaveHandler();
}

void dispatch(const std::string& form, int32_t id, int32_t message) {
    int32_t value = 0;
    int32_t cancel = 0;
    dispatch(form, id, message, value, cancel);
}

}  // namespace gui

// A modal form open over others is the current one, whatever the window system has yet
// activated; otherwise the active form, or the one activated last.
std::string EZ_CURRENTFORM() {
    auto& order = gui::activation;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (gui::Form* form = gui::findForm(*it); form && form->modal) return *it;
    if (auto* window = qobject_cast<gui::FormWindow*>(QApplication::activeWindow()))
        if (gui::findForm(window->formName)) return window->formName;
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (gui::findForm(*it)) return *it;
    return "";
}

bool EZ_FORMEXISTS(const std::string& name) { return gui::findForm(name) != nullptr; }
