#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Techniques.h"

namespace tavlix {

class LanguageState;

// Which questions of its set a training plan keeps by what they need, as the settings
// store the choice: kAnyTechnique, TechniqueChoiceOf(each technique) for the questions
// that need it, kPlainTechnique for the plain ones, kWeakestTechnique for those that
// need the player's weakest technique. Never renumber.
inline constexpr int kAnyTechnique = 0;
inline constexpr int kPlainTechnique = 9;
inline constexpr int kWeakestTechnique = 10;
constexpr int TechniqueChoiceOf(Technique technique) { return int(technique) + 1; }

// Whether a question with these needs stays in a plan with the choice; weakest is the
// player's weakest technique, when the history tells one (without one, no question
// needs it).
bool KeepsQuestion(int choice, const QuestionNeeds& needs, std::optional<Technique> weakest);

// The entries of the plan's technique list in the interface language, one per choice
// from kAnyTechnique to kWeakestTechnique; the last one names the weakest technique.
std::vector<std::string> TechniqueChoiceTexts(const LanguageState& language, std::optional<Technique> weakest);

}  // namespace tavlix
