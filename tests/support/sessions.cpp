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

int runRequestedSession(int argc, char** argv) {
    const std::string prefix = "--session=";
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind(prefix, 0) != 0) continue;
        auto it = sessions().find(argument.substr(prefix.size()));
        return it == sessions().end() ? 2 : it->second();
    }
    return -1;
}

void startProgram() {
    EZ_GUIINIT(EZ_EVENTS, EZ_DESIGN);
    EZ_MAIN(0);
    driver::SETTLE();
}

int runSessionIn(const std::string& folder, const std::string& name) {
    QString program = QDir(QString::fromStdString(folder)).filePath("tarvex_session");
    if (!QFile::exists(program) && !QFile::copy(QCoreApplication::applicationFilePath(), program)) return 3;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, {QString::fromStdString("--session=" + name)});
    if (!process.waitForFinished(60000)) {
        process.kill();
        return 4;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 5;
}
