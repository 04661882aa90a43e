#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "media/MusicSettings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tavlix {

class LanguageState;
class MusicPlayer;
class PictureButton;
class Profile;

// The file-open picker: start folder, title and filter ("Name (*.a *.b);;...") in, the
// chosen file (or nothing) out.
using OpenFilePicker =
    std::function<QString(QWidget* parent, const QString& start, const QString& title, const QString& filter)>;

// F1 in the dialog opens the user's guide page on the main window's settings, music
// among them.
constexpr int kBackgroundMusicHelpTopic = 14;

// The background music settings: music on or off, and a track per situation, each with
// its own switch, a file, Browse and a 20-second Test. OK writes the user's settings file
// and has the player read it again; Cancel leaves the file as it was.
class CBackgroundMusicDlg : public QDialog {
    Q_OBJECT

public:
    CBackgroundMusicDlg(MusicPlayer& player, const LanguageState& language, Profile& profile,
                        OpenFilePicker pickOpenFile, std::function<void(int topic)> openHelpTopic,
                        QWidget* parent = nullptr);

    // Whether the user touched any control since the dialog opened.
    bool SettingsChanged() const { return m_changed; }

private:
    struct Row {
        QCheckBox* check = nullptr;
        QLineEdit* path = nullptr;
        PictureButton* browse = nullptr;
        QToolButton* test = nullptr;
    };

    void BuildRows();
    void FillControls(const MusicSettings& settings);
    void ReadControls();
    void OnChanged();
    void UpdateEnabling();
    void Browse(Row& row);
    void Test(const Row& row);
    void OnFactoryValues();
    void OnOk();
    QString Text(int id) const;

    MusicPlayer& m_player;
    const LanguageState& m_language;
    Profile& m_profile;
    OpenFilePicker m_pickOpenFile;
    MusicSettings m_settings;  // the user's file as read; the controls go into it on OK
    bool m_changed = false;
    QCheckBox* m_musicOn;
    std::array<Row, kMusicRowCount> m_rows;
    QPushButton* m_factory = nullptr;
};

}  // namespace tavlix
