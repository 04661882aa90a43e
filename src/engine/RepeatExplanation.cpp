#include "engine/RepeatExplanation.h"

#include "common/TextUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

std::string Explanation(const AnswerChecker::RepeatedLine& repeated, const LineComparison& comparison,
                        const LanguageState& language)
{
    std::string text = language.GetLocalizedString(repeated.same ? IDS_WHY_SAME : IDS_WHY_SIMILAR,
                                                    std::to_string(repeated.line + 1), repeated.text,
                                                    std::to_string(repeated.earlierLine + 1));
    ReplaceAll(text, "#1", repeated.earlierText);
    if (repeated.same) {
        ReplaceAll(text, "#2", comparison.subNormalAnswers[1]);
        ReplaceAll(text, "#3", comparison.normalAnswers[1]);
        return text;
    }
    ReplaceAll(text, "#2", comparison.subNormalAnswers[0]);
    ReplaceAll(text, "#3", comparison.subNormalAnswers[1]);
    ReplaceAll(text, "#4", comparison.normalAnswers[1]);
    return text + "\r\n" + UnificationText(comparison.unifications, language);
}

}  // namespace

LineComparison CompareLines(const NumberArray& question, const std::array<std::string, 2>& lines,
                            const Rules& rules)
{
    LineComparison comparison;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!CBMUtilities::CheckValidSolution(question, lines[i], rules)) {
            comparison.incorrectLine = i;
            return comparison;
        }
        NumberArray numbers = question;
        comparison.normalAnswers[i] = CBMUtilities::GetNormalAnswer(numbers, comparison.subNormalAnswers[i], lines[i],
                                                                    rules.maximum, comparison.unifications);
    }
    using Verdict = LineComparison::Verdict;
    if (comparison.normalAnswers[0] != comparison.normalAnswers[1])
        comparison.verdict = Verdict::Different;
    else
        comparison.verdict = comparison.subNormalAnswers[0] == comparison.subNormalAnswers[1] ? Verdict::Same
                                                                                              : Verdict::Similar;
    return comparison;
}

std::string UnificationText(unsigned unifications, const LanguageState& language)
{
    static constexpr std::pair<Unification, int> kSteps[] = {
        {kUnifyOperationWithOne, IDS_WHY_STEP_OPERATION_WITH_ONE},
        {kUnifyGroupOfOne, IDS_WHY_STEP_GROUP_OF_ONE},
        {kUnifyFactorOfOne, IDS_WHY_STEP_FACTOR_OF_ONE},
        {kUnifyRootOfOne, IDS_WHY_STEP_ROOT_OF_ONE},
        {kUnifyEvenPowerOfNegative, IDS_WHY_STEP_EVEN_POWER},
    };
    std::string text;
    for (const auto& [step, id] : kSteps)
        if (unifications & step)
            text += (text.empty() ? "" : "\r\n") + language.GetLocalizedString(id);
    return text;
}

std::string ExplainRepeatedLines(const AnswerInput& input, const LanguageState& language)
{
    const AnswerChecker checker(language);
    NumberArray question;
    if (!checker.ReadQuestion(input, question))
        return {};
    std::string text;
    for (const AnswerChecker::RepeatedLine& repeated : checker.RepeatedLines(input)) {
        const LineComparison comparison = CompareLines(question, {repeated.earlierText, repeated.text}, input.GetRules());
        text += (text.empty() ? "" : "\r\n\r\n") + Explanation(repeated, comparison, language);
    }
    return text;
}

}  // namespace tavlix
