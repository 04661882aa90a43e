#include "engine/TechniqueTexts.h"

#include <vector>

#include "common/TextUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

// The line of a list text of the table that belongs to the technique.
std::string TechniqueLine(int listId, Technique technique, const LanguageState& language)
{
    const std::vector<std::string> lines = GetSAFromMLString(language.GetLocalizedString(listId));
    const auto index = std::size_t(technique);
    return index < lines.size() ? lines[index] : std::string();
}

// "a, b and c" as the language joins a list.
std::string JoinedPhrases(TechniqueSet techniques, const LanguageState& language)
{
    std::vector<std::string> phrases;
    for (const Technique technique : kAllTechniques)
        if (techniques.Has(technique))
            phrases.push_back(TechniqueLine(IDS_TECHNIQUE_PHRASES, technique, language));
    std::string text = phrases.empty() ? std::string() : phrases[0];
    for (std::size_t i = 1; i < phrases.size(); ++i)
        text = language.GetLocalizedString(i + 1 == phrases.size() ? IDS_TECHNIQUE_LIST_LAST : IDS_TECHNIQUE_LIST_NEXT,
                                           text, phrases[i]);
    return text;
}

}  // namespace

std::string TechniqueTitle(Technique technique, const LanguageState& language)
{
    return TechniqueLine(IDS_TECHNIQUE_NAMES, technique, language);
}

std::string NeedsSentence(const QuestionNeeds& needs, const LanguageState& language)
{
    if (!needs.solvable)
        return {};
    if (needs.IsPlain())
        return language.GetLocalizedString(IDS_HINT_NEEDS_NOTHING);
    return language.GetLocalizedString(IDS_HINT_NEEDS, JoinedPhrases(needs.needs, language));
}

}  // namespace tavlix
