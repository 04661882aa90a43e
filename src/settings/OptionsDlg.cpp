#include "settings/OptionsDlg.h"

#include <QLabel>
#include <QLineEdit>

#include "settings/UserDataDirectory.h"
#include "shell/CBMMessageBox.h"
#include "shell/LanguageState.h"
#include "shell/PictureButton.h"
#include "shell/StringIds.h"
#include "shell/TextUtilities.h"

namespace tavlix {

OptionsDlg::OptionsDlg(UserDataDirectory& userData, const LanguageState& language,
                       std::function<void(int)> openHelpTopic, QWidget* parent)
    : DirectoryChooser(userData, language, openHelpTopic, parent)
{
    setObjectName(QStringLiteral("optionsDlg"));
    setWindowTitle(Text(IDS_DIALOG_OPTIONS_OPTIONS));
    m_label->setText(Text(IDS_DIALOG_UDD_TITLE));
    m_userData.SetUpUserDataDirectory([&] {
        UserDataDirDlg dialog(m_userData, m_language, openHelpTopic, this);
        dialog.exec();
    });
    m_edit->setText(QString::fromStdString(m_userData.Current()));
    m_edit->setCursorPosition(int(m_edit->text().size()));
}

void OptionsDlg::OnOk()
{
    const auto askCopy = [this](const std::string& question) {
        return BMMessageBox(QString::fromStdString(ToPlatformLineEnds(question)), {},
                            MB_YESNO | MB_ICONQUESTION, false, {}, false, false, this) == IDYES;
    };
    std::string error;
    if (!m_userData.ChangeUserDataDirectory(DirectoryText().toStdString(), askCopy, error)) {
        ShowError(error);
        return;
    }
    accept();
}

}  // namespace tavlix
