// The copy that holds the named lock listens on a local socket beside it for requests to raise
// its window.
#include "platform/single_instance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <memory>

namespace {

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

std::shared_ptr<QLocalServer> listenFor(const std::string& name) {
    const QString path = QString::fromStdString(OS_LOCKFILEPATH(name, ".sock"));
    if (path.isEmpty()) return nullptr;
    // A socket left by a copy that died is in the way; the lock says no live copy listens there.
    QLocalServer::removeServer(path);
    auto server = std::make_shared<QLocalServer>();
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
    const int32_t handle = OS_OPENLOCK(name, 0, alreadyExisted);
    if (handle != 0 && !alreadyExisted) OS_TIETOLOCK(handle, listenFor(name));
    return handle;
}

bool OS_RAISEOTHERCOPY(const std::string& name, const std::string& caption) {
    const std::string path = OS_LOCKFILEPATH(name, ".sock");
    if (path.empty()) return false;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (!socket.waitForConnected(1000)) return false;
    socket.write(QString::fromStdString(caption).toUtf8() + '\n');
    bool sent = socket.waitForBytesWritten(1000);
    socket.waitForDisconnected(1000);
    return sent;
}

void OS_BEEP() { QApplication::beep(); }
