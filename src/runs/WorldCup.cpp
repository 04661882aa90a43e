#include "runs/WorldCup.h"

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/SettingsTable.h"
#include "runs/RankingTable.h"

namespace tavlix {

WorldCupChoice LoadWorldCupChoice(const Profile& profile)
{
    return {ReadSetting(profile, setting::kWorldCupStandardRule), ReadSetting(profile, setting::kWorldCupJqk)};
}

void StoreWorldCupChoice(Profile& profile, const WorldCupChoice& choice)
{
    WriteSetting(profile, setting::kWorldCupStandardRule, choice.standardRule);
    WriteSetting(profile, setting::kWorldCupJqk, choice.jqkEnabled);
}

std::string WorldCupCaption(const WorldCupChoice& choice, const LanguageState& language)
{
    return language.GetLocalizedString(IDS_DIALOG_WC_CAPTION,
                                       GameLevelName(choice.standardRule, choice.jqkEnabled, language));
}

std::string WorldCupRulesText(const LanguageState& language)
{
    return language.GetLocalizedString(IDS_DIALOG_WC_RULE1) + "\r\n\r\n" + language.GetLocalizedString(IDS_DIALOG_WC_RULE2);
}

}  // namespace tavlix
