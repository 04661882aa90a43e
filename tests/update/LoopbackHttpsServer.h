#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>

namespace tavlix::testing {

// An HTTPS server on 127.0.0.1 with canned answers by path (404 for others), each
// connection closed after its answer. Its certificate is signed by an authority that the
// openssl program makes for the run; clients trust it through TrustingConfiguration().
class LoopbackHttpsServer : public QTcpServer {
public:
    struct Answer {
        enum Kind {
            Whole,
            Unsized,     // no Content-Length: the end of the connection ends the body
            Chunked,     // the body as one chunk of the chunked encoding
            Paused,      // half the body, then waits for ResumePaused() or DropPaused()
            Cut,         // half the body, then the connection closes
            UnsizedCut,  // no Content-Length, half the body, then TCP ends without a TLS close
            Zeros,       // `zeros` zero bytes, made as the client takes them
        };
        QByteArray body;
        Kind kind = Whole;
        int status = 200;
        QByteArray location;
        qint64 zeros = 0;

        static Answer Of(QByteArray body, Kind kind = Whole) { return {std::move(body), kind, 200, {}}; }
        static Answer Redirect(QByteArray to) { return {{}, Whole, 302, std::move(to)}; }
        static Answer ZeroBytes(qint64 size) { return {{}, Zeros, 200, {}, size}; }
    };

    // Makes the certificates and listens on a free port; false, with the reason, when
    // either fails.
    bool Start(QString& error);
    // The system's authorities and the run's own.
    QSslConfiguration TrustingConfiguration() const;
    QString Url(const QString& path) const;
    void SetAnswer(const QByteArray& path, Answer answer) { m_answers[path] = std::move(answer); }
    // The paths asked for, in order.
    const QList<QByteArray>& Requests() const { return m_requests; }
    void ResumePaused();
    void DropPaused();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Held {
        QPointer<QSslSocket> socket;
        QByteArray rest;
    };
    void OnRequest(QSslSocket* socket, QByteArray& buffer);
    // Writes zeros while little waits to be sent, then closes.
    static void StreamZeros(QSslSocket* socket, qint64 size);

    QTemporaryDir m_folder;
    QSslCertificate m_authority;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QMap<QByteArray, Answer> m_answers;
    QList<QByteArray> m_requests;
    QList<Held> m_paused;
};

}  // namespace tavlix::testing
