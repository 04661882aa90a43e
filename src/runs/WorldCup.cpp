#include "runs/WorldCup.h"

#include <string_view>

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/Profile.h"
#include "runs/RankingTable.h"
#include "runs/TrainingPlan.h"

namespace tavlix {

namespace {

constexpr std::string_view kSection = "WC";
constexpr std::string_view kStandardEntry = "Standard";
constexpr std::string_view kJqkEntry = "JQK";

}  // namespace

WorldCupChoice LoadWorldCupChoice(const Profile& profile)
{
    return {profile.GetProfileInt(kSection, kStandardEntry, 1) != 0, profile.GetProfileInt(kSection, kJqkEntry, 0) == 1};
}

void StoreWorldCupChoice(Profile& profile, const WorldCupChoice& choice)
{
    profile.WriteProfileInt(kSection, kStandardEntry, choice.standardRule ? 1 : 0);
    profile.WriteProfileInt(kSection, kJqkEntry, choice.jqkEnabled ? 1 : 0);
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
