#include "runs/TechniqueChoice.h"

#include "engine/TechniqueTexts.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

bool KeepsQuestion(int choice, const QuestionNeeds& needs, std::optional<Technique> weakest)
{
    if (choice == kAnyTechnique)
        return true;
    if (choice == kPlainTechnique)
        return needs.IsPlain();
    if (choice == kWeakestTechnique)
        return weakest && needs.needs.Has(*weakest);
    return choice >= TechniqueChoiceOf(kAllTechniques.front()) && choice <= TechniqueChoiceOf(kAllTechniques.back()) &&
           needs.needs.Has(Technique(choice - 1));
}

std::vector<std::string> TechniqueChoiceTexts(const LanguageState& language, std::optional<Technique> weakest)
{
    std::vector<std::string> texts = {language.GetLocalizedString(IDS_DIALOG_TRAINING_TECHNIQUE_ANY)};
    for (const Technique technique : kAllTechniques)
        texts.push_back(
            language.GetLocalizedString(IDS_DIALOG_TRAINING_TECHNIQUE_NEEDS, TechniqueTitle(technique, language)));
    texts.push_back(language.GetLocalizedString(IDS_DIALOG_TRAINING_TECHNIQUE_PLAIN));
    texts.push_back(weakest ? language.GetLocalizedString(IDS_DIALOG_TRAINING_TECHNIQUE_WEAKEST,
                                                          TechniqueTitle(*weakest, language))
                            : language.GetLocalizedString(IDS_DIALOG_TRAINING_TECHNIQUE_WEAKEST_UNKNOWN));
    return texts;
}

}  // namespace tavlix
