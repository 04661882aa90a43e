#include "update/InstallerDownload.h"

#include <QTemporaryFile>

#include <system_error>

#include "platform/Shell.h"
#include "update/InstallerFile.h"

namespace tavlix {

namespace {

QString PathText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

InstallerDownload::InstallerDownload(QSslConfiguration tls, Shell& shell, std::chrono::milliseconds stallTimeout,
                                     QObject* parent)
    : QObject(parent), m_tls(std::move(tls)), m_shell(shell), m_stallTimeout(stallTimeout)
{
}

InstallerDownload::~InstallerDownload()
{
    if (m_transfer)
        m_transfer->Cancel();
}

void InstallerDownload::Start(const Job& job)
{
    if (IsRunning())
        return;
    m_job = job;
    emit stepChanged(Step::Requesting, {});
    const std::filesystem::path folder = job.savePath.parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // Beside the target, so that storing it is a rename within one file system; hidden,
    // and with a name short enough whatever the target's.
    m_file = std::make_unique<QTemporaryFile>(PathText(folder / ".tavlix-download-XXXXXX"));
    if (!m_file->open()) {
        m_file.reset();
        emit finished(Result::WriteFailed, HttpsTransfer::Outcome::Complete,
                      PathText(InstallerCandidate(job.savePath, job.extension, 0)));
        return;
    }
    m_hash.reset();
    m_transfer = new HttpsTransfer(job.address, m_tls, {.stallTimeout = m_stallTimeout}, this);
    connect(m_transfer, &HttpsTransfer::started, this, &InstallerDownload::started);
    connect(m_transfer, &HttpsTransfer::received, this, &InstallerDownload::OnReceived);
    connect(m_transfer, &HttpsTransfer::finished, this, &InstallerDownload::OnTransferFinished);
    m_transfer->Start();
}

void InstallerDownload::Cancel()
{
    if (IsRunning())
        Stop(Result::Canceled, {});
}

void InstallerDownload::OnReceived(const QByteArray& block)
{
    if (m_file->write(block) != block.size()) {
        Stop(Result::WriteFailed, PathText(InstallerCandidate(m_job.savePath, m_job.extension, 0)));
        return;
    }
    m_hash.addData(block);
    emit progress(block.size());
}

void InstallerDownload::OnTransferFinished(HttpsTransfer::Outcome outcome, const QString& detail)
{
    if (outcome == HttpsTransfer::Outcome::Complete)
        Store();
    else
        Stop(Result::TransferFailed, detail, outcome);
}

void InstallerDownload::Store()
{
    const auto exists = [](const std::filesystem::path& path) {
        std::error_code error;
        return std::filesystem::exists(path, error);
    };
    const std::filesystem::path planned = InstallerTargetPath(m_job.savePath, m_job.extension, exists);
    if (m_hash.result().toHex() != m_job.sha256Hex) {
        Stop(Result::ChecksumMismatch, PathText(planned));
        return;
    }
    if (!m_file->flush()) {
        Stop(Result::WriteFailed, PathText(planned));
        return;
    }
    emit stepChanged(Step::Moving, PathText(planned));
    std::error_code error;
    const auto stored = MoveToFreeName(m_file->fileName().toStdString(), m_job.savePath, m_job.extension, error);
    if (!stored) {
        Stop(Result::MovingFailed, PathText(planned));
        return;
    }
    m_file->setAutoRemove(false);
    m_file.reset();
    if (!m_job.install) {
        Stop(Result::Complete, PathText(*stored));
        return;
    }
    emit stepChanged(Step::StartingInstallation, PathText(*stored));
    Stop(m_shell.Open(stored->string()) ? Result::InstallerStarted : Result::InstallerNotStarted, PathText(*stored));
}

void InstallerDownload::Stop(Result result, const QString& detail, HttpsTransfer::Outcome transfer)
{
    m_file.reset();  // a temporary file that was not stored goes with it
    if (m_transfer) {
        m_transfer->Cancel();
        m_transfer->deleteLater();
        m_transfer = nullptr;
    }
    emit finished(result, transfer, detail);
}

}  // namespace tavlix
