#pragma once

#include <QString>
#include <QWidget>

#include <filesystem>
#include <string>

class QPushButton;
class QTextBrowser;
class QUrl;

namespace tavlix {

class LanguageState;
class Shell;

// The program's help window: the pages of the help bundle, with Contents, Back and
// Forward. Links between pages of the bundle stay in the window; every other address
// goes to the web browser. One window serves every request, and it stays usable while
// a dialog of the program is open. A switch of the interface language while it is open
// shows its texts and the page on screen in the new language.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // bundleFolder holds one folder per language and the style sheet they share.
    HelpWindow(const LanguageState& language, Shell& shell, const std::filesystem::path& bundleFolder,
               QWidget* parent = nullptr);

    // Shows a page of the bundle, in the interface language of the moment, and brings
    // the window to the front.
    void ShowPage(const std::filesystem::path& page);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplyLanguage();
    // The page on screen in the folder of the interface language, or that language's
    // contents where it has no such page.
    void ShowPageInInterfaceLanguage();
    void FollowLink(const QUrl& link);
    void ShowContents();
    void StayAboveModalWindow();
    bool IsBundlePage(const QUrl& address) const;
    QString StyleSheet() const;

    const LanguageState& m_language;
    Shell& m_shell;
    QString m_bundleFolder;  // absolute and clean, without a trailing separator
    QTextBrowser* m_browser;
    QPushButton* m_contents;
    QPushButton* m_back;
    QPushButton* m_forward;
};

// Tells the player, in a message box over parent, that the web browser did not take
// the address.
void ReportUnopenedAddress(const LanguageState& language, const std::string& address, QWidget* parent);

}  // namespace tavlix
