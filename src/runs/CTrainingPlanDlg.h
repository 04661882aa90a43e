#pragma once

#include <QDialog>

#include <array>
#include <optional>
#include <vector>

#include "runs/TrainingPlan.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavlix {

class Collection;
class LanguageState;
class Profile;

// The training plan of Training or of a Training Game. It opens with the mode's stored
// plan and writes the plan back however it closes; after OK, Plan() is the plan to run.
//
// Object names, for driving it from tests:
//   standardRuleRadio, advancedRuleRadio, jqkCheck;
//   fullSetRadio, collectionsRadio, troubleMakersCheck, myFavoritesCheck, reviewSetRadio,
//   withSolutionCheck, withoutSolutionCheck, techniqueList;
//   fullRangeRadio, withinRangeRadio, startCheck, endCheck, startList1..startList4,
//   endList1..endList4, randomRadio, sequentialRadio, ascendingRadio, descendingRadio;
//   timeLimitCheck, minutesEdit, minutesSpin, minutesLabel, countEdit, countSpin (each
//   spin holds an "upButton" and a "downButton"), difficultyList;
//   availableLabel, okButton, cancelButton, detailsButton.
class CTrainingPlanDlg : public QDialog {
    Q_OBJECT

public:
    // dueForReview: the questions due for review now, for the review set; weakestTechnique:
    // the player's weakest technique, when the history tells one.
    CTrainingPlanDlg(bool training, Profile& profile, const LanguageState& language,
                     const Collection& troubleMakers, const Collection& myFavorites,
                     QWidget* parent = nullptr, std::vector<ReviewItem> dueForReview = {},
                     std::optional<Technique> weakestTechnique = std::nullopt);

    const TrainingPlan& Plan() const { return m_plan; }

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void LabelChoices();
    QGroupBox* BuildRulesBox();
    QGroupBox* BuildSetBox();
    QLayout* BuildTechniqueRow();
    QGroupBox* BuildDataBox();
    QGroupBox* BuildOtherBox();
    QDialogButtonBox* BuildButtons();
    void ConnectControls();
    void FillControls();
    void FillRangeLists(const RangeValues& values);
    void ReadControls();
    void NormalizeRange(bool rebuild);
    void Refresh();
    void ApplyEnablingRules();
    void KeepOneChecked(QCheckBox* cleared, QCheckBox* other);
    bool CheckTypedNumber(QLineEdit* edit, int low, int high);
    void OnOk();
    void ShowNotes();
    QString Text(int id) const;

    Profile& m_profile;
    const LanguageState& m_language;
    const Collection& m_troubleMakers;
    const Collection& m_myFavorites;
    const std::vector<ReviewItem> m_dueForReview;
    const std::optional<Technique> m_weakestTechnique;
    TrainingPlan m_plan;
    bool m_updating = false;  // the dialog is writing its own controls
    long long m_shownAvailable = -1;

    QRadioButton* m_standardRule;
    QRadioButton* m_advancedRule;
    QCheckBox* m_jqk;
    QRadioButton* m_fullSet;
    QRadioButton* m_collections;
    QCheckBox* m_troubleMakersCheck;
    QCheckBox* m_myFavoritesCheck;
    QRadioButton* m_reviewSet;
    QCheckBox* m_withSolution;
    QCheckBox* m_withoutSolution;
    QComboBox* m_technique;
    QRadioButton* m_fullRange;
    QRadioButton* m_withinRange;
    QCheckBox* m_startCheck;
    QCheckBox* m_endCheck;
    std::array<QComboBox*, 8> m_rangeLists;  // Start 1..4, then End 1..4
    QRadioButton* m_randomly;
    QRadioButton* m_sequentially;
    QRadioButton* m_ascending;
    QRadioButton* m_descending;
    QCheckBox* m_timeLimit;
    QLineEdit* m_minutes;
    QWidget* m_minutesSpin;
    QLabel* m_minutesLabel;
    QLineEdit* m_count;
    QWidget* m_countSpin;
    QComboBox* m_difficulty;
    QLabel* m_available;
    QPushButton* m_ok;
};

}  // namespace tavlix
