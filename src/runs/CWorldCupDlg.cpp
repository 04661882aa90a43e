#include "runs/CWorldCupDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "controls/PictureButton.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/Profile.h"
#include "runs/CRankingDlg.h"
#include "runs/RankingNameDlg.h"

namespace tavlix {

namespace {

PictureButton* MakePictureButton(QWidget* parent, const char* name, const char* images, const QString& tip)
{
    auto* button = new PictureButton(parent);
    button->setObjectName(QLatin1String(name));
    button->SetImages(QLatin1String(images));
    button->setToolTip(tip);
    return button;
}

}  // namespace

CWorldCupDlg::CWorldCupDlg(Profile& profile, const LanguageState& language,
                           std::function<void(int topic)> openHelpTopic, QWidget* parent)
    : QDialog(parent),
      m_profile(profile),
      m_language(language),
      m_openHelpTopic(std::move(openHelpTopic)),
      m_choice(LoadWorldCupChoice(profile)),
      m_standardRule(new QRadioButton(LocalizedText(language, IDS_MENU_GAME_STANDARD_RULE_S), this)),
      m_advancedRule(new QRadioButton(LocalizedText(language, IDS_MENU_GAME_ADVANCED_RULE_A), this)),
      m_jqk(new QCheckBox(LocalizedText(language, IDS_MENU_GAME_ENABLE_JQK_J), this)),
      m_amateurRanking(MakePictureButton(this, "amateurRankingButton", "amateur-ranking",
                                         LocalizedText(language, IDS_DIALOG_WC_A_RANK))),
      m_professionalRanking(MakePictureButton(this, "professionalRankingButton", "professional-ranking",
                                              LocalizedText(language, IDS_DIALOG_WC_P_RANK))),
      m_rules(MakePictureButton(this, "rulesButton", "rules", LocalizedText(language, IDS_TIP_RULES))),
      m_ok(MakePictureButton(this, "okButton", "ok", LocalizedText(language, IDS_TIP_START))),
      m_cancel(MakePictureButton(this, "cancelButton", "cancel", LocalizedText(language, IDS_DIALOG_CANCEL)))
{
    setObjectName(QStringLiteral("worldCupDlg"));
    m_standardRule->setObjectName(QStringLiteral("standardRuleRadio"));
    m_advancedRule->setObjectName(QStringLiteral("advancedRuleRadio"));
    m_jqk->setObjectName(QStringLiteral("jqkCheck"));
    (m_choice.standardRule ? m_standardRule : m_advancedRule)->setChecked(true);
    m_jqk->setChecked(m_choice.jqkEnabled);

    auto* rules = new QGroupBox(LocalizedText(language, IDS_DIALOG_CL_SELECT_THE_RULES), this);
    rules->setObjectName(QStringLiteral("rulesGroup"));
    auto* rulesLayout = new QVBoxLayout(rules);
    rulesLayout->addWidget(m_standardRule);
    rulesLayout->addWidget(m_advancedRule);
    rulesLayout->addWidget(m_jqk);
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(m_amateurRanking);
    pictures->addWidget(m_professionalRanking);
    pictures->addWidget(m_rules);
    pictures->addStretch();
    pictures->addWidget(m_ok);
    pictures->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rules);
    layout->addLayout(pictures);
    // Tab goes as the eye does: the level, then the picture buttons left to right.
    QWidget* const order[] = {m_standardRule, m_advancedRule, m_jqk, m_amateurRanking, m_professionalRanking,
                              m_rules, m_ok, m_cancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    for (QAbstractButton* choice : std::initializer_list<QAbstractButton*>{m_standardRule, m_advancedRule, m_jqk})
        connect(choice, &QAbstractButton::toggled, this, &CWorldCupDlg::UpdateCaption);
    connect(m_amateurRanking, &PictureButton::clicked, this, [this] { ShowRanking(RankingKind::Amateur); });
    connect(m_professionalRanking, &PictureButton::clicked, this, [this] { ShowRanking(RankingKind::Professional); });
    connect(m_rules, &PictureButton::clicked, this, &CWorldCupDlg::ShowRules);
    connect(m_ok, &PictureButton::clicked, this, &CWorldCupDlg::OnOk);
    connect(m_cancel, &PictureButton::clicked, this, &QDialog::reject);
    // Here F1 explains the game itself, as the Rules button does.
    InstallHelpKey(this, [this](int) { ShowRules(); }, kGamesHelpTopic);
    UpdateCaption();
}

WorldCupChoice CWorldCupDlg::ReadChoice() const { return {m_standardRule->isChecked(), m_jqk->isChecked()}; }

void CWorldCupDlg::UpdateCaption()
{
    const QString caption = ToQString(WorldCupCaption(ReadChoice(), m_language));
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void CWorldCupDlg::ShowRanking(RankingKind kind)
{
    const WorldCupChoice choice = ReadChoice();
    CRankingDlg ranking(m_profile, m_language, kind, choice.standardRule, choice.jqkEnabled, m_openHelpTopic, this);
    ranking.exec();
}

void CWorldCupDlg::ShowRules()
{
    BMMessageBox(ToQString(WorldCupRulesText(m_language)), {}, MB_OK | MB_ICONASTERISK, false, {}, false, false,
                 this);
}

void CWorldCupDlg::OnOk()
{
    m_choice = ReadChoice();
    accept();
}

void CWorldCupDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnOk();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CWorldCupDlg::done(int result)
{
    StoreWorldCupChoice(m_profile, ReadChoice());
    QDialog::done(result);
}

bool OfferWorldCupRanking(Profile& profile, const LanguageState& language,
                          const std::function<void(int topic)>& openHelpTopic, std::size_t score,
                          std::int64_t secondsUsed, bool standardRule, bool jqkEnabled, QWidget* parent)
{
    std::optional<RankingOffer> offer = DecideWorldCupRanking(profile, score, secondsUsed, standardRule, jqkEnabled);
    if (!offer)
        return false;
    RankingNameDlg nameDialog(profile, language, offer->table.Kind(), openHelpTopic, parent);
    if (nameDialog.exec() != QDialog::Accepted)
        return false;
    offer->table.Add(profile, nameDialog.Name(), offer->value);
    CRankingDlg ranking(profile, language, offer->table.Kind(), standardRule, jqkEnabled, openHelpTopic, parent);
    ranking.exec();
    return true;
}

}  // namespace tavlix
