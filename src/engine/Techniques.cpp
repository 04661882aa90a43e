#include "engine/Techniques.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "engine/CExpression.h"
#include "engine/Rational.h"

namespace tavlix {

namespace {

using Kind = CExpression::Kind;

// The operations the search tries, in an order that reaches the plain expressions (sums
// and products) first, so that a question that needs nothing is settled early.
constexpr Kind kStandardOperations[] = {Kind::Add, Kind::Multiply, Kind::Subtract, Kind::Divide};
constexpr Kind kAdvancedOperations[] = {Kind::Add,    Kind::Multiply, Kind::Subtract,
                                        Kind::Divide, Kind::Power,    Kind::Root};

bool IsCommutative(Kind kind) { return kind == Kind::Add || kind == Kind::Multiply; }

TechniqueSet OperationTechniques(Kind kind)
{
    TechniqueSet used;
    switch (kind) {
    case Kind::Subtract: used.Add(Technique::Subtraction); break;
    case Kind::Divide: used.Add(Technique::Division); break;
    case Kind::Power: used.Add(Technique::Power); break;
    case Kind::Root: used.Add(Technique::Root); break;
    case Kind::Number:
    case Kind::Add:
    case Kind::Multiply: break;
    }
    return used;
}

// The Standard rule: exact fractions.
struct ExactArithmetic {
    using Value = Rational;

    static std::optional<Value> Number(double written)
    {
        if (written != std::trunc(written) || std::abs(written) > 1e15)
            return std::nullopt;
        return Rational(std::int64_t(written));
    }

    static std::optional<Value> Apply(Kind kind, const Value& a, const Value& b)
    {
        switch (kind) {
        case Kind::Add: return a.Plus(b);
        case Kind::Subtract: return a.Minus(b);
        case Kind::Multiply: return a.Times(b);
        case Kind::Divide: return a.DividedBy(b);
        case Kind::Power:
        case Kind::Root:
        case Kind::Number: break;
        }
        return std::nullopt;
    }

    static TechniqueSet ValueTechniques(const Value& v)
    {
        TechniqueSet used;
        if (!v.IsWhole())
            used.Add(Technique::Fraction);
        if (v.IsBelow(0))
            used.Add(Technique::Negative);
        if (!v.IsBelow(100))
            used.Add(Technique::Large);
        if (v.IsAbove(24))
            used.Add(Technique::Overshoot);
        return used;
    }

    static bool IsTwentyFour(const Value& v) { return v == Rational(24); }
};

// The Advanced rule: doubles, each operation as the evaluator computes it.
struct EngineArithmetic {
    using Value = double;

    static std::optional<Value> Number(double written) { return written; }

    static std::optional<Value> Apply(Kind kind, double a, double b)
    {
        const bool zero = !(b < 0.0 || b > 0.0);  // not a number counts as zero
        switch (kind) {
        case Kind::Add: return a + b;
        case Kind::Subtract: return a - b;
        case Kind::Multiply: return a * b;
        case Kind::Divide: return zero ? std::nullopt : std::optional(a / b);
        case Kind::Power: return std::pow(a, b);
        case Kind::Root: return zero ? std::nullopt : std::optional(std::pow(a, 1.0 / b));
        case Kind::Number: break;
        }
        return std::nullopt;
    }

    // A value within a billionth (relatively, above 1) of a whole number is that number:
    // a root or a quotient taken back is whole even when the last bit says otherwise.
    static double Snapped(double v)
    {
        const double whole = std::round(v);
        return std::abs(v - whole) <= 1e-9 * std::max(1.0, std::abs(v)) ? whole : v;
    }

    static TechniqueSet ValueTechniques(double raw)
    {
        const double v = Snapped(raw);
        TechniqueSet used;
        if (std::isfinite(v) && v != std::trunc(v))
            used.Add(Technique::Fraction);
        if (v < 0.0)
            used.Add(Technique::Negative);
        if (v >= 100.0)
            used.Add(Technique::Large);
        if (v > 24.0)
            used.Add(Technique::Overshoot);
        return used;
    }

    static bool IsTwentyFour(double v) { return CBMUtilities::IsTwentyFour(v); }
};

// Combines two of the values left into one, in every way, until one value is left.
// Every expression over the numbers arises so, most of them more than once; a branch
// whose techniques so far already hold every technique found needed cannot narrow the
// needs and is left out.
template <class Arithmetic>
class NeedsSearch {
public:
    explicit NeedsSearch(std::span<const Kind> operations) : m_operations(operations) {}

    QuestionNeeds Run(const NumberArray& question)
    {
        Terms terms{};
        for (std::size_t i = 0; i < 4; ++i)
            terms[i] = *Arithmetic::Number(double(question[i]));
        Search(terms, 4, {});
        return {m_solvable, m_solvable ? m_needs : TechniqueSet()};
    }

private:
    using Value = typename Arithmetic::Value;
    // The values left; the techniques of the branch so far travel beside them.
    using Terms = std::array<Value, 4>;

    void Search(const Terms& terms, std::size_t count, TechniqueSet used)
    {
        if (m_solvable && used.Covers(m_needs))
            return;
        for (std::size_t i = 0; i < count; ++i)
            for (std::size_t j = i + 1; j < count; ++j)
                if (!IsEarlierPair(terms, count, i, j))
                    CombinePair(terms, count, i, j, used);
    }

    // Values alike to a pair combined before leave the same values behind, so nothing new
    // comes of them (questions with a number twice).
    static bool IsEarlierPair(const Terms& terms, std::size_t count, std::size_t i, std::size_t j)
    {
        for (std::size_t k = 0; k <= i; ++k)
            for (std::size_t l = k + 1; l < count && (k < i || l < j); ++l)
                if ((terms[k] == terms[i] && terms[l] == terms[j]) || (terms[k] == terms[j] && terms[l] == terms[i]))
                    return true;
        return false;
    }

    void CombinePair(const Terms& terms, std::size_t count, std::size_t i, std::size_t j, TechniqueSet used)
    {
        // The pair's place takes the result; the last term fills the other place.
        Terms next = terms;
        next[j] = terms[count - 1];
        for (const Kind kind : m_operations) {
            for (const bool swapped : {false, true}) {
                if (swapped && IsCommutative(kind))
                    break;
                const Value& a = terms[swapped ? j : i];
                const Value& b = terms[swapped ? i : j];
                const std::optional<Value> result = Arithmetic::Apply(kind, a, b);
                if (!result)
                    continue;
                if (count == 2) {
                    // The last value is 24 itself, no value on the way.
                    if (Arithmetic::IsTwentyFour(*result))
                        Found(used | OperationTechniques(kind));
                    continue;
                }
                next[i] = *result;
                Search(next, count - 1, used | OperationTechniques(kind) | Arithmetic::ValueTechniques(*result));
            }
        }
    }

    void Found(TechniqueSet used)
    {
        m_needs = m_solvable ? m_needs & used : used;
        m_solvable = true;
    }

    std::span<const Kind> m_operations;
    bool m_solvable = false;
    TechniqueSet m_needs = TechniqueSet::All();
};

// The needs of every sorted question up to 13, found by its four numbers.
class NeedsTable {
public:
    explicit NeedsTable(bool standardRule)
    {
        const Rules rules{standardRule, kLargestNumber};
        for (const std::string& text : CBMUtilities::EnumerateQuestions(kLargestNumber)) {
            NumberArray question;
            CBMUtilities::GetQuestionFromString(text, question, kLargestNumber);
            m_entries[Index(question)] = FindQuestionNeeds(question, rules);
        }
    }

    const QuestionNeeds& operator[](const NumberArray& sorted) const { return m_entries[Index(sorted)]; }

private:
    static std::size_t Index(const NumberArray& sorted)
    {
        std::size_t index = 0;
        for (const unsigned n : sorted)
            index = index * kSide + n;
        return index;
    }

    static constexpr std::size_t kSide = kLargestNumber + 1;
    std::vector<QuestionNeeds> m_entries = std::vector<QuestionNeeds>(kSide * kSide * kSide * kSide);
};

template <class Arithmetic>
std::optional<TechniqueSet> WorkOut(const CExpression& expression)
{
    using Value = typename Arithmetic::Value;
    const auto& nodes = expression.nodes();
    std::vector<Value> values(nodes.size());
    TechniqueSet used;
    // Children stand before their parents.
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const CExpression::Node& node = nodes[i];
        const std::optional<Value> value =
            node.kind == Kind::Number
                ? Arithmetic::Number(node.value)
                : Arithmetic::Apply(node.kind, values[std::size_t(node.left)], values[std::size_t(node.right)]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
        if (node.kind == Kind::Number)
            continue;
        used = used | OperationTechniques(node.kind);
        // A last value that makes 24 is 24 itself, as the search counts it.
        if (int(i) != expression.root() || !Arithmetic::IsTwentyFour(*value))
            used = used | Arithmetic::ValueTechniques(*value);
    }
    return used;
}

}  // namespace

std::string_view TechniqueName(Technique technique)
{
    static constexpr std::string_view kNames[] = {"fraction", "negative", "large", "overshoot",
                                                  "division", "subtraction", "power", "root"};
    return kNames[std::size_t(technique)];
}

QuestionNeeds FindQuestionNeeds(const NumberArray& question, const Rules& rules)
{
    if (!CBMUtilities::IsValidQuestion(question, rules.maximum))
        return {};
    if (rules.standardOnly)
        return NeedsSearch<ExactArithmetic>(kStandardOperations).Run(question);
    return NeedsSearch<EngineArithmetic>(kAdvancedOperations).Run(question);
}

QuestionNeeds LookUpQuestionNeeds(const NumberArray& question, const Rules& rules)
{
    if (!CBMUtilities::IsValidQuestion(question, rules.maximum))
        return {};
    NumberArray sorted = question;
    std::ranges::sort(sorted);
    if (rules.standardOnly) {
        static const NeedsTable standard(true);
        return standard[sorted];
    }
    static const NeedsTable advanced(false);
    return advanced[sorted];
}

std::optional<TechniqueSet> TechniquesOf(std::string_view line, const Rules& rules)
{
    if (rules.standardOnly && line.find('^') != std::string_view::npos)
        return std::nullopt;
    CExpression expression;
    if (expression.SetExpression(std::string(line), CExpression::Notation::WithRoots) != -1)
        return std::nullopt;
    return rules.standardOnly ? WorkOut<ExactArithmetic>(expression) : WorkOut<EngineArithmetic>(expression);
}

}  // namespace tavlix
