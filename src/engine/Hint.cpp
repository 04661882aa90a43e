#include "engine/Hint.h"

#include <algorithm>
#include <set>

#include "engine/CExpression.h"
#include "engine/TechniqueTexts.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

std::string NormalAnswerOf(const std::string& line, unsigned maximum)
{
    NumberArray numbers;
    std::string subNormal;
    return CBMUtilities::GetNormalAnswer(numbers, subNormal, line, maximum);
}

std::string_view OperatorText(CExpression::Kind kind)
{
    switch (kind) {
    case CExpression::Kind::Add: return "+";
    case CExpression::Kind::Subtract: return "-";
    case CExpression::Kind::Multiply: return "*";
    case CExpression::Kind::Divide: return "/";
    case CExpression::Kind::Power: return "^";
    case CExpression::Kind::Root: return "^^";
    case CExpression::Kind::Number: break;
    }
    return {};
}

}  // namespace

std::optional<Operation> FirstOperation(std::string_view solution)
{
    CExpression expression;
    if (expression.SetExpression(std::string(solution), CExpression::Notation::WithRoots) != -1)
        return std::nullopt;
    // The tree lists the operations in the order they are worked out.
    const auto& nodes = expression.nodes();
    const auto isWrittenNumber = [&](int i) {
        const CExpression::Node& node = nodes[std::size_t(i)];
        return node.kind == CExpression::Kind::Number && node.textLength > 0;
    };
    const auto first = std::ranges::find_if(nodes, [&](const CExpression::Node& node) {
        return node.kind != CExpression::Kind::Number && isWrittenNumber(node.left) && isWrittenNumber(node.right);
    });
    if (first == nodes.end())
        return std::nullopt;
    const auto text = [&](int i) { return std::string(expression.NumberText(nodes[std::size_t(i)])); };
    return Operation{text(first->left), std::string(OperatorText(first->kind)), text(first->right)};
}

HintGuide::HintGuide(const LanguageState& language) : m_language(language) {}

Hint HintGuide::GetHint(const AnswerInput& input, int step) const
{
    Hint hint;
    NumberArray uaQ;
    if (!AnswerChecker(m_language).ReadQuestion(input, uaQ))
        return hint;

    const Rules rules = input.GetRules();
    StringArray solutions;
    const bool searched = CBMUtilities::GetSolutions(uaQ, solutions, rules);
    hint.step = std::clamp(step, 1, kLastHintStep);
    if (!searched || solutions.empty()) {
        hint.kind = HintKind::NoSolution;
        hint.step = 1;
        return hint;
    }

    // Same and similar answers share their normal answer.
    StringArray lines = AnswerLines(input, m_language.InputCharacterSet());
    lines.resize(std::min(lines.size(), kMaxAnswerLines));
    std::set<std::string> given;
    for (const std::string& line : lines)
        if (CBMUtilities::CheckValidSolution(uaQ, line, rules))
            given.insert(NormalAnswerOf(line, rules.maximum));
    hint.solutionCount = solutions.size();
    const std::string* firstNotGiven = nullptr;  // in the engine's order
    for (const std::string& solution : solutions) {
        if (given.contains(NormalAnswerOf(solution, rules.maximum)))
            ++hint.givenCount;
        else if (!firstNotGiven)
            firstNotGiven = &solution;
    }

    if (!firstNotGiven) {
        hint.kind = HintKind::AllGiven;
    } else if (hint.step == 1) {
        hint.kind = HintKind::SolutionCount;
        hint.needs = LookUpQuestionNeeds(uaQ, rules);
    } else {
        hint.solution = *firstNotGiven;
        hint.first = FirstOperation(hint.solution).value_or(Operation{});
        hint.kind = hint.step == 2 ? HintKind::FirstOperation : HintKind::WholeSolution;
    }
    return hint;
}

std::string HintGuide::HintText(const AnswerInput& input, const Hint& hint) const
{
    const std::string rule =
        m_language.GetLocalizedString(input.standardRule ? IDS_BMT_STANDARD_RULE : IDS_BMT_ADVANCED_RULE);
    const std::string count = std::to_string(hint.solutionCount);
    switch (hint.kind) {
    case HintKind::InvalidQuestion:
        return m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_INVALID_QUESTION,
                                             std::to_string(input.GetRules().maximum));
    case HintKind::NoSolution: return m_language.GetLocalizedString(IDS_HINT_NO_SOLUTION, rule);
    case HintKind::AllGiven:
        return hint.solutionCount == 1 ? m_language.GetLocalizedString(IDS_HINT_ONE_SOLUTION_GIVEN, rule)
                                       : m_language.GetLocalizedString(IDS_HINT_ALL_X_SOLUTIONS_GIVEN, count, rule);
    case HintKind::SolutionCount: {
        const std::string needs = "\r\n" + NeedsSentence(hint.needs, m_language);
        if (hint.solutionCount == 1)
            return m_language.GetLocalizedString(IDS_HINT_ONE_SOLUTION, rule) + needs;
        if (hint.givenCount == 0)
            return m_language.GetLocalizedString(IDS_HINT_X_SOLUTIONS, count, rule) + needs;
        return m_language.GetLocalizedString(IDS_HINT_X_SOLUTIONS_Y_GIVEN, count, rule,
                                             std::to_string(hint.givenCount)) + needs;
    }
    case HintKind::FirstOperation:
        if (hint.first.op == "^^")
            return m_language.GetLocalizedString(IDS_HINT_START_WITH_ROOT, hint.first.Text(), hint.first.left,
                                                 hint.first.right);
        return m_language.GetLocalizedString(IDS_HINT_START_WITH, hint.first.Text());
    case HintKind::WholeSolution: return m_language.GetLocalizedString(IDS_HINT_WHOLE_SOLUTION, hint.solution);
    }
    return {};
}

std::string HintGuide::GetHintsText(const AnswerInput& input, int step, int& shownStep) const
{
    std::string text;
    shownStep = 0;
    for (int k = 1; k <= std::min(step, kLastHintStep); ++k) {
        const Hint hint = GetHint(input, k);
        text += (text.empty() ? "" : "\r\n\r\n") + HintText(input, hint);
        shownStep = hint.step;
        if (hint.IsLast())
            break;
    }
    return text;
}

}  // namespace tavlix
