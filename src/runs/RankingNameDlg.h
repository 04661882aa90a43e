#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "runs/RankingTable.h"

class QLineEdit;

namespace tavlix {

class LanguageState;
class Profile;

// Congratulates the player who entered a world ranking and asks for a name. The edit
// starts with the name typed last; whatever it holds when the dialog closes, by OK or
// not, becomes the name typed last.
//
// Object names, for driving it from tests: promptLabel, nameEdit, okButton, cancelButton.
class RankingNameDlg : public QDialog {
    Q_OBJECT

public:
    RankingNameDlg(Profile& profile, const LanguageState& language, RankingKind kind,
                   std::function<void(int topic)> openHelpTopic, QWidget* parent = nullptr);

    // The name as typed, blanks and all.
    std::string Name() const;

    void done(int result) override;

private:
    Profile& m_profile;
    QLineEdit* m_name;
};

}  // namespace tavlix
