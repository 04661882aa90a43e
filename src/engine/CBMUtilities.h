#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/CharacterSet.h"

namespace tavlix {

// What a typed text is about to be read as.
enum class InputMode : int {
    QuestionNumber = 0,  // one question box: blanks are dropped
    QuestionLine = 1,    // a whole question: commas and semicolons separate numbers
    AnswerLine = 2,      // an answer: look-alike operators and parentheses become ASCII
};

using NumberArray = std::vector<unsigned>;
using StringArray = std::vector<std::string>;

// The distinct orderings of a question's four numbers: entry i of the four columns
// is the i-th ordering.
struct PermutationColumns {
    std::array<std::vector<unsigned>, 4> columns;
    std::size_t size() const { return columns[0].size(); }
};

// The arithmetic engine: static operations over plain values. Bad input is never an
// exception: a question is invalid, a line incorrect, a value the 999.0 sentinel.
class CBMUtilities {
public:
    // ---- Questions --------------------------------------------------------------
    static constexpr int kTwentyFourFailure = 999;  // EvaluateExpression's sentinel

    // The largest number a question may hold: 13 with J, Q and K enabled, else 10.
    static void SetCurrentMaximum(unsigned maximum);
    static unsigned GetCurrentMaximum();

    static bool GetQuestionFromString(std::string_view text, NumberArray& numbers,
                                      bool allowThirteen,
                                      CharacterSet charset = CharacterSet::English);
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
    // The rule of the most recent search; every evaluation follows it.
    static bool IsStandardOnly();

    // 1 and the text rewritten from root to power notation, or -1 when not acceptable.
    static int ConvertRootNotation(std::string& text, bool powerAllowed);
    static void StripOperators(std::string& text);
    static bool IsTwentyFour(double value);
    static bool EqualsTwentyFour(std::string text);
    static double EvaluateExpression(std::string text);
    static bool IsGroupEqualToOne(std::size_t position, const std::string& text);
    static bool IsGroupNegative(std::size_t position, const std::string& text);
    static bool CheckValidSolution(const NumberArray& question, const std::string& text);

    // ---- Solution search ----------------------------------------------------------
    static bool GetSolutions(const NumberArray& question, StringArray& solutions,
                             bool standardOnly);
    // The same search, filling and parsing every template text; the fast search must
    // always agree with it.
    static bool GetSolutionsReference(const NumberArray& question, StringArray& solutions,
                                      bool standardOnly);
    static void GetPermutations(unsigned a, unsigned b, unsigned c, unsigned d,
                                PermutationColumns& columns);
    static int EvaluateTemplate(StringArray& hits, const std::string& templ,
                                const PermutationColumns& columns);
    static int AddNormalizedSolutions(const StringArray& hits, StringArray& solutions,
                                      const std::string& templ, int type, bool keepSwapped);
    static bool IsRedundantSolution(const std::string& text);
    // A template or model with "n1".."n4" replaced by the numbers.
    static std::string FillTemplate(std::string_view templ, const NumberArray& numbers);

    // ---- Normal answers -------------------------------------------------------------
    static std::string GetNormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                       std::string strExp);
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
    inline static unsigned s_nCurrentMaximum = 13;

    template <typename HitFinder>
    static bool SearchSolutions(const NumberArray& question, StringArray& solutions,
                                bool standardOnly, HitFinder&& findHits);
    static void RemoveRedundantSolutions(StringArray& solutions);
    static std::string NormalAnswer(NumberArray& uaQ, std::string& strSubNA,
                                    std::string strExp, int depth);
};

}  // namespace tavlix
