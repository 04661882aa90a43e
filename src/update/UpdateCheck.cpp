#include "update/UpdateCheck.h"

#include <QWidget>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "platform/Clock.h"
#include "update/UpdateInfo.h"

namespace tavlix {

UpdateCheck::UpdateCheck(UpdateServices services, QWidget* window)
    : QObject(window), m_services(std::move(services)), m_window(window)
{
}

void UpdateCheck::Start()
{
    if (m_services.infoAddress.empty() || IsFetching())
        return;
    m_today = LocalDate(m_services.download.clock.Now());
    if (!IsCheckDue(m_services.profile, m_today))
        return;
    m_content.clear();
    m_transfer = new HttpsTransfer(QUrl(QString::fromStdString(m_services.infoAddress)), m_services.download.tls,
                                   {qint64(kMaxUpdateInfoSize), m_services.download.stallTimeout}, this);
    connect(m_transfer, &HttpsTransfer::received, this, [this](const QByteArray& block) { m_content += block; });
    connect(m_transfer, &HttpsTransfer::finished, this,
            [this](HttpsTransfer::Outcome outcome, const QString&) { OnInfoFinished(outcome); });
    m_transfer->Start();
}

void UpdateCheck::OnInfoFinished(HttpsTransfer::Outcome outcome)
{
    m_transfer->deleteLater();
    m_transfer = nullptr;
    // Only a whole file is read: a cut one could name a cut address.
    if (outcome != HttpsTransfer::Outcome::Complete)
        return;
    const auto offer = DecideUpdate(ParseUpdateInfo(m_content.toStdString()), m_services.ownBuild, m_today,
                                    m_services.productHomePage);
    if (!offer)
        return;
    // The prompt waits for the user: it runs from the event loop, not inside the
    // network library's signal.
    QMetaObject::invokeMethod(this, [this, offer = *offer] { Offer(offer); }, Qt::QueuedConnection);
}

void UpdateCheck::Offer(const UpdateOffer& offer)
{
    const LanguageState& language = m_services.download.language;
    if (BMMessageBox(ToQString(UpdatePromptText(language, offer)), {}, MB_YESNO | MB_ICONQUESTION, false, {}, false,
                     false, m_window) != IDYES) {
        RecordDenial(m_services.profile, m_today);
        ShowNotice(ToQString(LaterChoiceText(language, m_services.makerHomePage, m_services.productHomePage)),
                   m_window, MB_ICONASTERISK);
        return;
    }
    if (offer.kind != UpdateOffer::Kind::Installer) {
        m_services.openAddress(offer.address);
        return;
    }
    // A modal child keeps the main window out of use while the download runs; the
    // main window's own event loop goes on, so the program keeps running.
    CUpdateDownloadDlg dialog(m_services.download, offer.address, offer.sha256, m_window);
    dialog.exec();
    if (dialog.InstallerStarted())
        emit installerStarted();
}

}  // namespace tavlix
