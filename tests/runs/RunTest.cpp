#include <gtest/gtest.h>

#include "i18n/LanguageState.h"
#include "runs/Run.h"

namespace tavlix {
namespace {

constexpr std::time_t kStart = 1'700'000'000;

class RunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language.InitLanguage(Edition::Standard, kLcidEnglish);
    }

    tavlix::Run Started(RunMode mode, std::size_t questions, int timeLimit = -1, bool standard = true, bool jqk = false,
                int level = 1)
    {
        RunSetup setup{mode, standard, jqk, level, {}, timeLimit};
        for (std::size_t i = 0; i < questions; ++i)
            setup.questions.push_back("1 1 " + std::to_string(1 + i % 10) + " " + std::to_string(1 + i % 10));
        tavlix::Run run;
        run.Start(std::move(setup));
        run.StartClock(kStart);
        return run;
    }

    // Judges question `index` the way answer checking records it.
    static void Answer(tavlix::Run& run, std::size_t index, unsigned status, bool repeated = false)
    {
        run.SetIndex(index);
        RunStatus target = run.StatusOfCurrent();
        (*target.m_uaAStatus)[target.m_nIndex] = status;
        run.RecordSubmission(true, "answer " + std::to_string(index), repeated);
    }

    LanguageState m_language;
};

TEST_F(RunTest, AOneMinuteGameEndsOnTheFirstTickAfterSixtySeconds)
{
    tavlix::Run run = Started(RunMode::TrainingGame, 5, 60);
    EXPECT_EQ(run.RemainingText(kStart), "00:01:00");
    EXPECT_EQ(run.RemainingText(kStart + 59), "00:00:01");
    EXPECT_FALSE(run.IsTimeUp(kStart + 60));
    EXPECT_EQ(run.RemainingText(kStart + 60), "00:00:00");
    EXPECT_TRUE(run.IsTimeUp(kStart + 61));
    Answer(run, 2, 1);
    EXPECT_EQ(run.Report(m_language, kStart + 61),
              "Training Game Score Report - Standard Level\r\n\r\nRule: Standard Rule (Addition, Subtraction, "
              "Multiplication and Division)\r\nValue Range: 1-10\r\nScores: 1/5\r\nTime: 1 min 0 sec");
}

TEST_F(RunTest, TimeUsedWithoutALimitIsTheRealTime)
{
    tavlix::Run run = Started(RunMode::TrainingGame, 5);
    EXPECT_EQ(run.RemainingText(kStart + 10), std::nullopt);
    EXPECT_FALSE(run.IsTimeUp(kStart + 1'000'000));
    EXPECT_EQ(run.TimeUsedText(m_language, kStart + 125), "2 min 5 sec");
    EXPECT_EQ(run.TimeUsedText(m_language, kStart + 3725), "1 hour(s) 2 minutes 5 seconds");
    tavlix::Run holyWar = Started(RunMode::WorldCup, 40, 2400, false, true, 3);
    EXPECT_EQ(holyWar.RemainingText(kStart + 1), "00:39:59");
    EXPECT_EQ(holyWar.Report(m_language, kStart + 5000),
              "World Cup Score Report - Holy War Level\r\n\r\nRule: Advanced Rule (Addition, Subtraction, "
              "Multiplication, Division, Power and Root)\r\nValue Range: 1-13\r\nScores: 0/40\r\nTime: 40 min 0 sec");
}

TEST_F(RunTest, ARepeatedTrainingSubmissionCountsOnceAndKeepsTheLatestVerdict)
{
    tavlix::Run run = Started(RunMode::Training, 2);
    Answer(run, 0, 2);
    EXPECT_FALSE(run.AllAnswered());
    Answer(run, 0, 1, true);
    EXPECT_EQ(run.Status(0), 1u);
    EXPECT_FALSE(run.AllAnswered());
    EXPECT_FALSE(run.IsLocked(0));
    Answer(run, 1, 2);
    EXPECT_TRUE(run.AllAnswered());
    EXPECT_EQ(run.SavedAnswer(1), "answer 1");
}

TEST_F(RunTest, GamesLockAnsweredQuestions)
{
    tavlix::Run run = Started(RunMode::TrainingGame, 3);
    EXPECT_FALSE(run.IsLocked(1));
    Answer(run, 1, 2);
    EXPECT_TRUE(run.IsLocked(1));
    EXPECT_FALSE(run.IsLocked(0));
}

TEST_F(RunTest, NavigationNeitherWrapsNorLeavesTheList)
{
    tavlix::Run run = Started(RunMode::Training, 3);
    EXPECT_FALSE(run.CanGoPrevious());
    EXPECT_TRUE(run.CanGoNext());
    run.SetIndex(2);
    EXPECT_TRUE(run.CanGoPrevious());
    EXPECT_FALSE(run.CanGoNext());
    run.Reset();
    EXPECT_FALSE(run.IsActive());
    EXPECT_FALSE(run.CanGoPrevious());
    EXPECT_FALSE(run.CanGoNext());
}

TEST_F(RunTest, CaptionAndStatusLine)
{
    tavlix::Run free;
    EXPECT_EQ(free.Caption(m_language), "Tavlix");
    EXPECT_EQ(free.StatusLine(m_language), "");

    tavlix::Run cup = Started(RunMode::WorldCup, 40, 2400, true, true, 2);
    for (std::size_t i = 0; i < 5; ++i)
        Answer(cup, i, i < 3 ? 1 : 2);
    cup.SetIndex(4);
    EXPECT_EQ(cup.Caption(m_language), "Tavlix - World Cup (Hero Level) 5/40");
    EXPECT_EQ(cup.StatusLine(m_language), "Correct: 3  Incorrect: 2  Not Answered: 35");
    EXPECT_EQ(cup.Score(), 3u);

    tavlix::Run training = Started(RunMode::Training, 7, -1, false, false, 4);
    training.SetIndex(2);
    EXPECT_EQ(training.Caption(m_language), "Tavlix - Training (Wizard Level - Ultimate) 3/7");
}

TEST_F(RunTest, RunNotesFillEveryMark)
{
    const tavlix::Run training = Started(RunMode::Training, 12, -1, true, false, 2);
    const std::string note = training.RunNote(m_language);
    EXPECT_TRUE(note.starts_with("\t\t\tTraining Rules\r\n\r\nNumber of Questions: 12\r\nRule: Standard Rule"));
    EXPECT_NE(note.find("Value Range: 1-10\r\nDifficulty Level: Intermediate"), std::string::npos);

    const tavlix::Run untimed = Started(RunMode::TrainingGame, 5);
    EXPECT_NE(untimed.RunNote(m_language).find("Time Limit: None"), std::string::npos);
    const tavlix::Run timed = Started(RunMode::TrainingGame, 5, 1800, true, true, 3);
    EXPECT_NE(timed.RunNote(m_language).find("Time Limit: 30 minutes"), std::string::npos);
    const tavlix::Run cup = Started(RunMode::WorldCup, 40, 2400, false, false, 2);
    EXPECT_TRUE(cup.RunNote(m_language).starts_with("\t\t\tWorld Cup Rules - Wizard Level\r\n"));

    for (const tavlix::Run* run : {&training, &untimed, &timed, &cup}) {
        const std::string text = run->RunNote(m_language);
        for (const char* mark : {"#1", "#2", "#3", "#4", "#5", "#6", "%1"})
            EXPECT_EQ(text.find(mark), std::string::npos) << mark << " in " << text;
    }
    EXPECT_EQ(training.RunNameInText(m_language), "training");
    EXPECT_EQ(untimed.RunNameInText(m_language), "training game");
    EXPECT_EQ(cup.RunNameInText(m_language), "World Cup");
}

}  // namespace
}  // namespace tavlix
