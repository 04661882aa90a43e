#include <algorithm>

#include "engine/CBMUtilities.h"
#include "engine/ModelTable.h"
#include "engine/TemplateTables.h"

namespace tavlix {

namespace {

// Longer answers are not converted; see the same limit on evaluation.
constexpr std::size_t kMaxAnswerLength = 4096;
// Every restart and re-normalisation makes the expression simpler; the bound only
// guarantees that hostile input ends.
constexpr int kMaxPasses = 16;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Placeholder(int k) { return "n" + std::to_string(k); }

bool ReplaceFirst(std::string& text, std::string_view from, std::string_view to)
{
    const std::size_t pos = text.find(from);
    if (pos == std::string::npos)
        return false;
    text.replace(pos, from.size(), to);
    return true;
}

bool ReadNumbers(std::string text, NumberArray& numbers, unsigned maximum)
{
    CBMUtilities::StripOperators(text);
    return CBMUtilities::GetQuestionFromString(text, numbers, maximum);
}

struct Expression {
    std::string model;
    NumberArray numbers;

    std::string Filled() const { return CBMUtilities::FillTemplate(model, numbers); }
};

// Dividing by 1, raising to the power 1 and taking the first root all multiply by 1.
bool UnifyOperationsWithOne(Expression& e)
{
    bool applied = false;
    for (int k = 2; k <= 4; ++k) {
        const std::size_t p = e.model.find(Placeholder(k));
        if (e.numbers[std::size_t(k - 1)] != 1 || p == std::string::npos)
            continue;
        if (p >= 2 && e.model.compare(p - 2, 2, "^^") == 0) {
            e.model.replace(p - 2, 2, "*");
            applied = true;
        } else if (p >= 1 && (e.model[p - 1] == '/' || e.model[p - 1] == '^')) {
            e.model[p - 1] = '*';
            applied = true;
        }
    }
    return applied;
}

// A group equal to 1 used as divisor, exponent or root index counts as a factor.
bool UnifyGroupsOfOne(Expression& e)
{
    static constexpr std::string_view kOperations[] = {"/", "^^", "^"};
    bool applied = false;
    const std::size_t firstDigits = !e.numbers.empty() && e.numbers[0] >= 10 ? 2 : 1;
    for (const std::string_view op : kOperations) {
        const std::string filled = e.Filled();
        const std::size_t pos = filled.find(std::string(op) + "(");
        if (pos == std::string::npos || !CBMUtilities::IsGroupEqualToOne(pos + op.size(), filled))
            continue;
        if (pos <= firstDigits + 1) {
            applied |= ReplaceFirst(e.model, "n1" + std::string(op), "n1*");
        } else {
            applied |= ReplaceFirst(e.model, "n2" + std::string(op), "n2*");
            applied |= ReplaceFirst(e.model, "n2)" + std::string(op), "n2)*");
        }
    }
    return applied;
}

enum class FactorOfOne { None, Moved, Leading, AskAgain };

// Finds the factor 1 that counts: not the end of "11*", not the "1*" of an earlier
// "1*( ... )" rewrite, and a leading one only once per call.
FactorOfOne UnifyFactorOfOne(Expression& e, bool leadingTaken)
{
    const std::string filled = e.Filled();
    std::size_t pos = filled.find("1*");
    bool sawRewrittenGroup = false;
    for (int tries = 0; pos != std::string::npos && tries < 3; ++tries) {
        if (pos >= 1) {
            if (filled[pos - 1] != '1') {
                const std::string moved =
                    "1*(" + filled.substr(0, pos) + filled.substr(pos + 2) + ")";
                e.model = CBMUtilities::GetModel(moved, &e.numbers);
                return FactorOfOne::Moved;
            }
            pos = filled.find("1*", pos + 1);
        } else if (filled.size() > 2 && filled[2] == '(' && filled.back() == ')') {
            sawRewrittenGroup = true;
            pos = filled.find("1*", 3);
        } else {
            if (leadingTaken)
                break;
            e.model = CBMUtilities::GetModel("1*(" + filled.substr(2) + ")", &e.numbers);
            return FactorOfOne::Leading;
        }
    }
    return sawRewrittenGroup && leadingTaken ? FactorOfOne::AskAgain : FactorOfOne::None;
}

// A root of 1 is compared as a power of 1.
bool UnifyRootsOfOne(Expression& e)
{
    bool applied = false;
    for (int k = 1; k <= 3; ++k) {
        const std::size_t p = e.model.find(Placeholder(k));
        if (e.numbers[std::size_t(k - 1)] == 1 && p != std::string::npos &&
            e.model.compare(p + 2, 2, "^^") == 0) {
            e.model.replace(p + 2, 2, "^");
            applied = true;
        }
    }
    return applied;
}

// An even power of a negative difference becomes the same power of the positive one.
bool UnifyEvenPowers(Expression& e)
{
    const std::string filled = e.Filled();
    const auto negativeBefore = [&](std::string_view power) {
        const std::size_t pos = filled.find(power);
        return pos != std::string::npos && CBMUtilities::IsGroupNegative(pos, filled);
    };
    if (!negativeBefore(")^2") && !negativeBefore(")^4"))
        return false;
    if (e.model.find("(n1-n2)^n3") != std::string::npos)
        std::swap(e.numbers[0], e.numbers[1]);
    else
        std::swap(e.numbers[1], e.numbers[2]);
    return true;
}

}  // namespace

std::string CBMUtilities::GetModel(std::string_view expression, NumberArray* numbers)
{
    std::string model;
    NumberArray found;
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        if (std::string_view("()*+-/^").find(c) != std::string_view::npos) {
            model.push_back(c);
        } else if (IsDigit(c)) {
            const bool twoDigits =
                i + 1 < expression.size() && expression[i + 1] >= '0' && expression[i + 1] <= '3';
            unsigned value = unsigned(c - '0');
            if (twoDigits)
                value = value * 10 + unsigned(expression[++i] - '0');
            found.push_back(value);
            model += Placeholder(int(found.size()));
        } else {
            return {};
        }
    }
    if (numbers)
        *numbers = std::move(found);
    return model;
}

std::string CBMUtilities::SimplifyParentheses(std::string model)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (int k = 1; k <= 4; ++k)
            while (ReplaceFirst(model, "(" + Placeholder(k) + ")", Placeholder(k)))
                changed = true;
    }

    const auto enclosedWhole = [](const std::string& m) {
        if (m.size() < 2 || m.front() != '(' || m.back() != ')')
            return false;
        int depth = 0;
        for (std::size_t i = 1; i + 1 < m.size(); ++i) {
            depth += m[i] == '(' ? 1 : m[i] == ')' ? -1 : 0;
            if (depth < 0)
                return false;
        }
        return true;
    };
    while (enclosedWhole(model))
        model = model.substr(1, model.size() - 2);

    for (std::size_t from = 0, pos; (pos = model.find("((", from)) != std::string::npos;) {
        int depth = 0;
        std::size_t close = pos;
        for (; close < model.size(); ++close) {
            depth += model[close] == '(' ? 1 : model[close] == ')' ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (close < model.size() && model[close - 1] == ')') {
            // The outer pair holds exactly one group.
            model.erase(close, 1);
            model.erase(pos, 1);
            from = 0;
        } else {
            from = pos + 1;
        }
    }
    return model;
}

int CBMUtilities::GetSortType(std::string_view model)
{
    if (model == "n1+n2+n3+n4" || model == "n1*n2*n3*n4")
        return 11;
    for (const auto table : {StandardTemplates(), AdvancedTemplates()})
        for (const SolutionTemplate& t : table)
            if (t.text == model)
                return t.type;
    const auto shapes = FurtherCanonicalModels();
    const auto it = std::lower_bound(shapes.begin(), shapes.end(), model,
                                     [](const CanonicalShape& s, std::string_view m) { return s.model < m; });
    return it != shapes.end() && it->model == model ? it->sortType : 0;
}

std::string CBMUtilities::GetNormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                          std::string strExp, unsigned maximum)
{
    unsigned unifications = 0;
    return NormalAnswer(uaQ, strSubNA, std::move(strExp), maximum, 0, unifications);
}

std::string CBMUtilities::GetNormalAnswer(NumberArray& uaQ, std::string& strSubNA, std::string strExp,
                                          unsigned maximum, unsigned& unifications)
{
    return NormalAnswer(uaQ, strSubNA, std::move(strExp), maximum, 0, unifications);
}

std::string CBMUtilities::GetNormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                          std::string strExp)
{
    return GetNormalAnswer(uaQ, strSubNA, std::move(strExp), s_nCurrentMaximum);
}

std::string CBMUtilities::NormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                       std::string strExp, unsigned maximum, int depth,
                                       unsigned& unifications)
{
    std::erase(strExp, ' ');
    if (strExp.size() > kMaxAnswerLength)
        return {};
    Expression e;
    e.model = GetModel(strExp, &e.numbers);
    if (e.model.empty() || e.numbers.size() != 4)
        return {};

    bool leadingTaken = false;
    for (int pass = 0;; ++pass) {
        e.model = SimplifyParentheses(e.model);
        uaQ = e.numbers;
        if (const ModelRow* row = FindModel(e.model)) {
            e.model = std::string(row->canonical);
            for (std::size_t k = 0; k < 4; ++k)
                uaQ[k] = e.numbers[row->numbers[k]];
        }

        std::string normal = FillTemplate(e.model, uaQ);
        if (const int sortType = GetSortType(e.model); sortType > 0) {
            StringArray folded;
            AddNormalizedSolutions({normal}, folded, e.model, sortType, true, maximum);
            if (!folded.empty()) {
                normal = folded.front();
                ReadNumbers(normal, uaQ, maximum);
            }
        }
        if (strSubNA.empty())
            strSubNA = normal;

        e.numbers = uaQ;
        bool applied = false;
        const auto note = [&](bool done, unsigned step) {
            if (done) {
                unifications |= step;
                applied = true;
            }
        };
        note(UnifyOperationsWithOne(e), kUnifyOperationWithOne);
        note(UnifyGroupsOfOne(e), kUnifyGroupOfOne);
        const FactorOfOne factor = UnifyFactorOfOne(e, leadingTaken);
        if (factor == FactorOfOne::Leading && pass < kMaxPasses) {
            unifications |= kUnifyFactorOfOne;
            leadingTaken = true;
            continue;  // the new model is normalised from the start
        }
        note(factor == FactorOfOne::Moved || factor == FactorOfOne::AskAgain, kUnifyFactorOfOne);
        note(UnifyRootsOfOne(e), kUnifyRootOfOne);
        note(UnifyEvenPowers(e), kUnifyEvenPowerOfNegative);

        if (applied && depth < kMaxPasses)
            return NormalAnswer(uaQ, strSubNA, e.Filled(), maximum, depth + 1, unifications);
        return normal;
    }
}

}  // namespace tavlix
