#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSslConfiguration>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>

class QNetworkReply;

namespace tavlix {

// How much a transfer takes, and how long it waits for a server that sends nothing.
struct TransferLimits {
    static constexpr std::chrono::milliseconds kStallTimeout{30000};

    qint64 maxBytes = -1;  // < 0: no limit on the content
    std::chrono::milliseconds stallTimeout = kStallTimeout;
};

// One GET over HTTPS, reported by signals while it runs. Only https addresses are
// fetched, with the server's certificate verified against the configured authorities
// (the system's, unless a test brings its own). Redirects are followed one request at a
// time, each to an https address not visited before, at most kMaxRedirects of them. A
// name under the reserved ".invalid" domain fails at once without asking a name server.
//
// A transfer is Complete only when its end is certain: the body reached the length the
// server gave, or its chunked encoding ended. A body that simply stops when the
// connection closes could be cut anywhere, and the network library reports such a cut
// as a success, so it never counts as complete. HTTP/1.1 is spoken for that reason:
// there the framing is ours to check.
//
// The body is handed on in blocks of at most kReadBufferBytes, and the network library
// holds no more than that unread, so memory stays bounded whatever the size and speed.
// Nothing is reported after finished(), nor after Cancel().
class HttpsTransfer : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Complete,
        NotHttps,          // the address is not https; detail: the address
        RedirectNotHttps,  // a redirect leads to an address that is not https; detail: that one
        TooManyRedirects,  // detail: the limit
        RedirectLoop,
        HttpStatus,        // the server answered with no success; detail: the status
        TooLarge,
        Stalled,           // nothing came for the stall time
        CutOff,            // the connection ended before the body did
        LengthUnknown,     // no length and no chunked encoding: a cut cannot be told
        Failed,            // detail: the network library's words
    };
    Q_ENUM(Outcome)

    static constexpr int kMaxRedirects = 5;
    static constexpr qint64 kReadBufferBytes = 1 << 20;

    HttpsTransfer(QUrl url, QSslConfiguration tls, TransferLimits limits = {}, QObject* parent = nullptr);
    ~HttpsTransfer() override;

    void Start();
    // Stops the transfer; nothing more is reported.
    void Cancel();

signals:
    // The server answered with the content; totalBytes is -1 when it did not give the size.
    void started(qint64 totalBytes);
    void received(const QByteArray& block);
    void finished(tavlix::HttpsTransfer::Outcome outcome, const QString& detail);

private:
    void Request(const QUrl& url);
    void DropReply();
    enum class Head { Pending, Body, Over };
    // Reads the answer's head once it is there. Body: the content follows; Over: the
    // transfer ended, or moved on to a redirect's target with another reply.
    Head OnHead();
    void FollowRedirect(const QUrl& target);
    void OnReadyRead();
    void OnFinished();
    Outcome EndOfBody() const;
    void Finish(Outcome outcome, const QString& detail);
    // The outcome is reported from the event loop, as every other report is.
    void FinishLater(Outcome outcome, const QString& detail);

    QUrl m_url;
    QSslConfiguration m_tls;
    TransferLimits m_limits;
    QSet<QUrl> m_visited;
    qint64 m_totalBytes = -1;
    qint64 m_receivedBytes = 0;
    bool m_started = false;
    bool m_done = false;
    QTimer m_stall;
    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
};

}  // namespace tavlix
