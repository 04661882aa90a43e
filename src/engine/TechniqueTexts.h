#pragma once

#include <string>

#include "engine/Techniques.h"

namespace tavlix {

class LanguageState;

// A technique's name as a list or a table shows it ("Division"), in the interface language.
std::string TechniqueTitle(Technique technique, const LanguageState& language);

// What the question needs, in a sentence of the interface language ("This question needs
// a fraction on the way, a division and a subtraction."), or that it needs none of the
// techniques; empty for a question without a solution.
std::string NeedsSentence(const QuestionNeeds& needs, const LanguageState& language);

}  // namespace tavlix
