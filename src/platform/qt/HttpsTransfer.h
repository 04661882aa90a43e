#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

class QNetworkReply;

namespace tavlix {

// One GET over HTTPS, reported by signals while it runs. Only https addresses are
// fetched, with the server's certificate verified against the configured authorities
// (the system's, unless a test brings its own), and a redirect to anything but https
// ends the transfer. A name under the reserved ".invalid" domain fails at once without
// asking a name server. Nothing is reported after finished(), nor after Cancel().
class HttpsTransfer : public QObject {
    Q_OBJECT

public:
    enum class Outcome { Complete, Refused, TooLarge, Failed };
    Q_ENUM(Outcome)

    // A transfer that stalls this long without a byte fails.
    static constexpr int kStallTimeoutMs = 30000;

    // maxBytes < 0: no limit on the content.
    HttpsTransfer(QUrl url, QSslConfiguration tls, qint64 maxBytes = -1, QObject* parent = nullptr);
    ~HttpsTransfer() override;

    void Start();
    // Stops the transfer; nothing more is reported.
    void Cancel();

signals:
    // The server answered; totalBytes is -1 when it did not give the size.
    void started(qint64 totalBytes);
    void received(const QByteArray& block);
    // errorText says why, in the network library's words, unless the outcome is Complete.
    void finished(tavlix::HttpsTransfer::Outcome outcome, const QString& errorText);

private:
    // True once the answer is a success of an acceptable size, reported by started().
    bool StartIfAnswered();
    void OnReadyRead();
    void OnRedirected(const QUrl& target);
    void OnFinished();
    void Finish(Outcome outcome, const QString& errorText);
    // The outcome is reported from the event loop, as every other report is.
    void FinishLater(Outcome outcome, const QString& errorText);

    QUrl m_url;
    QSslConfiguration m_tls;
    qint64 m_maxBytes;
    qint64 m_totalBytes = -1;
    qint64 m_receivedBytes = 0;
    bool m_started = false;
    bool m_done = false;
    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
};

}  // namespace tavlix
