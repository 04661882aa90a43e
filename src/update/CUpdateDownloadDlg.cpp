#include "update/CUpdateDownloadDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/DialogSupport.h"
#include "controls/PictureButton.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "platform/Clock.h"
#include "update/DownloadTexts.h"
#include "update/InstallerFile.h"

namespace tavlix {

namespace {

// The progress bar counts in thousandths, so that no file size overflows it.
constexpr int kProgressSteps = 1000;

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

CUpdateDownloadDlg::CUpdateDownloadDlg(const DownloadServices& services, const std::string& address,
                                       const std::string& sha256, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_address(address),
      m_sha256(QByteArray::fromStdString(sha256)),
      m_download(new InstallerDownload(services.tls, services.shell, services.stallTimeout, this)),
      m_urlEdit(new QLineEdit(QString::fromStdString(address), this)),
      m_saveEdit(new QLineEdit(this)),
      m_browse(new PictureButton(this)),
      m_install(new QCheckBox(this)),
      m_downloadButton(new QToolButton(this)),
      m_progress(new QProgressBar(this)),
      m_status(new QLabel(this)),
      m_speed(new QLabel(this)),
      m_percent(new QLabel(this)),
      m_size(new QLabel(this))
{
    setObjectName(QStringLiteral("updateDownloadDlg"));
    setWindowTitle(Text(IDS_DIALOG_LVUD_CAPTION, services.language.ProductName()));
    m_urlEdit->setObjectName(QStringLiteral("urlEdit"));
    m_urlEdit->setReadOnly(true);
    m_urlEdit->setMinimumWidth(420);
    m_saveEdit->setObjectName(QStringLiteral("saveEdit"));
    m_saveEdit->setText(QString::fromStdString((services.downloadsFolder / AddressFileName(address)).string()));
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_browse->SetImages(QStringLiteral("browse"));
    m_browse->setToolTip(Text(IDS_TIP_PATH));
    m_install->setObjectName(QStringLiteral("installCheck"));
    m_install->setText(Text(IDS_DIALOG_LVUD_INSTALL_AFTER_DOWNLOAD_I));
    m_install->setChecked(true);
    m_downloadButton->setObjectName(QStringLiteral("downloadButton"));
    m_downloadButton->setIconSize(QSize(32, 32));
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, kProgressSteps);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setWordWrap(true);
    m_speed->setObjectName(QStringLiteral("speedLabel"));
    m_percent->setObjectName(QStringLiteral("percentLabel"));
    m_size->setObjectName(QStringLiteral("sizeLabel"));
    SetRunning(false);
    BuildLayout();

    connect(m_browse, &PictureButton::clicked, this, &CUpdateDownloadDlg::Browse);
    connect(m_downloadButton, &QToolButton::clicked, this, &CUpdateDownloadDlg::OnDownloadButton);
    connect(m_download, &InstallerDownload::stepChanged, this, &CUpdateDownloadDlg::OnStep);
    connect(m_download, &InstallerDownload::started, this, &CUpdateDownloadDlg::OnStarted);
    connect(m_download, &InstallerDownload::progress, this, &CUpdateDownloadDlg::OnProgress);
    connect(m_download, &InstallerDownload::finished, this, &CUpdateDownloadDlg::OnFinished);
}

void CUpdateDownloadDlg::BuildLayout()
{
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(m_saveEdit, 1);
    saveRow->addWidget(m_browse);
    auto* figures = new QHBoxLayout;
    figures->addWidget(m_speed, 1);
    figures->addWidget(m_percent);
    figures->addWidget(m_size);
    auto* grid = new QGridLayout;
    const QString urlLabel = Text(IDS_DIALOG_LVUD_URL_U, m_services.language.ProductName());
    grid->addWidget(BuddyLabel(urlLabel, m_urlEdit, this), 0, 0, 1, 2);
    grid->addWidget(m_urlEdit, 1, 0, 1, 2);
    grid->addWidget(BuddyLabel(Text(IDS_DIALOG_LVUD_SAVE_TO_S), m_saveEdit, this), 2, 0, 1, 2);
    grid->addLayout(saveRow, 3, 0, 1, 2);
    grid->addWidget(m_install, 4, 0);
    grid->addWidget(m_downloadButton, 4, 1, Qt::AlignRight);
    auto* buttons = MakeButtonBox(this, m_services.language, QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(figures);
    layout->addWidget(buttons);
}

QString CUpdateDownloadDlg::Text(int id, const std::string& first) const
{
    return LocalizedText(m_services.language, id, first);
}

void CUpdateDownloadDlg::reject()
{
    // Closing the window stops the download; the target stays untouched.
    m_download->Cancel();
    QDialog::reject();
}

void CUpdateDownloadDlg::OnDownloadButton()
{
    if (m_download->IsRunning())
        m_download->Cancel();
    else
        StartDownload();
}

std::filesystem::path CUpdateDownloadDlg::SavePath() const
{
    return ResolveSavePath(m_saveEdit->text().toStdString(), QDir::homePath().toStdString(),
                           m_services.downloadsFolder, AddressFileName(m_address));
}

void CUpdateDownloadDlg::StartDownload()
{
    m_receivedBytes = 0;
    m_totalBytes.reset();
    m_progress->setValue(0);
    m_percent->clear();
    m_size->clear();
    SetRunning(true);
    const std::string extension = InstallerExtension(AddressFileName(m_address));
    m_download->Start(
        {QUrl(QString::fromStdString(m_address)), SavePath(), extension, m_sha256, m_install->isChecked()});
}

void CUpdateDownloadDlg::Browse()
{
    if (!m_services.pickSaveFile)
        return;
    // The picker opens in a folder that exists, and elsewhere than the user meant if not.
    std::error_code error;
    std::filesystem::create_directories(m_services.downloadsFolder, error);
    const std::string patterns = InstallerPatterns(InstallerExtension(AddressFileName(m_address)));
    const QString filter =
        QtFileFilter(m_services.language.GetLocalizedString(IDS_UPDATE_FILE_TYPE_INSTALLERS_AND_ALL, patterns));
    const QString start = QString::fromStdString(SavePath().string());
    const QString chosen = m_services.pickSaveFile(this, start, windowTitle(), filter);
    if (!chosen.isEmpty())
        m_saveEdit->setText(chosen);
}

void CUpdateDownloadDlg::SetRunning(bool running)
{
    for (QWidget* control : std::initializer_list<QWidget*>{m_urlEdit, m_saveEdit, m_browse, m_install})
        control->setEnabled(!running);
    m_downloadButton->setIcon(style()->standardIcon(running ? QStyle::SP_BrowserStop : QStyle::SP_ArrowDown));
    m_downloadButton->setToolTip(
        Text(running ? IDS_DIALOG_LVUD_TIP_STOP_DOWNLOADING : IDS_DIALOG_LVUD_TIP_DOWNLOAD_NOW));
    m_downloadButton->setAccessibleName(m_downloadButton->toolTip());  // a picture says nothing
}

void CUpdateDownloadDlg::OnStep(InstallerDownload::Step step, const QString& file)
{
    const std::filesystem::path target = file.toStdString();
    switch (step) {
    case InstallerDownload::Step::Requesting:
        m_status->setText(Text(IDS_DIALOG_LVUD_REQUEST_FILE));
        m_speed->clear();
        break;
    case InstallerDownload::Step::Moving:
        m_status->setText(ToQString(m_services.language.GetLocalizedString(
            IDS_DIALOG_LVUD_MOVE_FILE, target.filename().string(), target.parent_path().string())));
        break;
    case InstallerDownload::Step::StartingInstallation:
        m_status->setText(Text(IDS_DIALOG_LVUD_START_INSTALLATION));
        break;
    }
}

void CUpdateDownloadDlg::OnStarted(qint64 totalBytes)
{
    m_status->setText(Text(IDS_DIALOG_LVUD_DOWNLOADING));
    m_startTime = m_services.clock.Now();
    m_receivedBytes = 0;
    if (totalBytes >= 0) {
        m_totalBytes = std::uint64_t(totalBytes);
        m_size->setText(QStringLiteral("%1 %2").arg(totalBytes).arg(Text(IDS_DIALOG_LVUD_FILE_SIZE_BYTES)));
        m_progress->setRange(0, kProgressSteps);
    } else {
        m_progress->setRange(0, 0);  // busy: no end to measure against
    }
}

void CUpdateDownloadDlg::OnProgress(qint64 blockBytes)
{
    m_receivedBytes += std::uint64_t(blockBytes);
    if (m_totalBytes && *m_totalBytes > 0)
        m_progress->setValue(int(m_receivedBytes * kProgressSteps / *m_totalBytes));
    m_percent->setText(QString::fromStdString(PercentText(m_receivedBytes, m_totalBytes)));
    if (const auto speed = SpeedText(m_services.language, m_receivedBytes, m_services.clock.Now() - m_startTime);
        speed && m_speed->text() != QString::fromStdString(*speed))
        m_speed->setText(QString::fromStdString(*speed));
    m_status->setText(ToQString(ProgressStatusText(m_services.language, m_receivedBytes, m_totalBytes)));
}

QString CUpdateDownloadDlg::TransferFailedText(HttpsTransfer::Outcome outcome, const QString& detail) const
{
    using Outcome = HttpsTransfer::Outcome;
    const std::string what = detail.toStdString();
    switch (outcome) {
    case Outcome::NotHttps: return Text(IDS_DIALOG_LVUD_INSECURE_ADDRESS);
    case Outcome::RedirectNotHttps: return Text(IDS_UPDATE_REDIRECT_NOT_HTTPS, what);
    case Outcome::TooManyRedirects: return Text(IDS_UPDATE_TOO_MANY_REDIRECTS, what);
    case Outcome::RedirectLoop: return Text(IDS_UPDATE_REDIRECT_LOOP);
    case Outcome::HttpStatus: return Text(IDS_UPDATE_HTTP_STATUS, what);
    case Outcome::Stalled: return Text(IDS_UPDATE_STALLED);
    case Outcome::CutOff: {
        const std::string bytesWord = m_services.language.GetLocalizedString(IDS_DIALOG_LVUD_FILE_SIZE_BYTES);
        return Text(IDS_UPDATE_CUT_OFF, SizeText(m_receivedBytes, bytesWord));
    }
    case Outcome::LengthUnknown: return Text(IDS_UPDATE_LENGTH_UNKNOWN);
    case Outcome::Complete:
    case Outcome::TooLarge:
    case Outcome::Failed: break;
    }
    return Text(IDS_DIALOG_LVUD_DOWNLOAD_FAILED, what);
}

QString CUpdateDownloadDlg::FinishedText(InstallerDownload::Result result, HttpsTransfer::Outcome transfer,
                                         const QString& detail) const
{
    using Result = InstallerDownload::Result;
    const std::string what = detail.toStdString();  // a path
    switch (result) {
    case Result::Complete:
    case Result::InstallerStarted: return Text(IDS_DIALOG_LVUD_DOWNLOAD_COMPLETE);
    case Result::Canceled: return Text(IDS_DIALOG_LVUD_DOWNLOAD_CANCELED);
    case Result::TransferFailed: return TransferFailedText(transfer, detail);
    case Result::WriteFailed: return Text(IDS_ERROR_FILE_CAN_NOT_WRITE_FILE_CHECK_FP_DISK_FULL, what);
    case Result::ChecksumMismatch: return Text(IDS_DIALOG_LVUD_CHECKSUM_MISMATCH);
    case Result::MovingFailed: return Text(IDS_DIALOG_LVUD_MOVE_FILE_FAILED);
    case Result::InstallerNotStarted: return Text(IDS_DIALOG_LVUD_INSTALLER_NOT_STARTED, what);
    }
    return {};
}

void CUpdateDownloadDlg::OnFinished(InstallerDownload::Result result, HttpsTransfer::Outcome transfer,
                                    const QString& detail)
{
    using Result = InstallerDownload::Result;
    SetRunning(false);
    m_progress->setRange(0, kProgressSteps);
    m_status->setText(FinishedText(result, transfer, detail));
    if (result == Result::Complete || result == Result::InstallerStarted) {
        m_progress->setValue(kProgressSteps);
        m_percent->setText(QStringLiteral("100%"));
    } else if (result == Result::Canceled) {
        m_progress->setValue(0);
        m_percent->setText(QStringLiteral("0%"));
    }
    if (result == Result::InstallerStarted) {
        m_installerStarted = true;
        accept();
    }
}

}  // namespace tavlix
