#include "gui/shell/single_instance.h"

#include <QLocalSocket>
#include <QRegularExpression>

namespace tellavin {

namespace {

constexpr int kWaitMilliseconds = 2000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

} // namespace

SingleInstance::SingleInstance(QString name) : name_(std::move(name)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptStart);
}

QString SingleInstance::NameFor(const std::string& userName, const QString& display) {
    QString name = QString::fromStdString(userName);
    if (!display.isEmpty()) {
        name += QStringLiteral("-") + display;
    }
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return QStringLiteral("Tellavin-") + name;
}

QString SingleInstance::CurrentDisplay() {
    // A Wayland session also sets DISPLAY for its X programs; the session is
    // the Wayland display, whichever of the two the window uses.
    auto wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    return wayland.isEmpty() ? qEnvironmentVariable("DISPLAY") : wayland;
}

bool SingleInstance::Start() {
    if (TellRunningInstance()) {
        return false;
    }
    if (server_.listen(name_)) {
        return true;
    }
    // Another start may have begun listening meanwhile; if nobody answers,
    // the socket was left behind by an instance that did not end cleanly.
    if (TellRunningInstance()) {
        return false;
    }
    QLocalServer::removeServer(name_);
    // Should listening still fail, the program runs without the guard.
    server_.listen(name_);
    return true;
}

bool SingleInstance::TellRunningInstance() const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMilliseconds)) {
        return false;
    }
    socket.write(kActivate);
    socket.waitForBytesWritten(kWaitMilliseconds);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::AcceptStart() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kActivate) {
                    emit activationRequested();
                }
            }
        });
    }
}

} // namespace tellavin
