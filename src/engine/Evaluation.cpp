#include <algorithm>
#include <cmath>

#include "engine/CBMUtilities.h"
#include "engine/CExpression.h"

namespace tavlix {

namespace {

// Longer lines (blanks removed) are not evaluated: no answer over four numbers gets
// near it, and it keeps the root rewrite and the parser cheap on pasted garbage.
constexpr std::size_t kMaxExpressionLength = 4096;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void RemoveChars(std::string& text, std::string_view chars)
{
    text.erase(std::remove_if(text.begin(), text.end(),
                              [&](char c) { return chars.find(c) != std::string_view::npos; }),
               text.end());
}

// Index of the ")" that closes the "(" at open, or npos.
std::size_t MatchingClose(const std::string& text, std::size_t open)
{
    int depth = 1;
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && --depth == 0)
            return i;
    }
    return std::string::npos;
}

// Parses and evaluates without the root rewrite; false on a parse failure or a
// division by zero.
bool Evaluate(const std::string& text, double& value)
{
    CExpression expression;
    return expression.SetExpression(text) == -1 &&
           expression.GetValue(value) == CExpression::NoError;
}

// A blank or tab between two digits splits a number; the line would otherwise be read
// as four numbers but evaluated with the digits joined.
bool HasBlankInsideNumber(const std::string& text)
{
    char lastNonBlank = '\0';
    bool blankSince = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            blankSince = true;
            continue;
        }
        if (blankSince && IsDigit(c) && IsDigit(lastNonBlank))
            return true;
        lastNonBlank = c;
        blankSince = false;
    }
    return false;
}

}  // namespace

bool CBMUtilities::IsStandardOnly() { return s_bStandardOnly; }

int CBMUtilities::ConvertRootNotation(std::string& text, bool powerAllowed)
{
    RemoveChars(text, " ");
    if (text.size() > kMaxExpressionLength)
        return -1;
    if (!powerAllowed)
        return text.find('^') == std::string::npos ? 1 : -1;

    // Each rewrite leaves the text before the root untouched and free of "^^", so the
    // next search starts where the last root stood.
    for (std::size_t pos = text.find("^^"); pos != std::string::npos;
         pos = text.find("^^", pos)) {
        if (pos == 0 || pos + 2 >= text.size())
            return -1;
        const std::string prefix = text.substr(0, pos);
        const std::size_t nextAt = pos + 2;
        const char next = text[nextAt];
        if (next == '(') {
            const std::size_t close =
                text.size() >= prefix.size() + 5 ? MatchingClose(text, nextAt) : std::string::npos;
            if (close == std::string::npos)
                return -1;
            text = prefix + "^(1/" + text.substr(nextAt, close - nextAt + 1) + ")" +
                   text.substr(close + 1);
        } else if (next == '1' && nextAt + 1 == text.size()) {
            text = prefix;  // a root of index 1 written last is the radicand itself
        } else if (next == '1' && text[nextAt + 1] >= '0' && text[nextAt + 1] <= '3') {
            text = prefix + "^(1/" + text.substr(nextAt, 2) + ")" + text.substr(nextAt + 2);
        } else if (next == '1') {
            text = prefix + "^1" + text.substr(nextAt + 1);
        } else if (next >= '2' && next <= '9') {
            text = prefix + "^(1/" + next + ")" + text.substr(nextAt + 1);
        } else {
            return -1;
        }
        if (text.size() > kMaxExpressionLength)
            return -1;
    }
    return 1;
}

void CBMUtilities::StripOperators(std::string& text)
{
    static constexpr std::string_view kOperators[] = {"+", "-", "*", "/", "(", ")", "^^", "^"};
    for (const std::string_view op : kOperators)
        for (std::size_t pos = text.find(op); pos != std::string::npos; pos = text.find(op, pos + 1))
            text.replace(pos, op.size(), 1, ' ');
}

bool CBMUtilities::IsTwentyFour(double value)
{
    return value > 20.0 && (value - 24.0) * (value - 24.0) < 1e-8;
}

double CBMUtilities::EvaluateExpression(std::string text, const Rules& rules)
{
    double value = 0.0;
    if (ConvertRootNotation(text, !rules.standardOnly) == -1 || !Evaluate(text, value))
        return kTwentyFourFailure;
    return value;
}

double CBMUtilities::EvaluateExpression(std::string text)
{
    return EvaluateExpression(std::move(text), CurrentRules());
}

bool CBMUtilities::EqualsTwentyFour(std::string text, const Rules& rules)
{
    double value = 0.0;
    return ConvertRootNotation(text, !rules.standardOnly) != -1 && Evaluate(text, value) &&
           IsTwentyFour(value);
}

bool CBMUtilities::EqualsTwentyFour(std::string text)
{
    return EqualsTwentyFour(std::move(text), CurrentRules());
}

bool CBMUtilities::IsGroupEqualToOne(std::size_t position, const std::string& text)
{
    if (position <= 1 || text.size() < position + 3)
        return false;
    const std::size_t close = MatchingClose(text, position);
    double value = 0.0;
    if (close == std::string::npos || !Evaluate(text.substr(position, close - position + 1), value))
        return false;
    return value == 1.0 || std::isnan(value);
}

bool CBMUtilities::IsGroupNegative(std::size_t position, const std::string& text)
{
    if (position <= 1 || text.size() < position + 3)
        return false;
    int depth = -1;
    std::size_t open = position;
    while (open-- > 0) {
        if (text[open] == '(')
            ++depth;
        else if (text[open] == ')')
            --depth;
        if (depth == 0)
            break;
    }
    double value = 0.0;
    if (depth != 0 || !Evaluate(text.substr(open, position - open + 1), value))
        return false;
    return value < 0.0 || std::isnan(value);
}

bool CBMUtilities::CheckValidSolution(const NumberArray& question, const std::string& text,
                                      const Rules& rules)
{
    if (question.size() != 4 || HasBlankInsideNumber(text))
        return false;

    std::string working = text;
    RemoveChars(working, " \t");
    if (working.starts_with('-') || working.find("(-") != std::string::npos)
        return false;

    std::string numbersOnly = text;
    StripOperators(numbersOnly);
    NumberArray used;
    if (!GetQuestionFromString(numbersOnly, used, rules.maximum))
        return false;

    NumberArray expected = question;
    SortNumbers(expected[0], expected[1], expected[2], expected[3], 4, true);
    SortNumbers(used[0], used[1], used[2], used[3], 4, true);
    if (expected != used)
        return false;

    return EqualsTwentyFour(working, rules);
}

bool CBMUtilities::CheckValidSolution(const NumberArray& question, const std::string& text)
{
    return CheckValidSolution(question, text, CurrentRules());
}

}  // namespace tavlix
