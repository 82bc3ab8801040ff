// What screen readers learn of the forms: a form is a window, or a dialog when it is modal;
// a label gives its shown text as its value and through the text interface, so that one named
// for what it is ("WAAA share of audience") still reads out the figure it shows.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include "gui/registry.h"

namespace gui {
namespace {

class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(FormWindow* window)
        : QAccessibleWidget(window, QAccessible::Window), window_(window) {}
    QAccessible::Role role() const override {
        Form* form = findForm(window_->formName);
        return form && form->modal ? QAccessible::Dialog : QAccessible::Window;
    }

private:
    FormWindow* window_;
};

class LabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return shown();
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) return shown();
        return QAccessibleWidget::text(kind);
    }

    // The text interface: read-only, no selection, no cursor.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QString shown() const { return static_cast<const QLabel*>(object())->text(); }
};

QAccessibleInterface* formsAndLabels(const QString& className, QObject* object) {
    if (className == "gui::FormWindow") return new FormAccessible(static_cast<FormWindow*>(object));
    auto* label = qobject_cast<QLabel*>(object);
    if (className == "QLabel" && label && label->property("ezForm").isValid() && label->pixmap().isNull())
        return new LabelAccessible(label);
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(formsAndLabels);
}

}  // namespace gui

void EZ_SETACCESSDESCRIPTION(const std::string& form, int32_t id, const std::string& description) {
    QWidget* widget = gui::findControl(form, id);
    const QString text = QString::fromStdString(description);
    if (widget && widget->accessibleDescription() != text) widget->setAccessibleDescription(text);
}
