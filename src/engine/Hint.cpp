#include "engine/Hint.h"

#include <algorithm>
#include <set>

#include "common/TextUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

// A submission holds at most this many lines; later ones are never judged.
constexpr std::size_t kMaxAnswerLines = 30;
// Far deeper than any solution of four numbers; it only bounds the recursion.
constexpr int kMaxNesting = 32;

// Reads a solution of the engine's list: numbers, + - * / ^ ^^ and parentheses, with
// the precedence of CExpression, ^^ as a power of the same rank. Each operation is
// finished only after its operands, so the first finished is the one worked out first.
class FirstOperationFinder {
public:
    explicit FirstOperationFinder(std::string_view text) : m_text(text) {}

    std::optional<Operation> Find()
    {
        Operand whole;
        if (!Sum(whole, 0) || m_pos != m_text.size())
            return std::nullopt;
        return m_first;
    }

private:
    struct Operand {
        std::string number;  // empty for a group or an operation
    };

    bool Sum(Operand& result, int depth)
    {
        if (!Product(result, depth))
            return false;
        while (At("+") || At("-")) {
            const std::string op(1, m_text[m_pos++]);
            Operand right;
            if (!Product(right, depth))
                return false;
            Combine(result, op, right);
        }
        return true;
    }

    bool Product(Operand& result, int depth)
    {
        if (!Power(result, depth))
            return false;
        while (At("*") || At("/")) {
            const std::string op(1, m_text[m_pos++]);
            Operand right;
            if (!Power(right, depth))
                return false;
            Combine(result, op, right);
        }
        return true;
    }

    bool Power(Operand& result, int depth)
    {
        if (!Primary(result, depth))
            return false;
        while (At("^")) {
            const std::string op = At("^^") ? "^^" : "^";
            m_pos += op.size();
            Operand right;
            if (!Primary(right, depth))
                return false;
            Combine(result, op, right);
        }
        return true;
    }

    bool Primary(Operand& result, int depth)
    {
        if (At("(")) {
            ++m_pos;
            if (depth >= kMaxNesting || !Sum(result, depth + 1) || !At(")"))
                return false;
            ++m_pos;
            return true;
        }
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
            ++m_pos;
        result.number = std::string(m_text.substr(start, m_pos - start));
        return m_pos > start;
    }

    void Combine(Operand& left, const std::string& op, const Operand& right)
    {
        if (!m_first)
            m_first = Operation{left.number, op, right.number};
        left.number.clear();
    }

    bool At(std::string_view what) const { return m_text.substr(m_pos).starts_with(what); }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::optional<Operation> m_first;
};

// The non-blank lines of the answer box, read as the answer checker reads them.
StringArray TypedLines(const AnswerInput& input, CharacterSet charset)
{
    StringArray lines;
    if (input.noSolutionChecked)
        return lines;
    for (const std::string& line : GetSAFromMLString(input.answerText)) {
        const std::string_view trimmed = TrimBlanksAndLineEnds(line);
        if (trimmed.empty())
            continue;
        if (lines.size() == kMaxAnswerLines)
            break;
        lines.push_back(CBMUtilities::GetNormalizedUserInput(trimmed, InputMode::AnswerLine, charset));
    }
    return lines;
}

std::string NormalAnswerOf(const std::string& line)
{
    NumberArray numbers;
    std::string subNormal;
    return CBMUtilities::GetNormalAnswer(numbers, subNormal, line);
}

}  // namespace

std::optional<Operation> FirstOperation(std::string_view solution)
{
    return FirstOperationFinder(solution).Find();
}

HintGuide::HintGuide(const LanguageState& language) : m_language(language) {}

Hint HintGuide::GetHint(const AnswerInput& input, int step) const
{
    Hint hint;
    CBMUtilities::SetCurrentMaximum(input.jqkEnabled ? 13 : 10);
    NumberArray uaQ;
    if (!AnswerChecker(m_language).ReadQuestion(input, uaQ))
        return hint;

    StringArray solutions;
    const bool searched = CBMUtilities::GetSolutions(uaQ, solutions, input.standardRule);
    hint.step = std::clamp(step, 1, kLastHintStep);
    if (!searched || solutions.empty()) {
        hint.kind = HintKind::NoSolution;
        hint.step = 1;
        return hint;
    }

    // Same and similar answers share their normal answer; the search above has set
    // the rule that the lines are judged under.
    std::set<std::string> given;
    for (const std::string& line : TypedLines(input, m_language.InputCharacterSet()))
        if (CBMUtilities::CheckValidSolution(uaQ, line))
            given.insert(NormalAnswerOf(line));
    hint.solutionCount = solutions.size();
    const std::string* firstNotGiven = nullptr;  // in the engine's order
    for (const std::string& solution : solutions) {
        if (given.contains(NormalAnswerOf(solution)))
            ++hint.givenCount;
        else if (!firstNotGiven)
            firstNotGiven = &solution;
    }

    if (!firstNotGiven) {
        hint.kind = HintKind::AllGiven;
    } else if (hint.step == 1) {
        hint.kind = HintKind::SolutionCount;
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
                                             input.jqkEnabled ? "13" : "10");
    case HintKind::NoSolution: return m_language.GetLocalizedString(IDS_HINT_NO_SOLUTION, rule);
    case HintKind::AllGiven:
        return hint.solutionCount == 1 ? m_language.GetLocalizedString(IDS_HINT_ONE_SOLUTION_GIVEN, rule)
                                       : m_language.GetLocalizedString(IDS_HINT_ALL_X_SOLUTIONS_GIVEN, count, rule);
    case HintKind::SolutionCount: {
        if (hint.solutionCount == 1)
            return m_language.GetLocalizedString(IDS_HINT_ONE_SOLUTION, rule);
        if (hint.givenCount == 0)
            return m_language.GetLocalizedString(IDS_HINT_X_SOLUTIONS, count, rule);
        return m_language.GetLocalizedString(IDS_HINT_X_SOLUTIONS_Y_GIVEN, count, rule,
                                             std::to_string(hint.givenCount));
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
