#pragma once

#include <QColor>
#include <QDialog>

#include <functional>
#include <string>

#include "media/CBackgroundSettings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavlix {

class LanguageState;
class PictureButton;
class Profile;
class WindowBackground;

// The choosers the dialog opens, replaceable in tests. pickOpenFile: start file, title
// and filter ("Name (*.a *.b);;...") in, the chosen file or nothing out. pickColor: the
// current colour in, the chosen one out, invalid when cancelled.
struct BackgroundPickers {
    std::function<QString(QWidget* parent, const QString& start, const QString& title, const QString& filter)>
        pickOpenFile;
    std::function<QColor(QWidget* parent, const QColor& initial)> pickColor;
};

// The main window's background: image on or off, its file, the display mode and the
// colour. Every control acts on the window at once; OK only closes.
//
// Object names, for driving it from tests: backgroundDlg, enableImageCheck,
// imagePathLabel, imagePathEdit, browseButton, displayLabel, tileRadio, centerRadio,
// stretchRadio, colorButton, resetButton, okButton.
class CBackgroundDlg : public QDialog {
    Q_OBJECT

public:
    CBackgroundDlg(WindowBackground& background, Profile& profile, const LanguageState& language,
                   BackgroundPickers pickers, QWidget* parent = nullptr);

private:
    void ShowSettings();
    void UpdateEnabling();
    void OnEnableImage(bool on);
    void OnBrowse();
    void OnSelectColor();
    void OnReset();
    void OnOk();
    BackgroundMode CheckedMode() const;
    QString Text(int id, const std::string& first = {}) const;

    WindowBackground& m_background;
    Profile& m_profile;
    const LanguageState& m_language;
    BackgroundPickers m_pickers;
    QCheckBox* m_enableImage;
    QLabel* m_pathLabel;
    QLineEdit* m_path;
    PictureButton* m_browse;
    QLabel* m_displayLabel;
    QRadioButton* m_tile;
    QRadioButton* m_center;
    QRadioButton* m_stretch;
    QPushButton* m_color;
    QPushButton* m_reset;
};

}  // namespace tavlix
