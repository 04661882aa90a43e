#include <gtest/gtest.h>

#include "engine/CBMUtilities.h"

namespace tavlix {
namespace {

class QuestionsTest : public ::testing::Test {
protected:
    void SetUp() override { CBMUtilities::SetCurrentMaximum(13); }
    void TearDown() override { CBMUtilities::SetCurrentMaximum(13); }

    static NumberArray Read(const std::string& text, bool allowThirteen = false)
    {
        NumberArray numbers = {99};
        if (!CBMUtilities::GetQuestionFromString(text, numbers, allowThirteen))
            return {};
        return numbers;
    }
};

TEST_F(QuestionsTest, ReadsSeparatorsBlanksAndTabsAlike)
{
    for (const char* text : {"3 3 8 8", "  3   3 8  8  ", "3,3;8 8", "3\t3\t8\t8", "3, 3; 8,8"})
        EXPECT_EQ(Read(text), (NumberArray{3, 3, 8, 8})) << text;
}

TEST_F(QuestionsTest, RejectsAnythingButFourPlainNumbers)
{
    for (const char* text : {"3 3 8", "3 3 8 8 1", "03 3 8 8", "3 3 8 8.0", "+3 3 8 8", "0 3 8 8",
                             "3 3 8 14", "", "    ", "a b c d", "3 3 8 8a", "3 -3 8 8",
                             "99999999999999999999 3 8 8"})
        EXPECT_TRUE(Read(text).empty()) << text;
}

TEST_F(QuestionsTest, FailedReadLeavesOutputAlone)
{
    NumberArray numbers = {7, 7, 7, 7};
    EXPECT_FALSE(CBMUtilities::GetQuestionFromString("1 2 3", numbers, false));
    EXPECT_EQ(numbers, (NumberArray{7, 7, 7, 7}));
}

TEST_F(QuestionsTest, MaximumTenRejectsCourtCardsUnlessThirteenIsAllowed)
{
    CBMUtilities::SetCurrentMaximum(10);
    EXPECT_TRUE(Read("11 12 13 1").empty());
    EXPECT_EQ(Read("11 12 13 1", true), (NumberArray{11, 12, 13, 1}));  // text order kept
    EXPECT_FALSE(CBMUtilities::IsValidQuestion({1, 2, 3, 11}));
    EXPECT_TRUE(CBMUtilities::IsValidQuestion({1, 2, 3, 10}));
}

TEST_F(QuestionsTest, ValidQuestionHasExactlyFourNumbersInRange)
{
    EXPECT_TRUE(CBMUtilities::IsValidQuestion({13, 1, 13, 1}));
    EXPECT_FALSE(CBMUtilities::IsValidQuestion({1, 2, 3}));
    EXPECT_FALSE(CBMUtilities::IsValidQuestion({1, 2, 3, 4, 5}));
    EXPECT_FALSE(CBMUtilities::IsValidQuestion({0, 2, 3, 4}));
    EXPECT_FALSE(CBMUtilities::IsValidQuestion({1, 2, 3, 14}));
}

TEST_F(QuestionsTest, SortNumbersSortsOnlyTheCountedValues)
{
    unsigned a = 9, b = 4, c = 7, d = 1;
    CBMUtilities::SortNumbers(a, b, c, d, 4, true);
    EXPECT_EQ((NumberArray{a, b, c, d}), (NumberArray{1, 4, 7, 9}));
    CBMUtilities::SortNumbers(a, b, c, d, 4, false);
    EXPECT_EQ((NumberArray{a, b, c, d}), (NumberArray{9, 7, 4, 1}));

    a = 5, b = 3, c = 1, d = 0;
    CBMUtilities::SortNumbers(a, b, c, d, 3, true);
    EXPECT_EQ((NumberArray{a, b, c, d}), (NumberArray{1, 3, 5, 0}));
    CBMUtilities::SortNumbers(a, b, c, d, 2, false);
    EXPECT_EQ((NumberArray{a, b, c, d}), (NumberArray{3, 1, 5, 0}));
}

TEST_F(QuestionsTest, SortNumbersSortsEveryArrangement)
{
    NumberArray values = {1, 2, 2, 3};
    do {
        NumberArray v = values;
        CBMUtilities::SortNumbers(v[0], v[1], v[2], v[3], 4, true);
        EXPECT_EQ(v, (NumberArray{1, 2, 2, 3}));
        CBMUtilities::SortNumbers(v[0], v[1], v[2], v[3], 4, false);
        EXPECT_EQ(v, (NumberArray{3, 2, 2, 1}));
    } while (std::next_permutation(values.begin(), values.end()));
}

TEST_F(QuestionsTest, QuestionInListComparesSortedForms)
{
    const StringArray list = {"1 2 3 4", "3 3 8 8"};
    EXPECT_EQ(CBMUtilities::IsQuestionInList("8 3 8 3", list), 1);
    EXPECT_EQ(CBMUtilities::IsQuestionInList("4,3;2 1", list), 1);
    EXPECT_EQ(CBMUtilities::IsQuestionInList("3 3 8 9", list), 0);
    EXPECT_EQ(CBMUtilities::IsQuestionInList("3 3 8", list), -1);
    // The 13 override: a collection may hold court cards while they are disabled.
    CBMUtilities::SetCurrentMaximum(10);
    EXPECT_EQ(CBMUtilities::IsQuestionInList("13 1 1 1", {"1 1 1 13"}), 1);
}

TEST_F(QuestionsTest, CompareQuestionTextPutsTenToThirteenAfterNine)
{
    EXPECT_TRUE(CBMUtilities::CompareQuestionText("1 2 3 10", "1 2 3 9"));
    EXPECT_FALSE(std::string("1 2 3 10") > std::string("1 2 3 9"));
    EXPECT_TRUE(CBMUtilities::CompareQuestionText("1 2 3 13", "1 2 3 12"));
    EXPECT_FALSE(CBMUtilities::CompareQuestionText("1 2 3 4", "1 2 3 4"));
    EXPECT_FALSE(CBMUtilities::CompareQuestionText("1 1 1 9", "1 1 1 11"));
}

TEST_F(QuestionsTest, EnumerationCoversTheRangeInOrder)
{
    const StringArray ten = CBMUtilities::EnumerateQuestions(10);
    const StringArray thirteen = CBMUtilities::EnumerateQuestions(13);
    ASSERT_EQ(ten.size(), 715u);
    ASSERT_EQ(thirteen.size(), 1820u);
    EXPECT_EQ(thirteen[0], "1 1 1 1");
    EXPECT_EQ(thirteen[1], "1 1 1 2");
    EXPECT_EQ(thirteen[2], "1 1 1 3");
    EXPECT_EQ(thirteen.back(), "13 13 13 13");
    EXPECT_EQ(ten.back(), "10 10 10 10");
    for (std::size_t i = 1; i < thirteen.size(); ++i)
        EXPECT_TRUE(CBMUtilities::CompareQuestionText(thirteen[i], thirteen[i - 1])) << thirteen[i];
}

TEST_F(QuestionsTest, NoSolutionListsHaveTheirSizesAndEnds)
{
    struct Case {
        bool standardOnly;
        bool jqk;
        int entries;
        const char* last;
    };
    for (const Case& c : {Case{true, false, 149, "10 10 10 10"}, Case{true, true, 458, "13 13 13 13"},
                          Case{false, false, 120, "10 10 10 10"},
                          Case{false, true, 390, "13 13 13 13"}}) {
        StringArray list = {"stale entry"};
        EXPECT_EQ(CBMUtilities::LoadNoSolutionList(c.standardOnly, c.jqk, list), c.entries);
        ASSERT_EQ(list.size(), std::size_t(c.entries));
        EXPECT_EQ(list.front(), "1 1 1 1");
        EXPECT_EQ(list.back(), c.last);
    }
}

}  // namespace
}  // namespace tavlix
