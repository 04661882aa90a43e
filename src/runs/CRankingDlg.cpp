#include "runs/CRankingDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/Profile.h"
#include "runs/WorldCup.h"

namespace tavlix {

namespace {

// Wide enough for any sensible name; a longer one is cut short, in full in its tool tip.
constexpr int kNameWidth = 260;

QLabel* MakeCell(QWidget* parent, const char* name, std::size_t row)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name) + QString::number(row + 1));
    // Names are the players' own text: never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A name on one line, cut to the column's width.
void ShowName(QLabel* label, const std::string& name)
{
    QString line = QString::fromStdString(name);
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    const QString shown = label->fontMetrics().elidedText(line, Qt::ElideRight, kNameWidth);
    label->setText(shown);
    label->setToolTip(shown == line ? QString() : line);
}

}  // namespace

CRankingDlg::CRankingDlg(const Profile& profile, const LanguageState& language, RankingKind kind, bool standardRule,
                         bool jqkEnabled, std::function<void(int topic)> openHelpTopic, QWidget* parent)
    : QDialog(parent),
      m_profile(profile),
      m_language(language),
      m_kind(kind),
      m_standardRule(new QRadioButton(LocalizedText(language, IDS_MENU_GAME_STANDARD_RULE_S), this)),
      m_advancedRule(new QRadioButton(LocalizedText(language, IDS_MENU_GAME_ADVANCED_RULE_A), this)),
      m_jqk(new QCheckBox(LocalizedText(language, IDS_MENU_GAME_ENABLE_JQK_J), this))
{
    setObjectName(QStringLiteral("rankingDlg"));
    m_standardRule->setObjectName(QStringLiteral("standardRuleRadio"));
    m_advancedRule->setObjectName(QStringLiteral("advancedRuleRadio"));
    m_jqk->setObjectName(QStringLiteral("jqkCheck"));
    (standardRule ? m_standardRule : m_advancedRule)->setChecked(true);
    m_jqk->setChecked(jqkEnabled);

    auto* rules = new QGroupBox(LocalizedText(language, IDS_DIALOG_CL_SELECT_THE_RULES), this);
    auto* rulesLayout = new QVBoxLayout(rules);
    rulesLayout->addWidget(m_standardRule);
    rulesLayout->addWidget(m_advancedRule);
    rulesLayout->addWidget(m_jqk);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(16);
    for (std::size_t row = 0; row < RankingTable::kPlaces; ++row) {
        m_numbers[row] = MakeCell(this, "numberLabel", row);
        m_names[row] = MakeCell(this, "nameLabel", row);
        m_values[row] = MakeCell(this, "valueLabel", row);
        m_names[row]->setMinimumWidth(kNameWidth);
        rows->addWidget(m_numbers[row], int(row), 0);
        rows->addWidget(m_names[row], int(row), 1);
        rows->addWidget(m_values[row], int(row), 2, Qt::AlignRight);
    }

    auto* buttons = MakeButtonBox(this, language, QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rules);
    layout->addLayout(rows);
    layout->addWidget(buttons);

    for (QAbstractButton* choice : std::initializer_list<QAbstractButton*>{m_standardRule, m_advancedRule, m_jqk})
        connect(choice, &QAbstractButton::toggled, this, &CRankingDlg::ShowTable);
    InstallHelpKey(this, std::move(openHelpTopic), kGamesHelpTopic);
    ShowTable();
}

void CRankingDlg::ShowTable()
{
    const RankingTable table = RankingTable::Load(m_profile, m_kind, m_standardRule->isChecked(), m_jqk->isChecked());
    const QString caption = ToQString(table.Caption(m_language));
    if (windowTitle() != caption)
        setWindowTitle(caption);
    const auto shownRows = table.Rows(m_language);
    for (std::size_t row = 0; row < shownRows.size(); ++row) {
        m_numbers[row]->setText(ToQString(shownRows[row].number));
        ShowName(m_names[row], shownRows[row].name);
        m_values[row]->setText(ToQString(shownRows[row].value));
    }
}

}  // namespace tavlix
