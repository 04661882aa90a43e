#pragma once

#include <QByteArray>
#include <QDialog>
#include <QSslConfiguration>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "update/InstallerDownload.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;

namespace tavlix {

class Clock;
class LanguageState;
class PictureButton;
class Shell;

// The save-file picker: start path, title and filter ("Name (*.a *.b);;...") in, the
// chosen path (or nothing) out.
using SaveFilePicker =
    std::function<QString(QWidget* parent, const QString& start, const QString& title, const QString& filter)>;

// What the download window takes from the application.
struct DownloadServices {
    const LanguageState& language;
    const Clock& clock;
    Shell& shell;                    // opens the installer
    QSslConfiguration tls;
    std::filesystem::path downloadsFolder;  // where the installer is saved unless the user picks another place
    SaveFilePicker pickSaveFile;
    std::chrono::milliseconds stallTimeout = TransferLimits::kStallTimeout;  // a silent server is given up after it
};

// Downloads a new version's installer, showing progress, speed and size, and opens it
// when asked to. Closes itself once the installer was handed to the desktop.
class CUpdateDownloadDlg : public QDialog {
    Q_OBJECT

public:
    // sha256: the installer's checksum in hex; a download that does not match it is not kept.
    CUpdateDownloadDlg(const DownloadServices& services, const std::string& address, const std::string& sha256,
                       QWidget* parent = nullptr);

    bool InstallerStarted() const { return m_installerStarted; }

protected:
    void reject() override;

private:
    void BuildLayout();
    void OnDownloadButton();
    void StartDownload();
    // The file the save box names, "~" and relative names resolved.
    std::filesystem::path SavePath() const;
    void Browse();
    void OnStep(InstallerDownload::Step step, const QString& file);
    void OnStarted(qint64 totalBytes);
    void OnProgress(qint64 blockBytes);
    void OnFinished(InstallerDownload::Result result, HttpsTransfer::Outcome transfer, const QString& detail);
    void SetRunning(bool running);
    QString Text(int id, const std::string& first = {}) const;
    QString FinishedText(InstallerDownload::Result result, HttpsTransfer::Outcome transfer,
                         const QString& detail) const;
    QString TransferFailedText(HttpsTransfer::Outcome outcome, const QString& detail) const;

    DownloadServices m_services;
    std::string m_address;
    QByteArray m_sha256;
    std::optional<std::uint64_t> m_totalBytes;
    std::uint64_t m_receivedBytes = 0;
    std::time_t m_startTime = 0;
    bool m_installerStarted = false;
    InstallerDownload* m_download;
    QLineEdit* m_urlEdit;
    QLineEdit* m_saveEdit;
    PictureButton* m_browse;
    QCheckBox* m_install;
    QToolButton* m_downloadButton;
    QProgressBar* m_progress;
    QLabel* m_status;
    QLabel* m_speed;
    QLabel* m_percent;
    QLabel* m_size;
};

}  // namespace tavlix
