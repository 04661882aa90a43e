#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "runs/RankingTable.h"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace tavlix {

class LanguageState;
class Profile;

// One world ranking: six rows of place, name and value. The rule radios and the J/Q/K
// check show the same kind's table of another level at once; the dialog changes no
// setting.
//
// Object names, for driving it from tests: standardRuleRadio, advancedRuleRadio,
// jqkCheck, numberLabel1..numberLabel6, nameLabel1..nameLabel6, valueLabel1..valueLabel6,
// okButton.
class CRankingDlg : public QDialog {
    Q_OBJECT

public:
    CRankingDlg(const Profile& profile, const LanguageState& language, RankingKind kind, bool standardRule,
                bool jqkEnabled, std::function<void(int topic)> openHelpTopic, QWidget* parent = nullptr);

private:
    // Loads the table of the level the controls show.
    void ShowTable();

    const Profile& m_profile;
    const LanguageState& m_language;
    RankingKind m_kind;
    QRadioButton* m_standardRule;
    QRadioButton* m_advancedRule;
    QCheckBox* m_jqk;
    std::array<QLabel*, RankingTable::kPlaces> m_numbers;
    std::array<QLabel*, RankingTable::kPlaces> m_names;
    std::array<QLabel*, RankingTable::kPlaces> m_values;
};

}  // namespace tavlix
