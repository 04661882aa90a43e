#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

namespace tavlix {

class LanguageState;
class PictureButton;
class UserDataDirectory;

// The folder picker: start folder and title in, the chosen folder (or nothing) out.
using FolderPicker = std::function<QString(QWidget* parent, const QString& start, const QString& title)>;
FolderPicker SystemFolderPicker();

// The directory field with its Browse, OK and Cancel picture buttons, shared by the two
// dialogs that choose the user data directory.
class DirectoryChooser : public QDialog {
    Q_OBJECT

public:
    DirectoryChooser(UserDataDirectory& userData, const LanguageState& language,
                     std::function<void(int)> openHelpTopic, QWidget* parent);
    void SetFolderPicker(FolderPicker picker) { m_picker = std::move(picker); }
    QString DirectoryText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    virtual void OnOk() = 0;
    QString Text(int id, const std::string& first = {}) const;
    void ShowError(const std::string& text);

    UserDataDirectory& m_userData;
    const LanguageState& m_language;
    QLabel* m_label;
    QLineEdit* m_edit;
    PictureButton* m_browse;
    PictureButton* m_ok;
    PictureButton* m_cancel;

private:
    void Browse();

    FolderPicker m_picker;
};

// Asks for the user data directory when none is set: the suggestion is offered, and
// users without administrator rights can only accept it.
class UserDataDirDlg : public DirectoryChooser {
    Q_OBJECT

public:
    UserDataDirDlg(UserDataDirectory& userData, const LanguageState& language,
                   std::function<void(int)> openHelpTopic, QWidget* parent = nullptr);

protected:
    void OnOk() override;
};

}  // namespace tavlix
