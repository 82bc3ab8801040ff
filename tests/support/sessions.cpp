#include "tests/support/sessions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <map>

#include "app/routing.h"
#include "app/startup.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"

namespace {

std::map<std::string, std::function<int()>>& sessions() {
    static std::map<std::string, std::function<int()>> all;
    return all;
}

}  // namespace

bool registerSession(const std::string& name, std::function<int()> body) {
    sessions()[name] = std::move(body);
    return true;
}

int runRequestedSession() {
    const QByteArray name = qgetenv("TARVEX_SESSION");
    if (name.isEmpty()) return -1;
    auto it = sessions().find(name.toStdString());
    return it == sessions().end() ? 2 : it->second();
}

void startProgram() {
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    EZ_MAIN(0);
    driver::SETTLE();
}

bool runUntilClosed(int timeoutMs) {
    return driver::WAITFOR([] { return !EZ_FORMEXISTS("RI"); }, timeoutMs);
}

std::string sessionProgram(const std::string& folder) {
    return QDir(QString::fromStdString(folder)).filePath("tarvex_session").toStdString();
}

int runSessionIn(const std::string& folder, const std::string& name, const SessionRun& run) {
    const QString program = QString::fromStdString(sessionProgram(folder));
    if (!QFile::exists(program) && !QFile::copy(QCoreApplication::applicationFilePath(), program)) return 3;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder));
    env.insert("TARVEX_SESSION", QString::fromStdString(name));
    for (const auto& [key, value] : run.environment)
        env.insert(QString::fromStdString(key), QString::fromStdString(value));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments;
    for (const std::string& argument : run.wrapper) arguments << QString::fromStdString(argument);
    arguments << program;
    for (const std::string& argument : run.arguments) arguments << QString::fromStdString(argument);
    process.start(arguments.takeFirst(), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        return 4;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 5;
}
