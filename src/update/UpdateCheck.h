#pragma once

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <functional>
#include <string>

#include "platform/qt/HttpsTransfer.h"
#include "update/CUpdateDownloadDlg.h"
#include "update/UpdateDecision.h"

class QWidget;

namespace tavlix {

class Profile;

// What the automatic check takes from the application.
struct UpdateServices {
    DownloadServices download;
    Profile& profile;
    std::string infoAddress;  // empty: no check is made
    std::chrono::year_month_day ownBuild;
    std::string makerHomePage;
    std::string productHomePage;
    std::function<void(const std::string& address)> openAddress;  // in the browser, reporting a failure
};

// The check for a newer build that the main window starts once it is up: at most once
// a day and not for five days after the user declined, it fetches the update-info file
// in the background, and when a newer build is out it asks the user, then downloads it
// or opens its web page. An unreachable site or an unusable info file is silent.
class UpdateCheck : public QObject {
    Q_OBJECT

public:
    // window: the main window, owner of the check and parent of its prompt and dialog.
    UpdateCheck(UpdateServices services, QWidget* window);

    // Returns at once; the rest happens as the answer arrives.
    void Start();
    bool IsFetching() const { return m_transfer != nullptr; }

signals:
    // The new version's installer was started: the program must make way for it.
    void installerStarted();

private:
    void OnInfoFinished(HttpsTransfer::Outcome outcome);
    void Offer(const UpdateOffer& offer);

    UpdateServices m_services;
    QWidget* m_window;
    std::chrono::year_month_day m_today{};
    HttpsTransfer* m_transfer = nullptr;  // a child while it runs
    QByteArray m_content;
};

}  // namespace tavlix
