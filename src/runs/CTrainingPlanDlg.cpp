#include "runs/CTrainingPlanDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "common/TextUtilities.h"
#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

template <typename Widget>
Widget* Named(QWidget* parent, const char* name)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The up and down arrows beside a number edit. A step starts from the typed number
// and stays within low..high; from text that is no number it goes to low.
QWidget* MakeSpin(QWidget* parent, const char* name, QLineEdit* edit, int low, int high)
{
    auto* spin = Named<QWidget>(parent, name);
    auto* layout = new QVBoxLayout(spin);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const int step : {1, -1}) {
        auto* arrow = Named<QToolButton>(spin, step > 0 ? "upButton" : "downButton");
        arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setFixedSize(18, 12);
        layout->addWidget(arrow);
        QObject::connect(arrow, &QToolButton::clicked, edit, [edit, low, high, step] {
            const std::optional<int> typed = ReadTypedNumber(edit->text().toStdString());
            edit->setText(QString::number(typed ? std::clamp(*typed + step, low, high) : low));
        });
    }
    StepWithArrowKeys(edit, spin->findChild<QToolButton*>(QStringLiteral("upButton")),
                      spin->findChild<QToolButton*>(QStringLiteral("downButton")));
    return spin;
}

// Radio buttons that exclude each other within one group box.
void Exclusive(QWidget* parent, std::initializer_list<QRadioButton*> radios)
{
    auto* group = new QButtonGroup(parent);
    for (QRadioButton* radio : radios)
        group->addButton(radio);
}

unsigned ListValue(const QComboBox* list)
{
    return ReadTypedNumber(list->currentText().toStdString()).value_or(0);
}

}  // namespace

CTrainingPlanDlg::CTrainingPlanDlg(bool training, Profile& profile, const LanguageState& language,
                                   const Collection& troubleMakers, const Collection& myFavorites,
                                   QWidget* parent, std::vector<ReviewItem> dueForReview,
                                   std::optional<Technique> weakestTechnique)
    : QDialog(parent),
      m_profile(profile),
      m_language(language),
      m_troubleMakers(troubleMakers),
      m_myFavorites(myFavorites),
      m_dueForReview(std::move(dueForReview)),
      m_weakestTechnique(weakestTechnique),
      m_plan(LoadTrainingPlan(profile, training)),
      m_standardRule(Named<QRadioButton>(this, "standardRuleRadio")),
      m_advancedRule(Named<QRadioButton>(this, "advancedRuleRadio")),
      m_jqk(Named<QCheckBox>(this, "jqkCheck")),
      m_fullSet(Named<QRadioButton>(this, "fullSetRadio")),
      m_collections(Named<QRadioButton>(this, "collectionsRadio")),
      m_troubleMakersCheck(Named<QCheckBox>(this, "troubleMakersCheck")),
      m_myFavoritesCheck(Named<QCheckBox>(this, "myFavoritesCheck")),
      m_reviewSet(Named<QRadioButton>(this, "reviewSetRadio")),
      m_withSolution(Named<QCheckBox>(this, "withSolutionCheck")),
      m_withoutSolution(Named<QCheckBox>(this, "withoutSolutionCheck")),
      m_technique(Named<QComboBox>(this, "techniqueList")),
      m_fullRange(Named<QRadioButton>(this, "fullRangeRadio")),
      m_withinRange(Named<QRadioButton>(this, "withinRangeRadio")),
      m_startCheck(Named<QCheckBox>(this, "startCheck")),
      m_endCheck(Named<QCheckBox>(this, "endCheck")),
      m_rangeLists{Named<QComboBox>(this, "startList1"), Named<QComboBox>(this, "startList2"),
                   Named<QComboBox>(this, "startList3"), Named<QComboBox>(this, "startList4"),
                   Named<QComboBox>(this, "endList1"),   Named<QComboBox>(this, "endList2"),
                   Named<QComboBox>(this, "endList3"),   Named<QComboBox>(this, "endList4")},
      m_randomly(Named<QRadioButton>(this, "randomRadio")),
      m_sequentially(Named<QRadioButton>(this, "sequentialRadio")),
      m_ascending(Named<QRadioButton>(this, "ascendingRadio")),
      m_descending(Named<QRadioButton>(this, "descendingRadio")),
      m_timeLimit(Named<QCheckBox>(this, "timeLimitCheck")),
      m_minutes(Named<QLineEdit>(this, "minutesEdit")),
      m_minutesSpin(MakeSpin(this, "minutesSpin", m_minutes, kMinMinutes, kMaxMinutes)),
      m_minutesLabel(Named<QLabel>(this, "minutesLabel")),
      m_count(Named<QLineEdit>(this, "countEdit")),
      m_countSpin(MakeSpin(this, "countSpin", m_count, kMinQuestionCount, kMaxQuestionCount)),
      m_difficulty(Named<QComboBox>(this, "difficultyList")),
      m_available(Named<QLabel>(this, "availableLabel")),
      m_ok(nullptr)
{
    setObjectName(QStringLiteral("trainingPlanDlg"));
    setWindowTitle(Text(training ? IDS_DIALOG_TRAINING_CAPTION_TRAINING : IDS_TIP_TRAINING_GAME));
    BuildLayout();
    FillControls();
    ConnectControls();
    Refresh();
}

QString CTrainingPlanDlg::Text(int id) const { return LocalizedText(m_language, id); }

void CTrainingPlanDlg::BuildLayout()
{
    LabelChoices();
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(BuildRulesBox());
    left->addWidget(BuildSetBox());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildDataBox());
    right->addWidget(BuildOtherBox());
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_available);
    layout->addWidget(BuildButtons());
}

// The texts of the check boxes and radio buttons, and which of them exclude each other.
void CTrainingPlanDlg::LabelChoices()
{
    const std::pair<QAbstractButton*, int> labels[] = {
        {m_standardRule, IDS_MENU_GAME_STANDARD_RULE_S},
        {m_advancedRule, IDS_MENU_GAME_ADVANCED_RULE_A},
        {m_jqk, IDS_MENU_GAME_ENABLE_JQK_J},
        {m_fullSet, IDS_DIALOG_TRAINING_FULL_SET_F},
        {m_collections, IDS_DIALOG_TRAINING_MY_COLLECTION_L},
        {m_troubleMakersCheck, IDS_DIALOG_TRAINING_TROUBLE_MAKERS_T},
        {m_myFavoritesCheck, IDS_DIALOG_TRAINING_MY_FAVORITES_M},
        {m_reviewSet, IDS_DIALOG_TRAINING_REVIEW_SET_V},
        {m_withSolution, IDS_DIALOG_CL_CONFIGURATIONS_WITH_SOLUTION_C},
        {m_withoutSolution, IDS_DIALOG_CL_CONFIGURATIONS_WITH_NO_SOLUTION_N},
        {m_fullRange, IDS_DIALOG_TRAINING_FULL_RANGE_R},
        {m_withinRange, IDS_DIALOG_TRAINING_WITHIN_CERTAIN_SELECTION_W},
        {m_startCheck, IDS_DIALOG_TRAINING_START_1},
        {m_endCheck, IDS_DIALOG_TRAINING_END_2},
        {m_randomly, IDS_DIALOG_TRAINING_RANDOMLY_3},
        {m_sequentially, IDS_DIALOG_TRAINING_SEQUENTIALLY_4},
        {m_ascending, IDS_DIALOG_TRAINING_ASC_5},
        {m_descending, IDS_DIALOG_TRAINING_DESC_6},
        {m_timeLimit, IDS_DIALOG_TRAINING_SET_A_TIME_LIMIT_E},
    };
    for (const auto& [button, id] : labels)
        button->setText(Text(id));
    Exclusive(this, {m_standardRule, m_advancedRule});
    Exclusive(this, {m_fullSet, m_collections, m_reviewSet});
    Exclusive(this, {m_fullRange, m_withinRange});
    Exclusive(this, {m_randomly, m_sequentially});
    Exclusive(this, {m_ascending, m_descending});
}

QGroupBox* CTrainingPlanDlg::BuildRulesBox()
{
    auto* rulesBox = new QGroupBox(Text(IDS_DIALOG_CL_SELECT_THE_RULES), this);
    auto* rulesLayout = new QVBoxLayout(rulesBox);
    for (QWidget* w : std::initializer_list<QWidget*>{m_standardRule, m_advancedRule, m_jqk})
        rulesLayout->addWidget(w);
    return rulesBox;
}

QGroupBox* CTrainingPlanDlg::BuildSetBox()
{
    auto* setBox = new QGroupBox(Text(IDS_DIALOG_TRAINING_SELECT_FONFIGURATION_SET), this);
    auto* setLayout = new QGridLayout(setBox);
    setLayout->addWidget(m_fullSet, 0, 0, 1, 3);
    setLayout->addWidget(m_collections, 1, 0, 1, 3);
    setLayout->addWidget(m_troubleMakersCheck, 2, 1);
    setLayout->addWidget(m_myFavoritesCheck, 2, 2);
    setLayout->addWidget(m_reviewSet, 3, 0, 1, 3);
    setLayout->addWidget(m_withSolution, 4, 0, 1, 3);
    setLayout->addWidget(m_withoutSolution, 5, 0, 1, 3);
    setLayout->addLayout(BuildTechniqueRow(), 6, 0, 1, 3);
    setLayout->setColumnMinimumWidth(0, 16);
    return setBox;
}

// Which questions of the chosen set to keep by what they need; the last entry names the
// player's weakest technique.
QLayout* CTrainingPlanDlg::BuildTechniqueRow()
{
    for (const std::string& text : TechniqueChoiceTexts(m_language, m_weakestTechnique))
        m_technique->addItem(ToQString(text));
    auto* label = new QLabel(Text(IDS_DIALOG_TRAINING_TECHNIQUE_H), this);
    label->setBuddy(m_technique);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_technique, 1);
    return row;
}

// The range of configurations, then their order.
QGroupBox* CTrainingPlanDlg::BuildDataBox()
{
    auto* dataBox = new QGroupBox(Text(IDS_DIALOG_TRAINING_SELECT_DATA), this);
    auto* dataLayout = new QGridLayout(dataBox);
    dataLayout->addWidget(m_fullRange, 0, 0, 1, 6);
    dataLayout->addWidget(m_withinRange, 1, 0, 1, 6);
    dataLayout->addWidget(m_startCheck, 2, 1);
    dataLayout->addWidget(m_endCheck, 3, 1);
    for (std::size_t i = 0; i < m_rangeLists.size(); ++i) {
        dataLayout->addWidget(m_rangeLists[i], i < 4 ? 2 : 3, 2 + int(i % 4));
        // Said as "Start: Number 2 of the question".
        const QString row = PlainLabel((i < 4 ? m_startCheck : m_endCheck)->text());
        m_rangeLists[i]->setAccessibleName(
            row + QLatin1Char(' ') + LocalizedText(m_language, IDS_A11Y_QUESTION_NUMBER, std::to_string(i % 4 + 1)));
    }
    dataLayout->addWidget(m_randomly, 4, 0, 1, 6);
    dataLayout->addWidget(m_sequentially, 5, 0, 1, 6);
    dataLayout->addWidget(m_ascending, 6, 1, 1, 2);
    dataLayout->addWidget(m_descending, 6, 3, 1, 3);
    dataLayout->setColumnMinimumWidth(0, 16);
    return dataBox;
}

// The time limit, the number of questions and the difficulty level.
QGroupBox* CTrainingPlanDlg::BuildOtherBox()
{
    auto* otherBox = new QGroupBox(Text(IDS_DIALOG_TRAINING_OTHER_CONFIGURATIONS), this);
    auto* otherLayout = new QGridLayout(otherBox);
    m_minutesLabel->setText(Text(IDS_DIALOG_TRAINING_MINUTES));
    m_minutes->setAccessibleName(PlainLabel(m_timeLimit->text()));
    m_minutes->setAccessibleDescription(m_minutesLabel->text());
    auto* countLabel = new QLabel(Text(IDS_DIALOG_TRAINING_NUMBER_OF_QUESTIONS_Q), otherBox);
    countLabel->setBuddy(m_count);
    auto* difficultyLabel = new QLabel(Text(IDS_DIALOG_TRAINING_DIFFICULTY_LEVEL_D), otherBox);
    difficultyLabel->setBuddy(m_difficulty);
    for (QLineEdit* edit : {m_minutes, m_count})
        edit->setMaximumWidth(70);
    otherLayout->addWidget(m_timeLimit, 0, 0);
    otherLayout->addWidget(m_minutes, 0, 1);
    otherLayout->addWidget(m_minutesSpin, 0, 2);
    otherLayout->addWidget(m_minutesLabel, 0, 3);
    otherLayout->addWidget(countLabel, 1, 0);
    otherLayout->addWidget(m_count, 1, 1);
    otherLayout->addWidget(m_countSpin, 1, 2);
    otherLayout->addWidget(difficultyLabel, 2, 0);
    otherLayout->addWidget(m_difficulty, 2, 1, 1, 3);
    otherLayout->setColumnStretch(4, 1);
    return otherBox;
}

QDialogButtonBox* CTrainingPlanDlg::BuildButtons()
{
    QDialogButtonBox* buttons = MakeButtonBox(this, m_language);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setToolTip(Text(IDS_TIP_START));
    QPushButton* details = buttons->addButton(Text(IDS_DIALOG_BM_MESSAGE_BOX_DETAILS_D), QDialogButtonBox::ActionRole);
    details->setObjectName(QStringLiteral("detailsButton"));
    details->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTrainingPlanDlg::OnOk);
    connect(details, &QPushButton::clicked, this, &CTrainingPlanDlg::ShowNotes);
    return buttons;
}

void CTrainingPlanDlg::FillControls()
{
    (m_plan.standardRule ? m_standardRule : m_advancedRule)->setChecked(true);
    m_jqk->setChecked(m_plan.jqkEnabled);
    (m_plan.reviewSet ? m_reviewSet : m_plan.fullSet ? m_fullSet : m_collections)->setChecked(true);
    m_troubleMakersCheck->setChecked(m_plan.useTroubleMakers);
    m_myFavoritesCheck->setChecked(m_plan.useMyFavorites);
    m_withSolution->setChecked(m_plan.withSolution);
    m_withoutSolution->setChecked(m_plan.withoutSolution);
    m_technique->setCurrentIndex(m_plan.technique);
    (m_plan.fullRange ? m_fullRange : m_withinRange)->setChecked(true);
    m_startCheck->setChecked(m_plan.startBounded);
    m_endCheck->setChecked(m_plan.endBounded);
    (m_plan.random ? m_randomly : m_sequentially)->setChecked(true);
    (m_plan.ascending ? m_ascending : m_descending)->setChecked(true);
    m_timeLimit->setChecked(m_plan.timeLimitOn);
    m_minutes->setText(QString::number(m_plan.minutes));
    m_count->setText(QString::number(m_plan.questionCount));
    for (const std::string& level : GetSAFromMLString(m_language.GetLocalizedString(IDS_DIALOG_TRAINING_DIFFICULTY_LEVEL_LIST)))
        m_difficulty->addItem(QString::fromStdString(level));
    if (m_plan.difficultyLevel >= 1 && m_plan.difficultyLevel <= m_difficulty->count())
        m_difficulty->setCurrentIndex(m_plan.difficultyLevel - 1);
    FillRangeLists({m_plan.start, m_plan.end});
}

// Each list offers the numbers from the value of the list it follows up to max; a list
// whose value does not fit its bounds is left as it is.
void CTrainingPlanDlg::FillRangeLists(const RangeValues& values)
{
    const unsigned maximum = LargestNumber(m_jqk->isChecked());
    m_updating = true;
    for (std::size_t i = 0; i < m_rangeLists.size(); ++i) {
        const unsigned lower = RangeListLowerBound(values, i);
        const unsigned value = i < 4 ? values.start[i] : values.end[i - 4];
        if (lower == 0 || value < lower || value > maximum)
            continue;
        QComboBox* list = m_rangeLists[i];
        list->clear();
        for (unsigned n = lower; n <= maximum; ++n)
            list->addItem(QString::number(n));
        list->setCurrentIndex(int(value - lower));
    }
    m_updating = false;
}

void CTrainingPlanDlg::ConnectControls()
{
    for (QRadioButton* radio : {m_standardRule, m_advancedRule, m_fullSet, m_collections, m_reviewSet, m_randomly,
                                m_sequentially, m_ascending, m_descending})
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Refresh();
        });
    for (QRadioButton* radio : {m_fullRange, m_withinRange})
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                NormalizeRange(false);
        });
    for (QCheckBox* check : {m_jqk, m_startCheck, m_endCheck})
        connect(check, &QCheckBox::toggled, this, [this] { NormalizeRange(true); });
    for (QComboBox* list : m_rangeLists)
        connect(list, &QComboBox::currentIndexChanged, this, [this] { NormalizeRange(true); });
    connect(m_technique, &QComboBox::currentIndexChanged, this, &CTrainingPlanDlg::Refresh);
    const std::pair<QCheckBox*, QCheckBox*> pairs[] = {{m_troubleMakersCheck, m_myFavoritesCheck},
                                                       {m_myFavoritesCheck, m_troubleMakersCheck},
                                                       {m_withSolution, m_withoutSolution},
                                                       {m_withoutSolution, m_withSolution}};
    for (const auto& [check, other] : pairs)
        connect(check, &QCheckBox::toggled, this, [this, check = check, other = other] { KeepOneChecked(check, other); });
    connect(m_timeLimit, &QCheckBox::toggled, this, &CTrainingPlanDlg::Refresh);
}

void CTrainingPlanDlg::KeepOneChecked(QCheckBox* cleared, QCheckBox* other)
{
    if (!cleared->isChecked() && !other->isChecked())
        other->setChecked(true);
    Refresh();
}

void CTrainingPlanDlg::NormalizeRange(bool rebuild)
{
    if (m_updating)
        return;
    ReadControls();
    std::array<std::string, 8> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = m_rangeLists[i]->currentText().toStdString();
    if (const std::optional<RangeValues> values = NormalizeRangeLists(m_plan, texts, rebuild))
        FillRangeLists(*values);
    Refresh();
}

void CTrainingPlanDlg::ReadControls()
{
    m_plan.standardRule = m_standardRule->isChecked();
    m_plan.jqkEnabled = m_jqk->isChecked();
    m_plan.reviewSet = m_reviewSet->isChecked();
    if (!m_plan.reviewSet)
        m_plan.fullSet = m_fullSet->isChecked();
    m_plan.useTroubleMakers = m_troubleMakersCheck->isChecked();
    m_plan.useMyFavorites = m_myFavoritesCheck->isChecked();
    m_plan.withSolution = m_withSolution->isChecked();
    m_plan.withoutSolution = m_withoutSolution->isChecked();
    if (m_technique->currentIndex() >= 0)
        m_plan.technique = m_technique->currentIndex();
    m_plan.fullRange = m_fullRange->isChecked();
    m_plan.startBounded = m_startCheck->isChecked();
    m_plan.endBounded = m_endCheck->isChecked();
    for (std::size_t i = 0; i < 4; ++i) {
        m_plan.start[i] = ListValue(m_rangeLists[i]);
        m_plan.end[i] = ListValue(m_rangeLists[i + 4]);
    }
    m_plan.random = m_randomly->isChecked();
    m_plan.ascending = m_ascending->isChecked();
    m_plan.timeLimitOn = m_timeLimit->isChecked();
    // Kept as typed; OK checks the ranges. Text that is no number keeps the old value.
    m_plan.questionCount = ReadTypedNumber(m_count->text().toStdString()).value_or(m_plan.questionCount);
    m_plan.minutes = ReadTypedNumber(m_minutes->text().toStdString()).value_or(m_plan.minutes);
    if (m_difficulty->currentIndex() >= 0)
        m_plan.difficultyLevel = m_difficulty->currentIndex() + 1;
}

void CTrainingPlanDlg::ApplyEnablingRules()
{
    m_troubleMakersCheck->setEnabled(m_collections->isChecked());
    m_myFavoritesCheck->setEnabled(m_collections->isChecked());
    const bool within = m_withinRange->isChecked();
    m_startCheck->setEnabled(within);
    m_endCheck->setEnabled(within);
    for (std::size_t i = 0; i < m_rangeLists.size(); ++i)
        m_rangeLists[i]->setEnabled(within && (i < 4 ? m_startCheck : m_endCheck)->isChecked());
    m_ascending->setEnabled(m_sequentially->isChecked());
    m_descending->setEnabled(m_sequentially->isChecked());
    const bool game = !m_plan.training;
    m_timeLimit->setEnabled(game);
    for (QWidget* w : std::initializer_list<QWidget*>{m_minutes, m_minutesSpin, m_minutesLabel})
        w->setEnabled(game && m_timeLimit->isChecked());
}

void CTrainingPlanDlg::Refresh()
{
    if (m_updating)
        return;
    ApplyEnablingRules();
    ReadControls();
    const auto available = static_cast<long long>(
        BuildCandidates(m_plan, m_troubleMakers, m_myFavorites, m_dueForReview, m_weakestTechnique).size());
    if (available == m_shownAvailable)
        return;
    m_shownAvailable = available;
    m_available->setText(LocalizedText(m_language, IDS_DIALOG_TRAINING_QUESTIONS_AVAILABLE, std::to_string(available)));
    m_ok->setEnabled(available > 0);
}

bool CTrainingPlanDlg::CheckTypedNumber(QLineEdit* edit, int low, int high)
{
    const std::string prompt = TypedNumberPrompt(edit->text().toStdString(), low, high, m_language);
    if (prompt.empty())
        return true;
    ShowNotice(ToQString(prompt), this);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CTrainingPlanDlg::OnOk()
{
    // The minutes only count while they can be edited: a disabled field can't be put right.
    if (m_minutes->isEnabled() && !CheckTypedNumber(m_minutes, kMinMinutes, kMaxMinutes))
        return;
    if (!CheckTypedNumber(m_count, kMinQuestionCount, kMaxQuestionCount))
        return;
    accept();
}

void CTrainingPlanDlg::done(int result)
{
    ReadControls();
    StoreTrainingPlan(m_profile, m_plan);
    QDialog::done(result);
}

void CTrainingPlanDlg::ShowNotes()
{
    const std::string notes = m_language.GetLocalizedString(IDS_DIALOG_TRAINING_NOTES1) + "\r\n\r\n" +
                              m_language.GetLocalizedString(IDS_DIALOG_TRAINING_NOTES2);
    BMMessageBox(ToQString(notes), {}, MB_OK | MB_ICONASTERISK, true,
                 QLatin1String(CBMMessageBox::kIrrelevantHelpKey), false, false, this);
}

void CTrainingPlanDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowNotes();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tavlix
