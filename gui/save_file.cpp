// The question for the name of a file to write: Qt's own file dialog, the same on every platform
// and on the offscreen one, so the tests answer it as a user does.
#include <QFileDialog>
#include <QPointer>
#include <QRegularExpression>

#include "gui/registry.h"

namespace {

// The extension a filter such as "CSV files (*.csv)" names; empty for "All files (*)".
QString extensionOf(const QString& filter) {
    static const QRegularExpression pattern(R"(\*\.(\w+))");
    return pattern.match(filter).captured(1);
}

}  // namespace

std::string EZ_SAVEFILENAME(const std::string& form, const std::string& caption, const std::string& suggested,
                            const std::string& filter) {
    gui::Form* over = gui::findForm(form);
    QPointer<QFileDialog> dialog = new QFileDialog(over ? over->window.data() : nullptr, QString::fromStdString(caption),
                                                   QString::fromStdString(suggested), QString::fromStdString(filter));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(extensionOf(dialog->selectedNameFilter()));
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog,
                     [dialog](const QString& chosen) { dialog->setDefaultSuffix(extensionOf(chosen)); });
    if (over) dialog->setWindowModality(Qt::WindowModal);
    // While the user answers, the forms underneath keep what the caller is using (see waits.cpp).
    gui::enterWait();
    const bool saved = dialog->exec() == QDialog::Accepted;
    gui::leaveWait();
    if (!dialog) return "";
    const QStringList names = dialog->selectedFiles();
    delete dialog;
    return saved && !names.isEmpty() ? names.first().toStdString() : "";
}
