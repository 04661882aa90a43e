#include "LoopbackHttpsServer.h"

#include <QFile>
#include <QProcess>

#include <sys/socket.h>

namespace tavlix::testing {

namespace {

// An authority certificate, and a server certificate for 127.0.0.1 signed by it.
constexpr const char* kMakeCertificates = R"(set -e
key="-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
openssl req -x509 $key -keyout ca.key -out ca.pem -days 2 -subj "/CN=Tavlix Test Authority" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
openssl req $key -keyout server.key -out server.csr -subj /CN=127.0.0.1
printf 'subjectAltName=IP:127.0.0.1\nextendedKeyUsage=serverAuth\n' > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile server.ext -out server.pem
)";

// Ends the connection under the TLS session, as a dropped line or a killed server does:
// the client gets no close_notify.
void CutWithoutClose(QSslSocket* socket)
{
    socket->flush();
    ::shutdown(int(socket->socketDescriptor()), SHUT_RDWR);
}

}  // namespace

bool LoopbackHttpsServer::Start(QString& error)
{
    QProcess shell;
    shell.setWorkingDirectory(m_folder.path());
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(kMakeCertificates)});
    if (!shell.waitForFinished(20000) || shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0) {
        error = QStringLiteral("openssl: ") + QString::fromLocal8Bit(shell.readAllStandardError());
        return false;
    }
    const QString folder = m_folder.path() + QLatin1Char('/');
    const auto authorities = QSslCertificate::fromPath(folder + QStringLiteral("ca.pem"));
    const auto servers = QSslCertificate::fromPath(folder + QStringLiteral("server.pem"));
    QFile key(folder + QStringLiteral("server.key"));
    if (authorities.isEmpty() || servers.isEmpty() || !key.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("the certificates made by openssl could not be read");
        return false;
    }
    m_authority = authorities.first();
    m_certificate = servers.first();
    m_key = QSslKey(key.readAll(), QSsl::Ec, QSsl::Pem);
    error = QStringLiteral("no port to listen on");
    return listen(QHostAddress::LocalHost, 0);
}

QSslConfiguration LoopbackHttpsServer::TrustingConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificate(m_authority);
    return configuration;
}

QString LoopbackHttpsServer::Url(const QString& path) const
{
    return QStringLiteral("https://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

void LoopbackHttpsServer::incomingConnection(qintptr descriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setLocalCertificate(m_certificate);
    socket->setPrivateKey(m_key);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QSslSocket::readyRead, socket, [this, socket, buffer] {
        *buffer += socket->readAll();
        OnRequest(socket, *buffer);
    });
    connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    socket->startServerEncryption();
}

void LoopbackHttpsServer::OnRequest(QSslSocket* socket, QByteArray& buffer)
{
    if (socket->property("answered").toBool() || !buffer.contains("\r\n\r\n"))
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QByteArray path = requestLine.value(1);
    m_requests.append(path);

    const Answer answer = m_answers.value(path, Answer{"not here", Answer::Whole, 404, {}});
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + " Status\r\nConnection: close\r\n";
    if (!answer.location.isEmpty())
        head += "Location: " + answer.location + "\r\n";
    QByteArray body = answer.body;
    if (answer.kind == Answer::Chunked) {
        head += "Transfer-Encoding: chunked\r\n";
        body = QByteArray::number(body.size(), 16) + "\r\n" + body + "\r\n0\r\n\r\n";
    } else if (answer.kind != Answer::Unsized && answer.kind != Answer::UnsizedCut) {
        head += "Content-Length: " + QByteArray::number(answer.kind == Answer::Zeros ? answer.zeros : body.size()) +
                "\r\n";
    }
    const qsizetype half = body.size() / 2;
    const bool halfOnly =
        answer.kind == Answer::Paused || answer.kind == Answer::Cut || answer.kind == Answer::UnsizedCut;
    socket->write(head + "\r\n" + (halfOnly ? body.left(half) : body));
    if (answer.kind == Answer::Paused)
        m_paused.append({socket, body.mid(half)});
    else if (answer.kind == Answer::Zeros)
        StreamZeros(socket, answer.zeros);
    else if (answer.kind == Answer::UnsizedCut)
        CutWithoutClose(socket);
    else
        socket->disconnectFromHost();
}

void LoopbackHttpsServer::StreamZeros(QSslSocket* socket, qint64 size)
{
    static constexpr qint64 kBlock = 1 << 20;
    static const QByteArray zeros(kBlock, '\0');
    auto sent = std::make_shared<qint64>(0);
    const auto pump = [socket, size, sent] {
        while (*sent < size && socket->encryptedBytesToWrite() + socket->bytesToWrite() < 4 * kBlock) {
            const qint64 block = std::min(kBlock, size - *sent);
            socket->write(zeros.constData(), block);
            *sent += block;
        }
        if (*sent == size && socket->bytesToWrite() == 0)
            socket->disconnectFromHost();
    };
    connect(socket, &QSslSocket::encryptedBytesWritten, socket, pump);
    pump();
}

void LoopbackHttpsServer::ResumePaused()
{
    for (const Held& held : std::as_const(m_paused))
        if (held.socket) {
            held.socket->write(held.rest);
            held.socket->disconnectFromHost();
        }
    m_paused.clear();
}

void LoopbackHttpsServer::DropPaused()
{
    for (const Held& held : std::as_const(m_paused))
        if (held.socket)
            held.socket->disconnectFromHost();
    m_paused.clear();
}

}  // namespace tavlix::testing
