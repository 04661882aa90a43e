#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

#include <filesystem>
#include <memory>

#include "platform/qt/HttpsTransfer.h"

class QSaveFile;

namespace tavlix {

class Shell;

// Downloads an installer into its target file and, when asked, hands it to the
// desktop to open. The target is written whole or not at all: the bytes go to a
// temporary file that only becomes the target once the download is complete and, when
// a checksum is given, matches it.
class InstallerDownload : public QObject {
    Q_OBJECT

public:
    enum class Step { Requesting, Moving, StartingInstallation };
    Q_ENUM(Step)
    enum class Result {
        Complete,          // stored at the target
        InstallerStarted,  // stored, and the desktop took it to open
        Canceled,
        Refused,           // the address or a redirect was not https
        NetworkFailed,
        WriteFailed,       // the target's folder could not take the file
        ChecksumMismatch,
        MovingFailed,
        InstallerNotStarted,
    };
    Q_ENUM(Result)
    struct Job {
        QUrl address;
        std::filesystem::path target;
        QByteArray sha256Hex;  // lower case; empty: not checked
        bool install = false;
    };

    InstallerDownload(QSslConfiguration tls, Shell& shell, QObject* parent = nullptr);
    ~InstallerDownload() override;

    void Start(const Job& job);
    // Stops a running download and reports it canceled; the target stays untouched.
    void Cancel();
    bool IsRunning() const { return m_transfer != nullptr; }

signals:
    void stepChanged(tavlix::InstallerDownload::Step step);
    // totalBytes is -1 when the server did not give the size.
    void started(qint64 totalBytes);
    void progress(qint64 blockBytes);
    // detail: the network library's error text, or the path concerned.
    void finished(tavlix::InstallerDownload::Result result, const QString& detail);

private:
    void OnReceived(const QByteArray& block);
    void OnTransferFinished(HttpsTransfer::Outcome outcome, const QString& errorText);
    void Store();
    void Stop(Result result, const QString& detail);

    QSslConfiguration m_tls;
    Shell& m_shell;
    Job m_job;
    HttpsTransfer* m_transfer = nullptr;  // a child while it runs; deleted later, never inside its signals
    std::unique_ptr<QSaveFile> m_file;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};

}  // namespace tavlix
