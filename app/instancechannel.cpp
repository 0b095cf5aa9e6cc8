#include "app/instancechannel.h"

#include "app/platform.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

// Far more than any list of paths a desktop hands over; a peer that sends
// more is not a copy of this program.
constexpr qint64 kMessageLimit = 4 * 1024 * 1024;
constexpr quint32 kMagic = 0x53504c43; // "SPLC"
constexpr char kAck = 'k';

} // namespace

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::socketPath()
{
    return Platform::PrivateFolder() + QStringLiteral("/Splicora.socket");
}

bool InstanceChannel::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the copy holding the lock gets here: a socket file in its place
    // is a leftover of a copy that died.
    QLocalServer::removeServer(socketPath());
    if (!m_server->listen(socketPath())) {
        qDebug("cannot listen on %s: %s", qUtf8Printable(socketPath()),
               qUtf8Printable(m_server->errorString()));
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &InstanceChannel::acceptConnection);
    return true;
}

void InstanceChannel::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMessageLimit) {
                socket->abort();
                return;
            }
            QDataStream stream(socket);
            stream.startTransaction();
            quint32 magic = 0;
            QStringList files;
            stream >> magic >> files;
            if (!stream.commitTransaction())
                return; // the rest is still on its way
            if (magic != kMagic) {
                socket->abort();
                return;
            }
            socket->write(&kAck, 1);
            socket->flush();
            emit filesReceived(files);
        });
    }
}

bool InstanceChannel::sendToRunningCopy(const QStringList& files, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (!socket.waitForConnected(200)) {
            // The running copy may have the lock but not yet its socket.
            QThread::msleep(100);
            continue;
        }
        QByteArray message;
        QDataStream stream(&message, QIODevice::WriteOnly);
        stream << kMagic << files;
        socket.write(message);
        if (!socket.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 1))))
            return false;
        while (socket.bytesAvailable() < 1) {
            if (!socket.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))))
                return false;
        }
        char answer = 0;
        return socket.read(&answer, 1) == 1 && answer == kAck;
    }
    return false;
}
