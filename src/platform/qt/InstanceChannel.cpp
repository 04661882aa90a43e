#include "platform/qt/InstanceChannel.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace tavlix {

namespace {

constexpr int kTimeoutMs = 2000;

// The user's private runtime folder (Qt makes one in the temporary folder when the
// session names none): lock and socket live there side by side, so a process meets
// exactly the instances of its own session and nobody else can reach them.
QString RuntimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}  // namespace

InstanceChannel::InstanceChannel(const QString& name, QObject* parent)
    : QObject(parent), m_name(QDir(RuntimeFolder()).filePath(name + QLatin1Char('-') + QString::number(::getuid())))
{
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::TryBecomePrimary()
{
    if (m_server)
        return true;
    m_lock = std::make_unique<QLockFile>(m_name + QStringLiteral(".lock"));
    // A socket that answers belongs to a live instance, even one whose lock file has
    // gone: it stays, and that instance is the primary.
    if (!m_lock->tryLock(0) || Ask("ping", false)) {
        m_lock.reset();
        return false;
    }
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answers on it: a socket left behind by a crashed instance.
    QLocalServer::removeServer(m_name);
    if (!server->listen(m_name))
        return true;  // primary all the same; later processes just cannot reach us
    connect(server.get(), &QLocalServer::newConnection, this, &InstanceChannel::Serve);
    m_server = std::move(server);
    return true;
}

void InstanceChannel::Serve()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray request = socket->readLine(256).trimmed();
            if (request == "front") {
                emit frontRequested();
            } else if (request == "title") {
                const QString title = m_titleProvider ? m_titleProvider() : QString();
                socket->write(title.toUtf8() + '\n');
                socket->flush();
            } else if (request.startsWith("close ")) {
                const QList<QByteArray> parts = request.split(' ');
                if (parts.size() == 3)
                    emit closeRequested(parts[1].toInt(), parts[2].toInt());
            }
        });
    }
}

std::optional<QByteArray> InstanceChannel::Ask(const QByteArray& request, bool expectReply) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kTimeoutMs))
        return std::nullopt;
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return std::nullopt;
    QByteArray reply;
    if (expectReply) {
        while (!socket.canReadLine() && socket.waitForReadyRead(kTimeoutMs)) {
        }
        if (!socket.canReadLine())
            return std::nullopt;
        reply = socket.readLine(4096).trimmed();
    }
    socket.disconnectFromServer();
    return reply;
}

bool InstanceChannel::RequestFront() const { return Ask("front", false).has_value(); }

std::optional<QString> InstanceChannel::QueryTitle() const
{
    if (IsPrimary())
        return std::nullopt;  // nobody else can be running
    const auto reply = Ask("title", true);
    if (!reply)
        return std::nullopt;
    return QString::fromUtf8(*reply);
}

bool InstanceChannel::RequestClose(int w, int l) const
{
    return Ask("close " + QByteArray::number(w) + ' ' + QByteArray::number(l), false).has_value();
}

int InstanceChannel::EnumerateInstances(int action) const
{
    // The primary is the only main window of this user; a process that is not primary
    // counts itself and the primary it can reach.
    if (IsPrimary())
        return 1;
    const bool other = Ask("ping", false).has_value();
    if (other && action == 1)
        RequestClose(kCloseW, kCloseL);
    return other ? 2 : 1;
}

}  // namespace tavlix
