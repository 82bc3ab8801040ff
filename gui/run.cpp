// The run loop, the application folder, icons and the event switches.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPixmap>
#include <vector>

#include "gui/registry.h"

namespace gui {
namespace {

QEventLoop* runLoop = nullptr;
std::vector<QIcon> icons;

}  // namespace

void lastFormGone() {
    if (runLoop) runLoop->quit();
}

QString imagePath(const std::string& file) {
    QString path = QString::fromStdString(file);
    if (QFileInfo(path).isRelative())
        path = QDir(QString::fromStdString(EZ_APPPATH()))
                   .filePath(QString::fromStdString(settings().imageFolder) + "/" + path);
    return path;
}

QIcon iconFor(int32_t handle) {
    if (handle < 1 || handle > static_cast<int32_t>(icons.size())) return {};
    return icons[handle - 1];
}

}  // namespace gui

int EZ_GUIRUN(int argc, char** argv, EZ_StartProc start, EZ_EventProc events, EZ_DesignProc design) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    EZ_GUIINIT(events, design);
    start(0);
    if (gui::formNames().empty()) return 0;
    QEventLoop loop;
    gui::runLoop = &loop;
    loop.exec();
    gui::runLoop = nullptr;
    return 0;
}

void EZ_GUIINIT(EZ_EventProc events, EZ_DesignProc design) {
    gui::installFontSubstitutes();
    gui::installAccessibility();
    gui::installWaitGuard();
    gui::settings().events = events;
    gui::settings().design = design;
}

void EZ_DOEVENTS() {
    gui::enterWait();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    gui::leaveWait();
}

std::string EZ_APPPATH() {
    if (!gui::settings().programFolder.empty()) return gui::settings().programFolder;
    return QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath().toStdString();
}

void EZ_DEFIMAGEFOLDER(const std::string& folder) { gui::settings().imageFolder = folder; }

void EZ_ALLOWCOMMANDEVENTS(int32_t on) { gui::settings().commandEvents = on != 0; }
void EZ_ALLOWKEYEVENTS(int32_t on) { gui::settings().keyEvents = on != 0; }
void EZ_ALLOWCURSOREVENTS(int32_t on) { gui::settings().cursorEvents = on != 0; }
void EZ_ALLOWLOADINGEVENT(int32_t mode) { gui::settings().loadingEvents = mode; }

// "$NAME" is an icon built into the program; anything else is a picture file.
int32_t EZ_LOADICON(const std::string& name) {
    QString path = !name.empty() && name[0] == '$'
                       ? ":/icons/" + QString::fromStdString(name.substr(1)) + ".png"
                       : gui::imagePath(name);
    QPixmap image(path);
    if (image.isNull()) return 0;
    gui::icons.push_back(QIcon(image));
    return static_cast<int32_t>(gui::icons.size());
}
