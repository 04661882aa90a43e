#include "settings/OptionsDlg.h"

#include <QLabel>
#include <QLineEdit>

#include "settings/UserDataDirectory.h"
#include "controls/CBMMessageBox.h"
#include "i18n/LanguageState.h"
#include "controls/PictureButton.h"
#include "i18n/StringIds.h"
#include "controls/DialogSupport.h"

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
    m_edit->setText(ToQString(m_userData.Current()));
    m_edit->setCursorPosition(int(m_edit->text().size()));
}

void OptionsDlg::OnOk()
{
    const auto askCopy = [this](const std::string& question) { return AskYesNo(ToQString(question), this); };
    std::string error;
    if (!m_userData.ChangeUserDataDirectory(DirectoryText().toStdString(), askCopy, error)) {
        ShowError(error);
        return;
    }
    accept();
}

}  // namespace tavlix
