#include <gtest/gtest.h>

#include "../i18n/TestLanguage.h"
#include "engine/AnswerChecker.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {
namespace {

LanguageState Language(std::uint32_t lcid) { return testing::MakeLanguage(lcid); }

AnswerInput Question(const char* a, const char* b, const char* c, const char* d,
                     std::string answers = {})
{
    AnswerInput input;
    input.questionBoxes = {a, b, c, d};
    input.answerText = std::move(answers);
    return input;
}

struct Judged {
    std::string text;
    CheckOutcome outcome;
    unsigned status;
};

class AnswerCheckerTest : public ::testing::Test {
protected:
    Judged Judge(const AnswerInput& input, unsigned status = 0, bool record = true)
    {
        AnswerChecker checker(m_language);
        std::vector<unsigned> statuses = {7, status, 7};
        Judged j{checker.GetComments(input, record, RunStatus{&statuses, 1}), checker.LastOutcome(),
                 statuses[1]};
        EXPECT_EQ(statuses[0], 7u);
        EXPECT_EQ(statuses[2], 7u);
        return j;
    }
    std::string Text(int id, std::string_view a = {}, std::string_view b = {}) const
    {
        return m_language.GetLocalizedString(id, a, b);
    }

    LanguageState m_language = Language(kLcidEnglish);
};

TEST_F(AnswerCheckerTest, RequiredAnswerCount)
{
    struct Case {
        int level;
        unsigned n, required;
    } cases[] = {
        {1, 0, 0}, {1, 5, 1}, {2, 1, 1}, {2, 2, 2}, {2, 9, 2}, {4, 7, 7}, {3, 1, 1}, {3, 2, 2},
        {3, 4, 2}, {3, 5, 3}, {3, 7, 3}, {3, 8, 4}, {3, 10, 4}, {3, 11, 5}, {3, 13, 5},
        {3, 14, 6}, {3, 40, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnswerChecker::GetRequiredAnswerCount(c.level, c.n), c.required)
            << "level " << c.level << ", " << c.n << " solutions";
}

TEST_F(AnswerCheckerTest, CanCheckNeedsAValidQuestionAndSevenCharacters)
{
    const AnswerChecker checker(m_language);
    EXPECT_TRUE(checker.CanCheckResult(Question("1", "2", "3", "4", " \t1*2*3*4\r\n")));
    EXPECT_FALSE(checker.CanCheckResult(Question("1", "2", "3", "4", "1*2*34")));
    AnswerInput claim = Question("1", "1", "1", "1", "");
    claim.noSolutionChecked = true;
    EXPECT_TRUE(checker.CanCheckResult(claim));
    for (const char* box : {"0", "01", "1a", "14", "", "-1", "1.0"})
        EXPECT_FALSE(checker.CanCheckResult(Question(box, "2", "3", "4", "1*2*3*4"))) << box;
    AnswerInput ten = Question("11", "2", "3", "4", "11*2*3*4");
    EXPECT_TRUE(checker.CanCheckResult(ten));
    ten.jqkEnabled = false;
    EXPECT_FALSE(checker.CanCheckResult(ten));
    // A question box may hold blanks around its number.
    EXPECT_TRUE(checker.CanCheckResult(Question(" 1 ", "2\t", "3", "4", "1*2*3*4")));
}

TEST_F(AnswerCheckerTest, RefusedInputIsNotJudged)
{
    const Judged j = Judge(Question("1", "2", "x", "4", "(1+3)*(2+4)"));
    EXPECT_EQ(j.text, "");
    EXPECT_EQ(j.outcome, CheckOutcome::NothingJudged);
}

TEST_F(AnswerCheckerTest, NoSolutionClaims)
{
    AnswerInput none = Question("1", "1", "1", "1");
    none.noSolutionChecked = true;
    Judged j = Judge(none);
    EXPECT_EQ(j.text, "Bingo! There is really no solution for this question!");
    EXPECT_EQ(j.outcome, CheckOutcome::Correct);

    AnswerInput wrong = Question("1", "2", "3", "4", "(1+3)*(2+4)");  // answers are ignored
    wrong.noSolutionChecked = true;
    j = Judge(wrong);
    EXPECT_EQ(j.text, "You lost! The question has 3 answer(s) under Standard Rule.\r\n\r\n"
                      "You can view all valid solution(s) by clicking the button below.");
    EXPECT_EQ(j.outcome, CheckOutcome::Wrong);
    EXPECT_EQ(j.status, 0u) << "free mode records nothing";

    wrong.mode = RunMode::TrainingGame;
    j = Judge(wrong);
    EXPECT_EQ(j.text, "You lost! The question has 3 answer(s) under Standard Rule.");
    EXPECT_EQ(j.status, 2u);

    const Judged answered = Judge(Question("1", "1", "1", "1", "1+1+1+1"));
    EXPECT_EQ(answered.text, "You lost! The question has NO answer under Standard Rule.");
    EXPECT_EQ(answered.outcome, CheckOutcome::Wrong);
}

TEST_F(AnswerCheckerTest, FreeModeVerdicts)
{
    EXPECT_EQ(Judge(Question("3", "3", "8", "8", "8/(3-8/3)")).text, "Bingo!");
    const Judged lost = Judge(Question("3", "3", "8", "8", "8*3+8-3"));
    EXPECT_EQ(lost.text, "You lost!");
    EXPECT_EQ(lost.outcome, CheckOutcome::Wrong);

    const Judged all = Judge(Question("1", "2", "3", "4", "(1+3)*(2+4)\r\n1*2*3*4"));
    EXPECT_EQ(all.text, "All your answers are correct!");
    EXPECT_EQ(all.outcome, CheckOutcome::Correct);

    const Judged same = Judge(Question("1", "2", "3", "4", "(1+3)*(2+4)\r\n\r\n  (4+2)*(3+1)  "));
    EXPECT_EQ(same.text, "Good!\r\n\r\nThe following answer is correct:\r\n    1: (1+3)*(2+4)\r\n"
                         "The following answer is repetitive:\r\n    2: (4+2)*(3+1) (same as 1)");
    EXPECT_EQ(same.outcome, CheckOutcome::Correct);

    const Judged similar = Judge(Question("1", "2", "3", "4", "1*2*3*4\r\n2*3*4/1"));
    EXPECT_EQ(similar.text, "Good!\r\n\r\nThe following answer is correct:\r\n    1: 1*2*3*4\r\n"
                            "The following answer is repetitive:\r\n    2: 2*3*4/1 (similar to 1)");

    const Judged mixed = Judge(Question("1", "2", "3", "4",
                                        "1+2+3+4\r\n4*(1+2+3)\r\n(1+3)*(2+4)\r\n1*2*3*4\r\nnonsense\r\n4*(3+2+1)"));
    EXPECT_EQ(mixed.text,
              "Good! You have found all solutions.\r\n\r\n"
              "The following answers are correct:\r\n    2: 4*(1+2+3)\r\n    3: (1+3)*(2+4)\r\n    4: 1*2*3*4\r\n"
              "The following answers are incorrect:\r\n    1: 1+2+3+4\r\n    5: nonsense\r\n"
              "The following answer is repetitive:\r\n    6: 4*(3+2+1) (same as 2)");
}

TEST_F(AnswerCheckerTest, LaterLinesCompareOnlyWithNewOnes)
{
    // Line 3 repeats line 1, not the repetitive line 2.
    const Judged j = Judge(Question("1", "2", "3", "4", "1*2*3*4\r\n2*3*4/1\r\n4*3*2*1"));
    EXPECT_NE(j.text.find("    3: 4*3*2*1 (same as 1)"), std::string::npos) << j.text;
}

TEST_F(AnswerCheckerTest, TrainingVerdictsAndStatus)
{
    AnswerInput input = Question("1", "2", "3", "4", "(1+3)*(2+4)");
    input.mode = RunMode::Training;
    input.level = 2;
    Judged j = Judge(input);
    EXPECT_EQ(j.text, "You haven't provided enough number of solutions as required.\r\n\r\n"
                      "The following answer is correct:\r\n    1: (1+3)*(2+4)");
    EXPECT_EQ(j.status, 2u);

    input.answerText = "(1+3)*(2+4)\r\n1+2+3+4";
    j = Judge(input);
    EXPECT_EQ(j.text.substr(0, 24), "You need more exercises.");

    input.answerText = "(1+3)*(2+4)\r\n1*2*3*4";
    j = Judge(input, 2);
    EXPECT_EQ(j.text, "All your answers are correct!");
    EXPECT_EQ(j.status, 1u) << "Training may be answered again";

    j = Judge(input, 0, false);
    EXPECT_EQ(j.status, 0u) << "a re-evaluation records nothing";
}

TEST_F(AnswerCheckerTest, ScoredRunsJudgeOnlyTheRequiredLines)
{
    AnswerInput input = Question("1", "1", "2", "12", "1*1*2*12\r\n12*(1+2-1)\r\n1+1+2");
    input.mode = RunMode::TrainingGame;
    input.level = 2;
    Judged j = Judge(input);
    EXPECT_EQ(j.text, "All your answers are correct!\r\n\r\nYou have provided 3 answers, only "
                      "first 2 were checked. Other answer(s) are neglected.");
    EXPECT_EQ(j.status, 1u);

    input.answerText = "1*1*2*12";
    j = Judge(input);
    EXPECT_EQ(j.text, "You lost!\r\n\r\nYou haven't provided enough number of solutions as required.");
    EXPECT_EQ(j.status, 2u);

    input.answerText = "1*1*2*12\r\n1*1*12*2";
    j = Judge(input);
    EXPECT_EQ(j.text.substr(0, 13), "You lost!\r\n\r\n");
    EXPECT_EQ(j.outcome, CheckOutcome::Wrong);

    input.level = 1;  // Beginner: one line judged, the rest noted
    input.mode = RunMode::WorldCup;
    input.answerText = "1*1*2*12\r\n1+1+2";
    j = Judge(input);
    EXPECT_EQ(j.text, "Bingo!\r\n\r\nNote: No need to provide more than 1 answer if you are not "
                      "required to do so. Additional answers will be neglected.");
}

TEST_F(AnswerCheckerTest, UltimateJudgesEveryLine)
{
    AnswerInput input = Question("1", "1", "2", "12",
                                 "2*(1+12-1)\r\n12*(1+2-1)\r\n1+2*12-1\r\n12/(1-1/2)\r\n1*1*2*12");
    input.mode = RunMode::TrainingGame;
    input.level = 4;
    Judged j = Judge(input);
    EXPECT_EQ(j.text, "All your answers are correct!");
    input.answerText += "\r\n2*12*1*1";
    j = Judge(input);
    EXPECT_EQ(j.text.substr(0, 35), "Good! You have found all solutions.");
    EXPECT_EQ(j.status, 1u);
    input.answerText = "2*(1+12-1)\r\n12*(1+2-1)\r\n1+2*12-1\r\n12/(1-1/2)";
    j = Judge(input);
    EXPECT_EQ(j.text.substr(0, 13), "You lost!\r\n\r\n");
    EXPECT_EQ(j.status, 2u);
}

TEST_F(AnswerCheckerTest, RecordedScoredQuestionIsNotJudgedAgain)
{
    AnswerInput input = Question("3", "3", "8", "8", "8/(3-8/3)");
    input.mode = RunMode::WorldCup;
    const Judged j = Judge(input, 2);
    EXPECT_EQ(j.text, "");
    EXPECT_EQ(j.status, 2u);
    EXPECT_EQ(Judge(input, 2, false).text, "Bingo!") << "re-evaluation still shows the verdict";
}

TEST_F(AnswerCheckerTest, TooManyLinesAreRejectedBlankLinesDoNotCount)
{
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines += "1*2*3*4\r\n\r\n";
    AnswerInput input = Question("1", "2", "3", "4", lines);
    input.mode = RunMode::Training;
    EXPECT_EQ(Judge(input).outcome, CheckOutcome::Correct) << "30 lines and 30 blank lines are fine";
    input.answerText += "1*2*3*4";
    const Judged j = Judge(input);
    EXPECT_EQ(j.text, "Too many answers. Please just fill in answers irrelevant to each other.");
    EXPECT_EQ(j.outcome, CheckOutcome::Rejected);
    EXPECT_EQ(j.status, 0u);
}

TEST_F(AnswerCheckerTest, AdvancedRuleAndMaximum)
{
    AnswerInput input = Question("2", "4", "8", "9", "8*9^^(4^^2)");
    EXPECT_EQ(Judge(input).text, "You lost!");
    input.standardRule = false;
    EXPECT_EQ(Judge(input).text.substr(0, 6), "Bingo!");
}

TEST_F(AnswerCheckerTest, SameVerdictInEveryLanguage)
{
    const std::vector<std::string> answers = {
        "8/(3-8/3)", "1+2+3+4", "(1+3)*(2+4)\r\n(4+2)*(3+1)", "1*2*3*4\r\n2*3*4/1\r\nfoo"};
    for (const std::string& a : answers) {
        std::vector<std::pair<CheckOutcome, unsigned>> verdicts;
        for (const std::uint32_t lcid : {kLcidEnglish, kLcidSimplifiedChinese, kLcidTraditionalChinese}) {
            m_language = Language(lcid);
            AnswerInput input = Question("1", "2", "3", "4", a);
            input.mode = RunMode::Training;
            const Judged j = Judge(input);
            verdicts.emplace_back(j.outcome, j.status);
        }
        EXPECT_EQ(verdicts[0], verdicts[1]) << a;
        EXPECT_EQ(verdicts[0], verdicts[2]) << a;
    }
    m_language = Language(kLcidSimplifiedChinese);
    EXPECT_EQ(Judge(Question("3", "3", "8", "8", "8/(3-8/3)")).text, "答对了！");
}

TEST_F(AnswerCheckerTest, FullWidthInputCountsOnlyUnderChinese)
{
    // （１＋３）×（２＋４） in the answer, full-width digits in the question boxes.
    const std::string answer = "\xEF\xBC\x88\xEF\xBC\x91\xEF\xBC\x8B\xEF\xBC\x93\xEF\xBC\x89\xC3\x97"
                               "\xEF\xBC\x88\xEF\xBC\x92\xEF\xBC\x8B\xEF\xBC\x94\xEF\xBC\x89";
    AnswerInput input = Question("\xEF\xBC\x91", "2", "3", "4", answer);
    for (const std::uint32_t lcid : {kLcidSimplifiedChinese, kLcidTraditionalChinese}) {
        m_language = Language(lcid);
        const Judged j = Judge(input);
        EXPECT_EQ(j.outcome, CheckOutcome::Correct) << lcid;
    }
    m_language = Language(kLcidEnglish);
    EXPECT_FALSE(AnswerChecker(m_language).CanCheckResult(input));
    input.questionBoxes[0] = "1";
    EXPECT_EQ(Judge(input).outcome, CheckOutcome::Wrong);
}

TEST_F(AnswerCheckerTest, CompanionTexts)
{
    const AnswerChecker checker(m_language);
    EXPECT_EQ(checker.GetAllSolutionsText(Question("1", "2", "3", "4")),
              "A1: 4*(1+2+3)\r\nA2: (1+3)*(2+4)\r\nA3: 1*2*3*4");
    EXPECT_EQ(checker.GetAllSolutionsText(Question("1", "1", "1", "1")), "There is no solution.");
    AnswerInput ten = Question("1", "2", "3", "11");
    ten.jqkEnabled = false;
    EXPECT_EQ(checker.GetAllSolutionsText(ten),
              "The question is not valid! A valid question is comprised of 4 positive integers "
              "ranging between 1-10.");

    AnswerInput run = Question("1", "1", "2", "12");
    run.level = 3;
    EXPECT_EQ(checker.GetAnswerCountPrompt(run), "Please submit 3 different solutions, each in a separate line.");
    run.level = 1;
    EXPECT_EQ(checker.GetAnswerCountPrompt(run), "");
    run.level = 4;
    EXPECT_EQ(checker.GetAnswerCountPrompt(run), "");
}

TEST_F(AnswerCheckerTest, HostileAnswerTextsAreJudgedNotFatal)
{
    const std::vector<std::string> texts = {
        std::string(10 * 1024 * 1024, '1'),
        [] {
            std::string s;
            for (int i = 0; i < 100000; ++i)
                s += "1*2*3*4\r\n";
            return s;
        }(),
        std::string("1*2*3*4\0\r\n(1+3)*(2+4)", 22),
        "\xFF\xFE\xC3\x28\r\n\xE2\x82",
        "1*2*3*4+" + std::string(100000, '('),
        std::string(100000, '\n'),
    };
    for (const std::string& text : texts) {
        AnswerInput input = Question("1", "2", "3", "4", text);
        const Judged j = Judge(input);
        EXPECT_NE(j.outcome, CheckOutcome::Correct) << text.substr(0, 20);
    }
}

}  // namespace
}  // namespace tavlix
