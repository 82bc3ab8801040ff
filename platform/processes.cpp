#include "platform/processes.h"

#include <sys/stat.h>
#include <unistd.h>

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

bool OS_MAKEEXECUTABLE(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && ::chmod(path.c_str(), (info.st_mode & 07777) | S_IXUSR) == 0;
}

std::string OS_FIRSTARGUMENT() {
    const QStringList arguments = QCoreApplication::arguments();
    return arguments.size() > 1 ? arguments[1].toStdString() : "";
}

bool OS_OPENWEBPAGE(const std::string& url) { return QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

std::string OS_OWNEXECUTABLE() {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && static_cast<size_t>(length) < sizeof path ? std::string(path, static_cast<size_t>(length)) : "";
}
