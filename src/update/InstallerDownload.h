#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/qt/HttpsTransfer.h"

class QTemporaryFile;

namespace tavlix {

class Shell;

// Downloads an installer into its target folder and, when asked, hands it to the
// desktop to open. Nothing but a whole, verified file is kept: the bytes stream into a
// hidden temporary file beside the target, which takes the target's name only once the
// download is complete and matches its checksum, and never in place of another file.
class InstallerDownload : public QObject {
    Q_OBJECT

public:
    enum class Step { Requesting, Moving, StartingInstallation };
    Q_ENUM(Step)
    enum class Result {
        Complete,          // stored at the target
        InstallerStarted,  // stored, and the desktop took it to open
        Canceled,
        TransferFailed,    // the transfer's outcome says why
        WriteFailed,       // the target's folder could not take the file
        ChecksumMismatch,
        MovingFailed,
        InstallerNotStarted,
    };
    Q_ENUM(Result)
    struct Job {
        QUrl address;
        std::filesystem::path savePath;  // the wanted file; the extension is put on, a taken name numbered
        std::string extension;           // the installer's kind, ".deb"
        QByteArray sha256Hex;            // lower case; a download that does not match is not kept
        bool install = false;
    };

    InstallerDownload(QSslConfiguration tls, Shell& shell, std::chrono::milliseconds stallTimeout,
                      QObject* parent = nullptr);
    ~InstallerDownload() override;

    void Start(const Job& job);
    // Stops a running download and reports it canceled; the target stays untouched.
    void Cancel();
    bool IsRunning() const { return m_transfer != nullptr; }

signals:
    // file: the installer's path while moving and starting it, empty before.
    void stepChanged(tavlix::InstallerDownload::Step step, const QString& file);
    // totalBytes is -1 when the server did not give the size.
    void started(qint64 totalBytes);
    void progress(qint64 blockBytes);
    // transfer: how the transfer ended (Complete unless the result is TransferFailed);
    // detail: the transfer's detail, or the path concerned.
    void finished(tavlix::InstallerDownload::Result result, tavlix::HttpsTransfer::Outcome transfer,
                  const QString& detail);

private:
    void OnReceived(const QByteArray& block);
    void OnTransferFinished(HttpsTransfer::Outcome outcome, const QString& detail);
    void Store();
    void Stop(Result result, const QString& detail,
              HttpsTransfer::Outcome transfer = HttpsTransfer::Outcome::Complete);

    QSslConfiguration m_tls;
    Shell& m_shell;
    std::chrono::milliseconds m_stallTimeout;
    Job m_job;
    HttpsTransfer* m_transfer = nullptr;  // a child while it runs; deleted later, never inside its signals
    std::unique_ptr<QTemporaryFile> m_file;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};

}  // namespace tavlix
