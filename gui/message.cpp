// The library's own message box: a plain system message box, for the one message the program
// does not show in its formatted box.
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "gui/registry.h"

int32_t EZ_MSGBOX(const std::string& form, const std::string& text, const std::string& caption,
                  const std::string& buttons) {
    gui::Form* over = gui::findForm(form);
    QMessageBox box(over ? over->window.data() : nullptr);
    box.setWindowTitle(QString::fromStdString(caption));
    QString shown = QString::fromStdString(text);
    if (shown.contains("{!}")) {
        shown.remove("{!}");
        box.setIcon(QMessageBox::Warning);
    }
    box.setText(shown);
    std::vector<QAbstractButton*> added;
    for (const QString& label : QString::fromStdString(buttons).split('|', Qt::SkipEmptyParts))
        added.push_back(box.addButton(label, QMessageBox::AcceptRole));
    box.exec();
    const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
    return chosen == added.end() ? 0 : static_cast<int32_t>(chosen - added.begin()) + 1;
}
