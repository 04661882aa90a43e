#pragma once

#include <QDialog>

#include <cstddef>
#include <cstdint>
#include <functional>

#include "runs/RankingTable.h"
#include "runs/WorldCup.h"

class QCheckBox;
class QRadioButton;

namespace tavlix {

class LanguageState;
class PictureButton;
class Profile;

// The start of a World Cup: the level to play (rule and J/Q/K), the amateur and the
// professional ranking of that level, and the rules (the Rules button and F1). It opens
// with the level chosen last and keeps the choice however it closes; after OK,
// IsStandardRule() and IsJqkEnabled() are the level to play.
//
// Object names, for driving it from tests: rulesGroup, standardRuleRadio,
// advancedRuleRadio, jqkCheck, amateurRankingButton, professionalRankingButton,
// rulesButton, okButton, cancelButton.
class CWorldCupDlg : public QDialog {
    Q_OBJECT

public:
    CWorldCupDlg(Profile& profile, const LanguageState& language, std::function<void(int topic)> openHelpTopic,
                 QWidget* parent = nullptr);

    bool IsStandardRule() const { return m_choice.standardRule; }
    bool IsJqkEnabled() const { return m_choice.jqkEnabled; }

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    WorldCupChoice ReadChoice() const;
    void UpdateCaption();
    void ShowRanking(RankingKind kind);
    void ShowRules();
    void OnOk();

    Profile& m_profile;
    const LanguageState& m_language;
    std::function<void(int topic)> m_openHelpTopic;
    WorldCupChoice m_choice;
    QRadioButton* m_standardRule;
    QRadioButton* m_advancedRule;
    QCheckBox* m_jqk;
    PictureButton* m_amateurRanking;
    PictureButton* m_professionalRanking;
    PictureButton* m_rules;
    PictureButton* m_ok;
    PictureButton* m_cancel;
};

// The ranking step after a World Cup's score report: when the result enters its level's
// table (DecideWorldCupRanking), asks for the name, and after OK enters the result and
// shows that table. secondsUsed: the whole seconds the game took. True when an entry
// was added.
bool OfferWorldCupRanking(Profile& profile, const LanguageState& language,
                          const std::function<void(int topic)>& openHelpTopic, std::size_t score,
                          std::int64_t secondsUsed, bool standardRule, bool jqkEnabled, QWidget* parent);

}  // namespace tavlix
