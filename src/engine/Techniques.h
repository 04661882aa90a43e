#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/CBMUtilities.h"

namespace tavlix {

// What working out an expression takes, told by its operations and by the values they
// give on the way (the four numbers themselves are no values on the way):
//   Fraction     a value that is not a whole number
//   Negative     a value below zero
//   Large        a value of 100 or more
//   Overshoot    a value above 24
//   Division, Subtraction, Power, Root: the expression applies that operation
// The numbers are fixed: files and settings keep them.
enum class Technique : std::uint8_t {
    Fraction = 0, Negative, Large, Overshoot, Division, Subtraction, Power, Root,
};

inline constexpr std::array kAllTechniques = {
    Technique::Fraction, Technique::Negative, Technique::Large, Technique::Overshoot,
    Technique::Division, Technique::Subtraction, Technique::Power, Technique::Root,
};

// "fraction", "negative", "large", "overshoot", "division", "subtraction", "power", "root".
std::string_view TechniqueName(Technique technique);

class TechniqueSet {
public:
    constexpr TechniqueSet() = default;
    static constexpr TechniqueSet All() { return TechniqueSet(0xFF); }

    constexpr bool Has(Technique t) const { return (m_bits >> unsigned(t)) & 1U; }
    constexpr void Add(Technique t) { m_bits = std::uint8_t(m_bits | (1U << unsigned(t))); }
    constexpr bool Empty() const { return m_bits == 0; }
    // Every technique of other is in this set too.
    constexpr bool Covers(TechniqueSet other) const { return (m_bits & other.m_bits) == other.m_bits; }
    constexpr TechniqueSet operator|(TechniqueSet other) const { return TechniqueSet(std::uint8_t(m_bits | other.m_bits)); }
    constexpr TechniqueSet operator&(TechniqueSet other) const { return TechniqueSet(std::uint8_t(m_bits & other.m_bits)); }
    constexpr bool operator==(const TechniqueSet&) const = default;

private:
    constexpr explicit TechniqueSet(std::uint8_t bits) : m_bits(bits) {}
    std::uint8_t m_bits = 0;
};

// What a question needs: a technique is needed when every expression over its four
// numbers that makes 24 uses it. A question without such an expression needs nothing
// and is not plain.
struct QuestionNeeds {
    bool solvable = false;
    TechniqueSet needs;

    bool IsPlain() const { return solvable && needs.Empty(); }
    bool operator==(const QuestionNeeds&) const = default;
};

// Decides the needs by trying every expression over the question: each number once, in
// any order and grouping, with the binary operations of the rule (no unary minus, which
// no answer may begin a group with). It evaluates as the engine does, so that it finds
// exactly the answers the checker accepts:
// - under the Standard rule in exact fractions, which for four numbers up to 13 agree
//   with the checker's test in doubles: a fraction near 24 but not 24 has a denominator
//   of at most 13^3 and so lies further than the test's 0.0001 from 24;
// - under the Advanced rule in doubles, operation for operation as the evaluator works a
//   line out: a^b is pow(a, b), the root a^^b is pow(a, 1/b), a zero (or not-a-number)
//   divisor or root index fails the expression, and 24 is the checker's test. A value
//   on the way within 1e-9 of a whole number counts as that number (64^^3 is 4, not
//   3.9999999999999996) before it is told fraction, negative, large or overshoot.
// An invalid question (not four numbers of 1..rules.maximum) is not solvable.
QuestionNeeds FindQuestionNeeds(const NumberArray& question, const Rules& rules);

// The same answer from a table of every question up to 13, made on first use for each
// rule (any thread may ask).
QuestionNeeds LookUpQuestionNeeds(const NumberArray& question, const Rules& rules);

// The techniques one line uses, worked out as FindQuestionNeeds works its expressions;
// roots are read as written. Nothing when the line does not parse, holds a number that
// is not whole, uses "^" under the Standard rule, or divides by zero.
std::optional<TechniqueSet> TechniquesOf(std::string_view line, const Rules& rules);

}  // namespace tavlix
