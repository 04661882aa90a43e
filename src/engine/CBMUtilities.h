#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Rules.h"
#include "i18n/CharacterSet.h"

namespace tavlix {

// What a typed text is about to be read as.
enum class InputMode : int {
    QuestionNumber = 0,  // one question box: blanks are dropped
    QuestionLine = 1,    // a whole question: commas and semicolons separate numbers
    AnswerLine = 2,      // an answer: look-alike operators and parentheses become ASCII
};

using NumberArray = std::vector<unsigned>;

// The ways GetNormalAnswer makes a writing one with others beyond ordering the numbers of
// its sums and products; a bit set. Two lines with one normal answer but two sub-normal
// answers are similar through these.
enum Unification : unsigned {
    kUnifyOperationWithOne = 1U << 0,  // dividing by 1, a power 1 or a root of index 1
    kUnifyGroupOfOne = 1U << 1,        // a group worth 1 as divisor, exponent or root index
    kUnifyFactorOfOne = 1U << 2,       // a factor 1, wherever it stands
    kUnifyRootOfOne = 1U << 3,         // a root of 1, compared as a power of 1
    kUnifyEvenPowerOfNegative = 1U << 4,  // an even power of a negative difference
};
using StringArray = std::vector<std::string>;

// The distinct orderings of a question's four numbers: entry i of the four columns
// is the i-th ordering.
struct PermutationColumns {
    std::array<std::vector<unsigned>, 4> columns;
    std::size_t size() const { return columns[0].size(); }
};

// The arithmetic engine: static operations over plain values. Bad input is never an
// exception: a question is invalid, a line incorrect, a value the 999.0 sentinel.
//
// Every operation that depends on the rule or the range takes them as a parameter and
// touches no shared state, so it may run on any thread. Beside each stands the same
// operation without them, which works under the engine's current state instead: the
// rule of the last search made through it, and the current maximum. That state is
// shared by the whole program and belongs to the window's thread.
class CBMUtilities {
public:
    // ---- Questions --------------------------------------------------------------
    static constexpr int kTwentyFourFailure = 999;  // EvaluateExpression's sentinel

    // The current maximum (13 at the start): the largest number a question may hold.
    static void SetCurrentMaximum(unsigned maximum);
    static unsigned GetCurrentMaximum();

    // Four plain numbers from 1 to maximum, blanks, commas or semicolons between them.
    static bool GetQuestionFromString(std::string_view text, NumberArray& numbers,
                                      unsigned maximum,
                                      CharacterSet charset = CharacterSet::English);
    // The same up to 13 when allowThirteen, else up to the current maximum.
    static bool GetQuestionFromString(std::string_view text, NumberArray& numbers,
                                      bool allowThirteen,
                                      CharacterSet charset = CharacterSet::English);
    static bool IsValidQuestion(const NumberArray& numbers, unsigned maximum);
    static bool IsValidQuestion(const NumberArray& numbers);
    static void SortNumbers(unsigned& a, unsigned& b, unsigned& c, unsigned& d, int count,
                            bool ascending);
    // 1 when the sorted question is in the list, 0 when not, -1 when text is no question.
    static int IsQuestionInList(std::string_view text, const StringArray& list);
    // True when question text a sorts after b, with 10 to 13 after 9.
    static bool CompareQuestionText(std::string a, std::string b);
    static std::string GetNormalizedUserInput(std::string_view text, InputMode mode,
                                              CharacterSet charset);

    static std::string FormatQuestion(unsigned a, unsigned b, unsigned c, unsigned d);
    // Every sorted question of 1..maximum, in enumeration order.
    static StringArray EnumerateQuestions(unsigned maximum);
    // Replaces target with the built-in list of questions without a solution for the
    // rule and range; returns the number of entries.
    static int LoadNoSolutionList(bool standardOnly, bool jqkEnabled, StringArray& target);

    // ---- Expressions ------------------------------------------------------------
    // The rule flag: the rule of the last search made without rules, which the
    // evaluations without rules follow.
    static bool IsStandardOnly();

    // 1 and the text rewritten from root to power notation, or -1 when not acceptable.
    static int ConvertRootNotation(std::string& text, bool powerAllowed);
    static void StripOperators(std::string& text);
    static bool IsTwentyFour(double value);
    static bool EqualsTwentyFour(std::string text, const Rules& rules);
    static bool EqualsTwentyFour(std::string text);
    static double EvaluateExpression(std::string text, const Rules& rules);
    static double EvaluateExpression(std::string text);
    static bool IsGroupEqualToOne(std::size_t position, const std::string& text);
    static bool IsGroupNegative(std::size_t position, const std::string& text);
    // The numbers of the line are those of the question, each of 1..maximum, and it
    // makes 24 under the rule.
    static bool CheckValidSolution(const NumberArray& question, const std::string& text,
                                   const Rules& rules);
    static bool CheckValidSolution(const NumberArray& question, const std::string& text);

    // ---- Solution search ----------------------------------------------------------
    // The really different solutions; false, with solutions untouched, when the
    // question is not four numbers of 1..maximum.
    static bool GetSolutions(const NumberArray& question, StringArray& solutions,
                             const Rules& rules);
    // The same under the current maximum; a question it accepts sets the rule flag.
    static bool GetSolutions(const NumberArray& question, StringArray& solutions,
                             bool standardOnly);
    // The same searches, filling and parsing every template text; the fast search must
    // always agree with it.
    static bool GetSolutionsReference(const NumberArray& question, StringArray& solutions,
                                      const Rules& rules);
    static bool GetSolutionsReference(const NumberArray& question, StringArray& solutions,
                                      bool standardOnly);
    static void GetPermutations(unsigned a, unsigned b, unsigned c, unsigned d,
                                PermutationColumns& columns);
    static int EvaluateTemplate(StringArray& hits, const std::string& templ,
                                const PermutationColumns& columns, const Rules& rules);
    static int EvaluateTemplate(StringArray& hits, const std::string& templ,
                                const PermutationColumns& columns);
    static int AddNormalizedSolutions(const StringArray& hits, StringArray& solutions,
                                      const std::string& templ, int type, bool keepSwapped,
                                      unsigned maximum);
    static int AddNormalizedSolutions(const StringArray& hits, StringArray& solutions,
                                      const std::string& templ, int type, bool keepSwapped);
    static bool IsRedundantSolution(const std::string& text, unsigned maximum);
    static bool IsRedundantSolution(const std::string& text);
    // A template or model with "n1".."n4" replaced by the numbers.
    static std::string FillTemplate(std::string_view templ, const NumberArray& numbers);

    // ---- Normal answers -------------------------------------------------------------
    // The normal answer, and the sub-normal one into an empty strSubNA; the numbers of
    // the line are read as those of a question of 1..maximum.
    static std::string GetNormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                       std::string strExp, unsigned maximum);
    static std::string GetNormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                       std::string strExp);
    // The same, adding to unifications the Unification bits of the steps it took.
    static std::string GetNormalAnswer(NumberArray& uaQ, std::string& strSubNA, std::string strExp,
                                       unsigned maximum, unsigned& unifications);
    // The model of an expression; its numbers, in order, go to numbers when given.
    // Empty when a character other than digits, operators and parentheses occurs.
    static std::string GetModel(std::string_view expression, NumberArray* numbers = nullptr);
    // Drops parentheses around single placeholders, around the whole model and
    // doubled ones.
    static std::string SimplifyParentheses(std::string model);
    // The normalisation type that orders the commutative numbers of a canonical model.
    static int GetSortType(std::string_view model);

private:
    // Engine state: the rule of the last search and the current maximum.
    inline static bool s_bStandardOnly = true;
    inline static unsigned s_nCurrentMaximum = kLargestNumber;

    static Rules CurrentRules() { return {s_bStandardOnly, s_nCurrentMaximum}; }
    using ExplicitSearch = bool (*)(const NumberArray&, StringArray&, const Rules&);
    static bool SearchUnderCurrentMaximum(const NumberArray& question, StringArray& solutions,
                                          bool standardOnly, ExplicitSearch search);
    template <typename HitFinder>
    static bool SearchSolutions(const NumberArray& question, StringArray& solutions,
                                const Rules& rules, HitFinder&& findHits);
    static void RemoveRedundantSolutions(StringArray& solutions, unsigned maximum);
    static std::string NormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                    std::string strExp, unsigned maximum, int depth,
                                    unsigned& unifications);
};

}  // namespace tavlix
