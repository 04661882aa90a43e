#include <gtest/gtest.h>

#include <limits>

#include "engine/Rational.h"
#include "engine/Techniques.h"

namespace tavlix {
namespace {

constexpr Rules kStandard{true, 13};
constexpr Rules kAdvanced{false, 13};

TechniqueSet Set(std::initializer_list<Technique> techniques)
{
    TechniqueSet set;
    for (const Technique t : techniques)
        set.Add(t);
    return set;
}

using enum Technique;

TEST(TechniquesTest, WhatQuestionsNeed)
{
    const struct {
        NumberArray question;
        Rules rules;
        QuestionNeeds needs;
    } cases[] = {
        {{3, 3, 8, 8}, kStandard, {true, Set({Fraction, Division, Subtraction})}},
        {{3, 3, 7, 7}, kStandard, {true, Set({Fraction, Division})}},
        {{4, 4, 10, 10}, kStandard, {true, Set({Large, Overshoot, Division, Subtraction})}},
        {{1, 2, 3, 4}, kStandard, {true, {}}},
        // A power takes the place of the fraction: 5^2-1.
        {{1, 5, 5, 5}, kAdvanced, {true, Set({Subtraction})}},
        // Plain when each technique has a way around it: 8*(9-2-4) or 8*9^^(4^^2).
        {{2, 4, 8, 9}, kAdvanced, {true, {}}},
        {{3, 7, 8, 10}, kAdvanced, {true, Set({Root})}},
        {{1, 1, 1, 1}, kAdvanced, {}},
        {{11, 1, 1, 1}, {true, 10}, {}},
    };
    for (const auto& c : cases) {
        const std::string name = ::testing::PrintToString(c.question) + (c.rules.standardOnly ? " standard" : " advanced");
        EXPECT_EQ(FindQuestionNeeds(c.question, c.rules), c.needs) << name;
        EXPECT_EQ(LookUpQuestionNeeds(c.question, c.rules), c.needs) << name;
    }
}

// How many questions of each level need each technique: under the Standard rule with J, Q
// and K, about 700 need a subtraction, 200 a division and 16 a fraction on the way.
TEST(TechniquesTest, HowManyQuestionsNeedEachTechnique)
{
    const struct {
        Rules rules;
        int plain;
        std::array<int, 8> needing;  // in the order of kAllTechniques
    } cases[] = {
        {{true, 10}, 292, {10, 0, 1, 41, 61, 244, 0, 0}},
        {{true, 13}, 545, {16, 0, 12, 124, 199, 705, 0, 0}},
        {{false, 10}, 346, {8, 0, 5, 46, 56, 215, 13, 7}},
        {{false, 13}, 697, {13, 0, 18, 125, 169, 636, 21, 14}},
    };
    for (const auto& c : cases) {
        int plain = 0;
        std::array<int, 8> needing{};
        for (const std::string& text : CBMUtilities::EnumerateQuestions(c.rules.maximum)) {
            NumberArray question;
            ASSERT_TRUE(CBMUtilities::GetQuestionFromString(text, question, c.rules.maximum));
            const QuestionNeeds needs = LookUpQuestionNeeds(question, c.rules);
            plain += needs.IsPlain() ? 1 : 0;
            for (const Technique t : kAllTechniques)
                needing[std::size_t(t)] += needs.needs.Has(t) ? 1 : 0;
        }
        EXPECT_EQ(plain, c.plain) << c.rules.maximum;
        EXPECT_EQ(needing, c.needing) << c.rules.maximum;
    }
}

TEST(TechniquesTest, WhatOneLineUses)
{
    const struct {
        const char* line;
        Rules rules;
        std::optional<TechniqueSet> uses;
    } cases[] = {
        {"8/(3-8/3)", kStandard, Set({Fraction, Division, Subtraction})},
        {"(10*10-4)/4", kStandard, Set({Large, Overshoot, Division, Subtraction})},
        {"4*(1+2+3)", kStandard, TechniqueSet()},
        {"(1-5)*(1-7)", kStandard, Set({Negative, Subtraction})},
        // A root taken back to a whole number is whole: 64^^3 is 4, not 3.9999999999999996.
        {"(4^3)^^3*6", kAdvanced, Set({Overshoot, Power, Root})},
        {"8*9^^(4^^2)", kAdvanced, Set({Root})},
        {"2^(9-4)-8", kAdvanced, Set({Overshoot, Power, Subtraction})},
        {"2^3*3", kStandard, std::nullopt},
        {"24/(2-2)", kStandard, std::nullopt},
        {"1.5*16", kStandard, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TechniquesOf(c.line, c.rules), c.uses) << c.line;
}

TEST(RationalTest, ExactFractionsThatRefuseWhatTheyCannotHold)
{
    const Rational minusHalf = *Rational(-1).DividedBy(2);
    EXPECT_EQ(*minusHalf.Times(-2), Rational(1));
    EXPECT_TRUE(minusHalf.IsBelow(0) && minusHalf.IsAbove(-1) && !minusHalf.IsBelow(-1) && !minusHalf.IsWhole());
    EXPECT_EQ(Rational(1).DividedBy(*minusHalf.Minus(minusHalf)), std::nullopt);
    const Rational huge(std::numeric_limits<std::int64_t>::max() / 2);
    EXPECT_TRUE(!huge.Times(3) && !huge.Plus(*huge.Plus(2)));
    EXPECT_EQ(Rational(std::numeric_limits<std::int64_t>::min() + 1).Minus(1), std::nullopt);
}

}  // namespace
}  // namespace tavlix
