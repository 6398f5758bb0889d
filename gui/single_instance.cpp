#include "single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace tavricat::gui {

namespace {
const QByteArray kRaise = "raise\n";
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), m_name(std::move(name)) {}

QString SingleInstance::nameForCurrentUser() {
    return QStringLiteral("tavricat-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool SingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(1000)) return false;
    socket.write(kRaise);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen(std::function<void()> raise) {
    m_raise = std::move(raise);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A socket left behind by an instance that ended abnormally: nobody answered it.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->readAll().contains("raise") && m_raise) m_raise();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

}  // namespace tavricat::gui
