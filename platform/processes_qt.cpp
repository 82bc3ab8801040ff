#include <QCoreApplication>
#include <QDesktopServices>
#include <QStringList>
#include <QUrl>

#include "platform/processes.h"

std::string OS_FIRSTARGUMENT() {
    const QStringList arguments = QCoreApplication::arguments();
    return arguments.size() > 1 ? arguments[1].toStdString() : "";
}

bool OS_OPENWEBPAGE(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}
