#include "platform/qt/HttpsTransfer.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <optional>
#include <utility>

namespace tavlix {

namespace {

struct Refusal {
    HttpsTransfer::Outcome outcome;
    QString text;
};

// Addresses the transfer does not contact at all.
std::optional<Refusal> CheckAddress(const QUrl& url)
{
    if (!url.isValid() || url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0)
        return Refusal{HttpsTransfer::Outcome::Refused,
                       QStringLiteral("Only https addresses are fetched: %1").arg(url.toDisplayString())};
    // RFC 6761: no name under "invalid" resolves, so no name server is asked.
    const QString host = url.host().toLower();
    if (host == QLatin1String("invalid") || host.endsWith(QLatin1String(".invalid")))
        return Refusal{HttpsTransfer::Outcome::Failed, QStringLiteral("Host %1 not found").arg(url.host())};
    return std::nullopt;
}

}  // namespace

HttpsTransfer::HttpsTransfer(QUrl url, QSslConfiguration tls, qint64 maxBytes, QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_tls(std::move(tls)), m_maxBytes(maxBytes)
{
    m_tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
}

HttpsTransfer::~HttpsTransfer() { Cancel(); }

void HttpsTransfer::Start()
{
    if (const auto refusal = CheckAddress(m_url)) {
        FinishLater(refusal->outcome, refusal->text);
        return;
    }
    QNetworkRequest request(m_url);
    request.setSslConfiguration(m_tls);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(kStallTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Sizes and checksums are of the file as stored: no compression on the way.
    request.setRawHeader("Accept-Encoding", "identity");
    m_reply = m_manager.get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpsTransfer::OnReadyRead);
    connect(m_reply, &QNetworkReply::redirected, this, &HttpsTransfer::OnRedirected);
    connect(m_reply, &QNetworkReply::finished, this, &HttpsTransfer::OnFinished);
}

void HttpsTransfer::Cancel()
{
    m_done = true;
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

bool HttpsTransfer::StartIfAnswered()
{
    if (m_started)
        return true;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return false;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    const qint64 total = length.isValid() ? length.toLongLong() : -1;
    if (m_maxBytes >= 0 && total > m_maxBytes) {
        Finish(Outcome::TooLarge, QStringLiteral("The file is larger than %1 bytes").arg(m_maxBytes));
        return false;
    }
    m_started = true;
    m_totalBytes = total;
    emit started(total);
    return !m_done;
}

void HttpsTransfer::OnReadyRead()
{
    // The body of an answer that is no success is not ours; the reply ends with its error.
    if (!StartIfAnswered()) {
        if (!m_done)
            m_reply->readAll();
        return;
    }
    const QByteArray block = m_reply->readAll();
    m_receivedBytes += block.size();
    if (m_maxBytes >= 0 && m_receivedBytes > m_maxBytes) {
        Finish(Outcome::TooLarge, QStringLiteral("The file is larger than %1 bytes").arg(m_maxBytes));
        return;
    }
    if (!block.isEmpty())
        emit received(block);
}

void HttpsTransfer::OnRedirected(const QUrl& target)
{
    if (const auto refusal = CheckAddress(target)) {
        Finish(refusal->outcome, refusal->text);
        return;
    }
    emit m_reply->redirectAllowed();
}

void HttpsTransfer::OnFinished()
{
    if (m_reply->error() != QNetworkReply::NoError) {
        Finish(Outcome::Failed, m_reply->errorString());
        return;
    }
    OnReadyRead();
    if (m_done)
        return;
    if (!m_started) {
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        Finish(Outcome::Failed, QStringLiteral("The server answered with status %1").arg(status));
        return;
    }
    if (m_totalBytes >= 0 && m_receivedBytes != m_totalBytes) {
        Finish(Outcome::Failed,
               QStringLiteral("The connection ended after %1 of %2 bytes").arg(m_receivedBytes).arg(m_totalBytes));
        return;
    }
    Finish(Outcome::Complete, {});
}

void HttpsTransfer::Finish(Outcome outcome, const QString& errorText)
{
    if (m_done)
        return;
    Cancel();
    emit finished(outcome, errorText);
}

void HttpsTransfer::FinishLater(Outcome outcome, const QString& errorText)
{
    QMetaObject::invokeMethod(
        this, [this, outcome, errorText] { Finish(outcome, errorText); }, Qt::QueuedConnection);
}

}  // namespace tavlix
