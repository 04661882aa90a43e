#pragma once

#include <string>

namespace tavlix {

class LanguageState;
class Profile;
struct TrainingPlan;

// The help topic of the games, behind F1 in the ranking windows.
inline constexpr int kGamesHelpTopic = 17;

// The level a World Cup is played at.
struct WorldCupChoice {
    bool standardRule = true;
    bool jqkEnabled = false;
    bool operator==(const WorldCupChoice&) const = default;
};

// The choice the World Cup dialog opens with: the standard rule and no J, Q, K unless
// the settings say otherwise.
WorldCupChoice LoadWorldCupChoice(const Profile& profile);
void StoreWorldCupChoice(Profile& profile, const WorldCupChoice& choice);

// What a World Cup of the level draws its questions from: every configuration of the
// level, with or without a solution, picked at random.
TrainingPlan WorldCupPlan(const WorldCupChoice& choice);
// The difficulty a World Cup is judged at: Intermediate, or Advanced at the Holy War level.
int WorldCupDifficulty(const WorldCupChoice& choice);

// "World Cup - %1 Level" with the level of the choice.
std::string WorldCupCaption(const WorldCupChoice& choice, const LanguageState& language);
// The rules and the levels, as the Rules button and F1 show them.
std::string WorldCupRulesText(const LanguageState& language);

}  // namespace tavlix
