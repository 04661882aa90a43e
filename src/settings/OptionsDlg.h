#pragma once

#include "settings/UserDataDirDlg.h"

namespace tavlix {

// Moves the user data directory, offering to copy the old one's content.
class OptionsDlg : public DirectoryChooser {
    Q_OBJECT

public:
    OptionsDlg(UserDataDirectory& userData, const LanguageState& language,
               std::function<void(int)> openHelpTopic, QWidget* parent = nullptr);

protected:
    void OnOk() override;
};

}  // namespace tavlix
