#include "runs/RankingNameDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/Profile.h"
#include "runs/WorldCup.h"

namespace tavlix {

RankingNameDlg::RankingNameDlg(Profile& profile, const LanguageState& language, RankingKind kind,
                               std::function<void(int topic)> openHelpTopic, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_name(new QLineEdit(this))
{
    setObjectName(QStringLiteral("rankingNameDlg"));
    setWindowTitle(LocalizedText(language, IDS_DIALOG_RANK_CONGRATULATIONS));
    auto* prompt = new QLabel(ToQString(RankingNamePrompt(kind, language)), this);
    prompt->setObjectName(QStringLiteral("promptLabel"));
    prompt->setWordWrap(true);
    prompt->setBuddy(m_name);  // what a screen reader says for the box
    m_name->setObjectName(QStringLiteral("nameEdit"));
    // No more than the settings can keep, so that the name entered is the name stored.
    m_name->setMaxLength(int(Profile::kMaxStringLength));
    m_name->setText(QString::fromStdString(LoadLastRankingName(profile)));
    m_name->selectAll();

    auto* buttons = MakeButtonBox(this, language);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_name);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    InstallHelpKey(this, std::move(openHelpTopic), kGamesHelpTopic);
}

std::string RankingNameDlg::Name() const { return m_name->text().toStdString(); }

void RankingNameDlg::done(int result)
{
    StoreLastRankingName(m_profile, Name());
    QDialog::done(result);
}

}  // namespace tavlix
