#include "platform/qt/HttpsTransfer.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <optional>
#include <utility>

namespace tavlix {

namespace {

struct Refusal {
    HttpsTransfer::Outcome outcome;
    QString detail;
};

// Addresses the transfer does not contact at all.
std::optional<Refusal> CheckAddress(const QUrl& url)
{
    if (!url.isValid() || url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0)
        return Refusal{HttpsTransfer::Outcome::NotHttps, url.toDisplayString()};
    // RFC 6761: no name under "invalid" resolves, so no name server is asked.
    const QString host = url.host().toLower();
    if (host == QLatin1String("invalid") || host.endsWith(QLatin1String(".invalid")))
        return Refusal{HttpsTransfer::Outcome::Failed, QStringLiteral("Host %1 not found").arg(url.host())};
    return std::nullopt;
}

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The fragment is the client's own: two addresses that differ only there name one file.
QUrl VisitedForm(const QUrl& url) { return url.adjusted(QUrl::RemoveFragment | QUrl::NormalizePathSegments); }

}  // namespace

HttpsTransfer::HttpsTransfer(QUrl url, QSslConfiguration tls, TransferLimits limits, QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_tls(std::move(tls)), m_limits(limits)
{
    m_tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    m_stall.setSingleShot(true);
    m_stall.setInterval(m_limits.stallTimeout);
    connect(&m_stall, &QTimer::timeout, this, [this] { Finish(Outcome::Stalled, {}); });
}

HttpsTransfer::~HttpsTransfer() { Cancel(); }

void HttpsTransfer::Start()
{
    if (const auto refusal = CheckAddress(m_url)) {
        FinishLater(refusal->outcome, refusal->detail);
        return;
    }
    Request(m_url);
}

void HttpsTransfer::Request(const QUrl& url)
{
    m_visited.insert(VisitedForm(url));
    QNetworkRequest request(url);
    request.setSslConfiguration(m_tls);
    // Each redirect is checked here and followed as a request of its own: the library's
    // own following asks for the target several times at once behind two redirects.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Sizes and checksums are of the file as stored: no compression on the way.
    request.setRawHeader("Accept-Encoding", "identity");
    m_reply = m_manager.get(request);
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        m_stall.start();
        OnHead();
    });
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpsTransfer::OnReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &HttpsTransfer::OnFinished);
    m_stall.start();
}

void HttpsTransfer::DropReply()
{
    m_stall.stop();
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void HttpsTransfer::Cancel()
{
    m_done = true;
    DropReply();
}

HttpsTransfer::Head HttpsTransfer::OnHead()
{
    if (m_started)
        return Head::Body;
    const QVariant statusAttribute = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!statusAttribute.isValid())
        return Head::Pending;
    const int status = statusAttribute.toInt();
    // The parsed header drops a relative address: the raw one is read instead.
    const QUrl location = QUrl::fromEncoded(m_reply->rawHeader("Location"), QUrl::StrictMode);
    if (IsRedirect(status) && location.isValid()) {
        FollowRedirect(m_reply->url().resolved(location));
        return Head::Over;
    }
    if (status < 200 || status > 299) {
        Finish(Outcome::HttpStatus, QString::number(status));
        return Head::Over;
    }
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    const qint64 total = length.isValid() ? length.toLongLong() : -1;
    if (m_limits.maxBytes >= 0 && total > m_limits.maxBytes) {
        Finish(Outcome::TooLarge, QString::number(m_limits.maxBytes));
        return Head::Over;
    }
    m_started = true;
    m_totalBytes = total;
    emit started(total);
    return m_done ? Head::Over : Head::Body;
}

void HttpsTransfer::FollowRedirect(const QUrl& target)
{
    if (const auto refusal = CheckAddress(target)) {
        const bool insecure = refusal->outcome == Outcome::NotHttps;
        Finish(insecure ? Outcome::RedirectNotHttps : refusal->outcome, refusal->detail);
        return;
    }
    if (m_visited.contains(VisitedForm(target))) {
        Finish(Outcome::RedirectLoop, {});
        return;
    }
    if (m_visited.size() > kMaxRedirects) {
        Finish(Outcome::TooManyRedirects, QString::number(kMaxRedirects));
        return;
    }
    DropReply();
    Request(target);
}

void HttpsTransfer::OnReadyRead()
{
    m_stall.start();
    // The body of a redirect or of a failure is not ours: its reply is gone already.
    if (OnHead() != Head::Body)
        return;
    while (!m_done) {
        const QByteArray block = m_reply->read(kReadBufferBytes);
        if (block.isEmpty())
            return;
        m_receivedBytes += block.size();
        if (m_limits.maxBytes >= 0 && m_receivedBytes > m_limits.maxBytes) {
            Finish(Outcome::TooLarge, QString::number(m_limits.maxBytes));
            return;
        }
        emit received(block);
    }
}

void HttpsTransfer::OnFinished()
{
    switch (OnHead()) {
    case Head::Pending: Finish(Outcome::Failed, m_reply->errorString()); return;
    case Head::Over: return;
    case Head::Body: break;
    }
    OnReadyRead();
    if (m_done)
        return;
    switch (m_reply->error()) {
    case QNetworkReply::NoError: Finish(EndOfBody(), {}); return;
    case QNetworkReply::RemoteHostClosedError: Finish(Outcome::CutOff, {}); return;
    default: Finish(Outcome::Failed, m_reply->errorString()); return;
    }
}

HttpsTransfer::Outcome HttpsTransfer::EndOfBody() const
{
    if (m_totalBytes >= 0)
        return m_receivedBytes == m_totalBytes ? Outcome::Complete : Outcome::CutOff;
    const bool chunked = m_reply->rawHeader("Transfer-Encoding").toLower().contains("chunked");
    return chunked ? Outcome::Complete : Outcome::LengthUnknown;
}

void HttpsTransfer::Finish(Outcome outcome, const QString& detail)
{
    if (m_done)
        return;
    Cancel();
    emit finished(outcome, detail);
}

void HttpsTransfer::FinishLater(Outcome outcome, const QString& detail)
{
    QMetaObject::invokeMethod(
        this, [this, outcome, detail] { Finish(outcome, detail); }, Qt::QueuedConnection);
}

}  // namespace tavlix
