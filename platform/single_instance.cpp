// The named lock is a lock file in the user's runtime folder; the copy that holds it
// listens on a local socket beside it for requests to raise its window.
#include "platform/single_instance.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>
#include <map>
#include <memory>

namespace {

struct Lock {
    std::unique_ptr<QLockFile> file;
    std::unique_ptr<QLocalServer> server;
};

std::map<int32_t, Lock>& locks() {
    static std::map<int32_t, Lock> open;
    return open;
}

// Keeps the lock until OS_CLOSELOCK; its handle.
int32_t keep(Lock lock) {
    static int32_t next = 0;
    locks()[++next] = std::move(lock);
    return next;
}

// The user's private runtime folder, or a private folder of the user's own in /tmp.
QString pathFor(const std::string& name, const char* suffix) {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::temp().filePath(QString::fromStdString(name).toLower() + QString("-%1").arg(getuid()));
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return QDir(folder).filePath(QString::fromStdString(name) + suffix);
}

// Restores and raises the top-level window whose caption is exactly the one asked for.
void raiseWindow(const QString& caption) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowTitle() != caption) continue;
        if (window->isMinimized()) window->showNormal();
        window->raise();
        window->activateWindow();
        return;
    }
}

std::unique_ptr<QLocalServer> listenFor(const std::string& name) {
    auto server = std::make_unique<QLocalServer>();
    QString path = pathFor(name, ".sock");
    QLocalServer::removeServer(path);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) return nullptr;
    QLocalServer* raw = server.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw, [raw] {
        while (QLocalSocket* peer = raw->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            QObject::connect(peer, &QLocalSocket::readyRead, peer, [peer] {
                if (!peer->canReadLine()) return;
                raiseWindow(QString::fromUtf8(peer->readLine()).chopped(1));
                peer->disconnectFromServer();
            });
        }
    });
    return server;
}

}  // namespace

int32_t OS_CREATELOCK(const std::string& name, bool& alreadyExisted) {
    alreadyExisted = false;
    auto file = std::make_unique<QLockFile>(pathFor(name, ".lock"));
    file->setStaleLockTime(0);
    Lock lock;
    if (file->tryLock(0)) {
        lock.server = listenFor(name);
    } else if (file->error() == QLockFile::LockFailedError) {
        alreadyExisted = true;
    } else {
        return 0;
    }
    lock.file = std::move(file);
    return keep(std::move(lock));
}

void OS_CLOSELOCK(int32_t handle) { locks().erase(handle); }

bool OS_RAISEOTHERCOPY(const std::string& name, const std::string& caption) {
    QLocalSocket socket;
    socket.connectToServer(pathFor(name, ".sock"));
    if (!socket.waitForConnected(1000)) return false;
    socket.write(QString::fromStdString(caption).toUtf8() + '\n');
    bool sent = socket.waitForBytesWritten(1000);
    socket.waitForDisconnected(1000);
    return sent;
}

void OS_BEEP() { QApplication::beep(); }

int32_t OS_WAITFORLOCK(const std::string& name, int32_t timeoutMs) {
    auto file = std::make_unique<QLockFile>(pathFor(name, ".lock"));
    file->setStaleLockTime(0);
    if (!file->tryLock(timeoutMs)) return 0;
    Lock lock;
    lock.file = std::move(file);
    return keep(std::move(lock));
}
