#include "update/InstallerDownload.h"

#include <QSaveFile>

#include <system_error>

#include "platform/Shell.h"

namespace tavlix {

InstallerDownload::InstallerDownload(QSslConfiguration tls, Shell& shell, QObject* parent)
    : QObject(parent), m_tls(std::move(tls)), m_shell(shell)
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
    emit stepChanged(Step::Requesting);
    const QString target = QString::fromStdString(job.target.string());
    std::error_code error;
    std::filesystem::create_directories(job.target.parent_path(), error);
    m_file = std::make_unique<QSaveFile>(target);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        emit finished(Result::WriteFailed, target);
        return;
    }
    m_hash.reset();
    m_transfer = new HttpsTransfer(job.address, m_tls, -1, this);
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
        Stop(Result::WriteFailed, m_file->fileName());
        return;
    }
    m_hash.addData(block);
    emit progress(block.size());
}

void InstallerDownload::OnTransferFinished(HttpsTransfer::Outcome outcome, const QString& errorText)
{
    switch (outcome) {
    case HttpsTransfer::Outcome::Complete: Store(); return;
    case HttpsTransfer::Outcome::Refused: Stop(Result::Refused, errorText); return;
    case HttpsTransfer::Outcome::TooLarge:
    case HttpsTransfer::Outcome::Failed: Stop(Result::NetworkFailed, errorText); return;
    }
}

void InstallerDownload::Store()
{
    const QString target = m_file->fileName();
    if (!m_job.sha256Hex.isEmpty() && m_hash.result().toHex() != m_job.sha256Hex) {
        Stop(Result::ChecksumMismatch, target);
        return;
    }
    emit stepChanged(Step::Moving);
    if (!m_file->commit()) {
        const bool written = m_file->error() == QFileDevice::RenameError;
        Stop(written ? Result::MovingFailed : Result::WriteFailed, target);
        return;
    }
    m_file.reset();
    if (!m_job.install) {
        Stop(Result::Complete, target);
        return;
    }
    emit stepChanged(Step::StartingInstallation);
    Stop(m_shell.Open(target.toStdString()) ? Result::InstallerStarted : Result::InstallerNotStarted, target);
}

void InstallerDownload::Stop(Result result, const QString& detail)
{
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
    if (m_transfer) {
        m_transfer->Cancel();
        m_transfer->deleteLater();
        m_transfer = nullptr;
    }
    emit finished(result, detail);
}

}  // namespace tavlix
