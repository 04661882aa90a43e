#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/CBMUtilities.h"
#include "engine/CExpression.h"
#include "engine/CompiledTemplate.h"
#include "engine/TemplateTables.h"

namespace tavlix {

namespace {

using Tuple = std::array<unsigned, 4>;

const std::vector<CompiledTemplate>& Compiled(bool advanced)
{
    const auto compile = [](std::span<const SolutionTemplate> templates) {
        std::vector<CompiledTemplate> compiled;
        for (const SolutionTemplate& t : templates)
            compiled.emplace_back(t.text);
        return compiled;
    };
    static const std::vector<CompiledTemplate> standard = compile(StandardTemplates());
    static const std::vector<CompiledTemplate> advancedOnes = compile(AdvancedTemplates());
    return advanced ? advancedOnes : standard;
}

Tuple Ordering(const PermutationColumns& columns, std::size_t i)
{
    return {columns.columns[0][i], columns.columns[1][i], columns.columns[2][i],
            columns.columns[3][i]};
}

std::string FillTuple(std::string_view templ, const Tuple& t)
{
    return CBMUtilities::FillTemplate(templ, NumberArray(t.begin(), t.end()));
}

// Orders two sorted pairs by the value of their groups. Returns the tuple to keep, or
// nothing; with keepSwapped a pair that comes second is mirrored instead of dropped.
bool KeepSmallerFirst(Tuple& v, bool firstSmaller, bool keepSwapped)
{
    if (firstSmaller)
        return true;
    if (!keepSwapped)
        return false;
    v = {v[2], v[3], v[0], v[1]};
    return true;
}

// The one tuple a hit's numbers fold into under a normalisation type, if any.
bool Normalize(Tuple& v, int type, bool keepSwapped)
{
    unsigned spare = 0;
    const auto sortPair = [&](unsigned& x, unsigned& y, bool ascending) {
        CBMUtilities::SortNumbers(x, y, spare, spare, 2, ascending);
    };
    switch (type) {
    case 1: CBMUtilities::SortNumbers(v[0], v[1], v[2], spare, 3, true); return true;
    case 2: CBMUtilities::SortNumbers(v[1], v[2], v[3], spare, 3, true); return true;
    case 3: sortPair(v[0], v[1], true); return true;
    case 4: sortPair(v[1], v[2], true); return true;
    case 5: sortPair(v[2], v[3], true); return true;
    case 6:
        sortPair(v[0], v[1], true);
        sortPair(v[2], v[3], true);
        return true;
    case 7:
        sortPair(v[0], v[1], true);
        sortPair(v[2], v[3], true);
        return KeepSmallerFirst(v, v[0] + v[1] < v[2] + v[3], keepSwapped);
    case 8: {
        sortPair(v[0], v[1], true);
        sortPair(v[2], v[3], true);
        const unsigned left = v[0] * v[1];
        const unsigned right = v[2] * v[3];
        // Equal products are told apart by the first number.
        return KeepSmallerFirst(v, left < right || (left == right && v[0] <= v[2]), keepSwapped);
    }
    case 9:
        sortPair(v[0], v[1], false);
        sortPair(v[2], v[3], false);
        return KeepSmallerFirst(v, int(v[0]) - int(v[1]) < int(v[2]) - int(v[3]), keepSwapped);
    case 10:
        return KeepSmallerFirst(
            v, std::pow(double(v[0]), double(v[1])) < std::pow(double(v[2]), double(v[3])),
            keepSwapped);
    case 11: CBMUtilities::SortNumbers(v[0], v[1], v[2], v[3], 4, true); return true;
    default: return true;
    }
}

// Whether the two characters after a position spell one of the numbers 10 to 13.
bool IsTwoDigitNumberAt(const std::string& text, std::size_t pos)
{
    return pos + 1 < text.size() && text[pos] == '1' && text[pos + 1] >= '0' &&
           text[pos + 1] <= '3';
}

// "/1", "^1", "^^1": an operation with the number 1 (not 10 to 13) as right operand.
bool HasOperationWithOne(const std::string& text, std::string_view op)
{
    const std::size_t pos = text.find(std::string(op) + "1");
    if (pos == std::string::npos || pos < 1)
        return false;
    const std::size_t numberAt = pos + op.size();
    return numberAt + 1 == text.size() || !IsTwoDigitNumberAt(text, numberAt);
}

// "/(", "^(", "^^(": an operation whose right operand is a group equal to 1.
bool HasOperationWithGroupOfOne(const std::string& text, std::string_view op)
{
    const std::size_t pos = text.find(std::string(op) + "(");
    return pos != std::string::npos && CBMUtilities::IsGroupEqualToOne(pos + op.size(), text);
}

bool HasEvenPowerOfNegativeGroup(const std::string& text, std::string_view power)
{
    const std::size_t pos = text.find(power);
    return pos != std::string::npos && CBMUtilities::IsGroupNegative(pos, text);
}

// A factor 1 moved around: only the writing that is its own normal answer stays.
bool IsMovedFactorOfOne(const std::string& text, unsigned maximum)
{
    const std::size_t pos = text.find("1*");
    if (pos == std::string::npos || (pos > 0 && text[pos - 1] == '1'))
        return false;
    const std::string rest = "1*(" + text.substr(0, pos) + text.substr(pos + 2) + ")";
    std::string numbersOnly = rest;
    CBMUtilities::StripOperators(numbersOnly);
    NumberArray numbers;
    if (!CBMUtilities::GetQuestionFromString(numbersOnly, numbers, maximum))
        return false;
    std::string subNormal;
    return CBMUtilities::GetNormalAnswer(numbers, subNormal, rest, maximum) != text;
}

}  // namespace

std::string CBMUtilities::FillTemplate(std::string_view templ, const NumberArray& numbers)
{
    std::string out;
    out.reserve(templ.size() + 4);
    for (std::size_t i = 0; i < templ.size(); ++i) {
        if (templ[i] == 'n' && i + 1 < templ.size() && templ[i + 1] >= '1' &&
            templ[i + 1] <= '4' && std::size_t(templ[i + 1] - '1') < numbers.size()) {
            out += std::to_string(numbers[std::size_t(templ[i + 1] - '1')]);
            ++i;
        } else {
            out.push_back(templ[i]);
        }
    }
    return out;
}

void CBMUtilities::GetPermutations(unsigned a, unsigned b, unsigned c, unsigned d,
                                   PermutationColumns& columns)
{
    for (auto& column : columns.columns)
        column.clear();
    Tuple ordering = {a, b, c, d};
    std::array<int, 4> positions = {0, 1, 2, 3};
    std::vector<Tuple> seen;
    do {
        const Tuple values = {ordering[positions[0]], ordering[positions[1]],
                              ordering[positions[2]], ordering[positions[3]]};
        if (std::find(seen.begin(), seen.end(), values) != seen.end())
            continue;
        seen.push_back(values);
        for (int k = 0; k < 4; ++k)
            columns.columns[k].push_back(values[k]);
    } while (std::next_permutation(positions.begin(), positions.end()));
}

int CBMUtilities::EvaluateTemplate(StringArray& hits, const std::string& templ,
                                   const PermutationColumns& columns, const Rules& rules)
{
    int appended = 0;
    CExpression expression;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string filled = FillTuple(templ, Ordering(columns, i));
        std::string text = filled;
        if (ConvertRootNotation(text, !rules.standardOnly) == -1)
            return -1;
        double value = 0.0;
        if (expression.SetExpression(text) != -1 ||
            expression.GetValue(value) != CExpression::NoError)
            continue;
        if (IsTwentyFour(value)) {
            hits.push_back(filled);
            ++appended;
        }
    }
    return appended;
}

int CBMUtilities::EvaluateTemplate(StringArray& hits, const std::string& templ,
                                   const PermutationColumns& columns)
{
    return EvaluateTemplate(hits, templ, columns, CurrentRules());
}

int CBMUtilities::AddNormalizedSolutions(const StringArray& hits, StringArray& solutions,
                                         const std::string& templ, int type, bool keepSwapped,
                                         unsigned maximum)
{
    std::vector<Tuple> tuples;
    for (const std::string& hit : hits) {
        std::string numbersOnly = hit;
        StripOperators(numbersOnly);
        NumberArray v;
        if (!GetQuestionFromString(numbersOnly, v, maximum))
            continue;
        Tuple t = {v[0], v[1], v[2], v[3]};
        if (Normalize(t, type, keepSwapped) && std::find(tuples.begin(), tuples.end(), t) == tuples.end())
            tuples.push_back(t);
    }
    for (const Tuple& t : tuples)
        solutions.push_back(FillTuple(templ, t));
    return static_cast<int>(tuples.size());
}

int CBMUtilities::AddNormalizedSolutions(const StringArray& hits, StringArray& solutions,
                                         const std::string& templ, int type, bool keepSwapped)
{
    return AddNormalizedSolutions(hits, solutions, templ, type, keepSwapped, s_nCurrentMaximum);
}

bool CBMUtilities::IsRedundantSolution(const std::string& text, unsigned maximum)
{
    static constexpr std::string_view kNoticedStarts[] = {"11+13*", "12+12*", "13+11*"};
    static constexpr std::string_view kSumAndQuotient[][2] = {
        {"11+", "*13/"}, {"12+", "*12/"}, {"13+", "*11/"}};

    if (HasOperationWithOne(text, "/") || HasOperationWithOne(text, "^") ||
        HasOperationWithOne(text, "^^"))
        return true;
    if (HasOperationWithGroupOfOne(text, "/") || HasOperationWithGroupOfOne(text, "^") ||
        HasOperationWithGroupOfOne(text, "^^"))
        return true;
    if (IsMovedFactorOfOne(text, maximum))
        return true;
    for (const std::string_view start : kNoticedStarts)
        if (text.starts_with(start))
            return true;
    for (const auto& [start, part] : kSumAndQuotient)
        if (text.starts_with(start) && text.find(part) != std::string::npos)
            return true;
    if (text.find("1^^") != std::string::npos)
        return true;
    return HasEvenPowerOfNegativeGroup(text, ")^2") || HasEvenPowerOfNegativeGroup(text, ")^4");
}

bool CBMUtilities::IsRedundantSolution(const std::string& text)
{
    return IsRedundantSolution(text, s_nCurrentMaximum);
}

void CBMUtilities::RemoveRedundantSolutions(StringArray& solutions, unsigned maximum)
{
    std::erase_if(solutions, [maximum](const std::string& s) { return IsRedundantSolution(s, maximum); });
}

template <typename HitFinder>
bool CBMUtilities::SearchSolutions(const NumberArray& question, StringArray& solutions,
                                   const Rules& rules, HitFinder&& findHits)
{
    if (!IsValidQuestion(question, rules.maximum))
        return false;

    unsigned a = question[0], b = question[1], c = question[2], d = question[3];
    SortNumbers(a, b, c, d, 4, true);
    PermutationColumns columns;
    GetPermutations(a, b, c, d, columns);

    solutions.clear();
    char buffer[64];
    if (a + b + c + d == 24) {
        std::snprintf(buffer, sizeof buffer, "%u+%u+%u+%u", a, b, c, d);
        solutions.emplace_back(buffer);
    }

    const auto searchTable = [&](std::span<const SolutionTemplate> table, bool advanced) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (!advanced && i == kTemplatesBeforeProductCheck && a * b * c * d == 24) {
                std::snprintf(buffer, sizeof buffer, "%u*%u*%u*%u", a, b, c, d);
                solutions.emplace_back(buffer);
            }
            StringArray hits;
            findHits(hits, table[i].text, advanced, i, columns);
            const std::string templ(table[i].text);
            if (table[i].type == 0)
                solutions.insert(solutions.end(), hits.begin(), hits.end());
            else if (!hits.empty())
                AddNormalizedSolutions(hits, solutions, templ, table[i].type, false, rules.maximum);
        }
    };
    searchTable(StandardTemplates(), false);
    if (!rules.standardOnly)
        searchTable(AdvancedTemplates(), true);

    // A single solution is never a variant of another.
    if (solutions.size() > 1)
        RemoveRedundantSolutions(solutions, rules.maximum);
    return true;
}

bool CBMUtilities::GetSolutions(const NumberArray& question, StringArray& solutions,
                                const Rules& rules)
{
    return SearchSolutions(question, solutions, rules,
                           [](StringArray& hits, std::string_view templ, bool advanced,
                              std::size_t index, const PermutationColumns& columns) {
                               const CompiledTemplate& compiled = Compiled(advanced)[index];
                               for (std::size_t i = 0; i < columns.size(); ++i) {
                                   const Tuple ordering = Ordering(columns, i);
                                   double value = 0.0;
                                   if (compiled.Evaluate(ordering, value) && IsTwentyFour(value))
                                       hits.push_back(FillTuple(templ, ordering));
                               }
                           });
}

bool CBMUtilities::GetSolutions(const NumberArray& question, StringArray& solutions,
                                bool standardOnly)
{
    return SearchUnderCurrentMaximum(question, solutions, standardOnly, &GetSolutions);
}

bool CBMUtilities::GetSolutionsReference(const NumberArray& question, StringArray& solutions,
                                         const Rules& rules)
{
    return SearchSolutions(question, solutions, rules,
                           [&rules](StringArray& hits, std::string_view templ, bool, std::size_t,
                                    const PermutationColumns& columns) {
                               // A rejected root notation cannot come from these tables;
                               // the search goes on with the next template either way.
                               EvaluateTemplate(hits, std::string(templ), columns, rules);
                           });
}

bool CBMUtilities::GetSolutionsReference(const NumberArray& question, StringArray& solutions,
                                         bool standardOnly)
{
    return SearchUnderCurrentMaximum(question, solutions, standardOnly, &GetSolutionsReference);
}

bool CBMUtilities::SearchUnderCurrentMaximum(const NumberArray& question, StringArray& solutions,
                                             bool standardOnly, ExplicitSearch search)
{
    if (!search(question, solutions, Rules{standardOnly, s_nCurrentMaximum}))
        return false;
    s_bStandardOnly = standardOnly;
    return true;
}

}  // namespace tavlix
