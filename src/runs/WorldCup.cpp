#include "runs/WorldCup.h"

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/SettingsTable.h"
#include "runs/RankingTable.h"
#include "runs/TrainingPlan.h"

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

TrainingPlan WorldCupPlan(const WorldCupChoice& choice)
{
    TrainingPlan plan;
    plan.training = false;
    plan.standardRule = choice.standardRule;
    plan.jqkEnabled = choice.jqkEnabled;
    plan.end = {plan.Maximum(), plan.Maximum(), plan.Maximum(), plan.Maximum()};
    plan.questionCount = int(kWorldCupQuestions);
    return plan;
}

int WorldCupDifficulty(const WorldCupChoice& choice) { return !choice.standardRule && choice.jqkEnabled ? 3 : 2; }

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
