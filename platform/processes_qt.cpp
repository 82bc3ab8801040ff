#include "platform/processes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

bool OS_STARTPROGRAM(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

std::string OS_FIRSTARGUMENT() {
    const QStringList arguments = QCoreApplication::arguments();
    return arguments.size() > 1 ? arguments[1].toStdString() : "";
}

bool OS_OPENWEBPAGE(const std::string& url) { return QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }
