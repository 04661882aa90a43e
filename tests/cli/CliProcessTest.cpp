#include <gtest/gtest.h>

#include <algorithm>

#include "ProcessRunner.h"
#include "completelist/CompleteListGenerator.h"
#include "i18n/LanguageState.h"

namespace tavlix {
namespace {

using testing::ProcessResult;
using testing::ProcessRunner;
namespace fs = std::filesystem;

// tavlix-cli started as a script starts it: what reaches the exit code, the standard
// output and the standard error of the real process.
class CliProcessTest : public ::testing::Test {
protected:
    ProcessResult Cli(std::vector<std::string> args, const std::string& input = {})
    {
        args.insert(args.begin(), "tavlix-cli");
        return m_runner.Run(TAVLIX_CLI, args, input);
    }

    ProcessRunner m_runner;
};

TEST_F(CliProcessTest, ResultsExitWithZero)
{
    ProcessResult r = Cli({"solve", "3", "3", "8", "8"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "8/(3-8/3)\n");
    EXPECT_EQ(r.err, "");

    r = Cli({"check", "3", "3", "8", "8"}, "8/(3-8/3)\r\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Bingo!\noutcome: 1 status: 0\n") << "answers come from standard input";
    EXPECT_EQ(r.err, "");

    r = Cli({"solve", "--all", "--max", "10"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 715)
        << "every line of a long output arrives";
    EXPECT_TRUE(r.out.ends_with("\n10 10 10 10\t0\n"));
}

TEST_F(CliProcessTest, AnIncorrectLineExitsWithOne)
{
    const ProcessResult r = Cli({"normal", "1", "2", "3", "4", "1+2+3+4"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "incorrect\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliProcessTest, UsageErrorsExitWithTwoAndExplainOnStandardError)
{
    const std::string mainHelp = Cli({"--help"}).out;
    ASSERT_EQ(mainHelp.rfind("Usage: tavlix-cli COMMAND [OPTIONS] ...\n", 0), 0u);
    const std::string solveHelp = Cli({"solve", "--help"}).out;
    ASSERT_EQ(solveHelp.rfind("Usage: tavlix-cli solve ", 0), 0u);
    const std::string missing = (m_runner.Home() / "missing.txt").string();

    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {"no command", {}, mainHelp},
        {"unknown command", {"frobnicate"},
         "tavlix-cli: unknown command 'frobnicate'\n" + mainHelp},
        {"too few numbers", {"solve", "1", "2", "3"},
         "tavlix-cli solve: solve takes 4 arguments, 3 given\n\n" + solveHelp},
        {"bad option value", {"solve", "--max", "12", "1", "2", "3", "4"},
         "tavlix-cli solve: --max takes 10 or 13\n\n" + solveHelp},
        {"invalid question", {"solve", "--max", "10", "11", "1", "1", "1"},
         "The question is not valid! A valid question is comprised of 4 positive integers "
         "ranging between 1-10.\n"},
        {"unreadable answer file", {"check", "3", "3", "8", "8", missing},
         "tavlix-cli check: cannot read '" + missing + "'\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

// Each command refuses the options of the others, and each option that takes a word refuses
// a missing or a wrong one: exit code 2, the reason, then the command's help.
TEST_F(CliProcessTest, OptionsACommandDoesNotTakeAndBadOptionWordsAreRefused)
{
    const struct {
        std::vector<std::string> args;
        std::string reason;
    } cases[] = {
        {{"solve", "--lang", "en", "1", "2", "3", "4"}, "solve does not take --lang"},
        {{"valid", "--json", "1", "2", "3", "4", "x"}, "valid does not take --json"},
        {{"normal", "--max", "10", "1", "2", "3", "4", "1*2*3*4"}, "normal does not take --max"},
        {{"check", "--all", "1", "2", "3", "4"}, "check does not take --all"},
        {{"solutions", "1", "2", "3", "4", "--step", "2"}, "solutions does not take --step"},
        {{"list", "--count", "3"}, "list does not take --count"},
        {{"questions", "--format", "json"}, "questions does not take --format"},
        {{"hint", "--bogus", "1", "2", "3", "4"}, "hint does not take --bogus"},
        {{"stats", "--file", "history.sqlite3", "--advanced"}, "stats does not take --advanced"},
        {{"techniques", "--lang", "en", "1", "2", "3", "4"}, "techniques does not take --lang"},
        {{"why", "--max", "10", "1", "2", "3", "4", "1*2*3*4", "4*3*2*1"}, "why does not take --max"},
        {{"solve", "1", "2", "3", "4", "--max"}, "--max takes 10 or 13"},
        {{"check", "--level", "0", "1", "2", "3", "4"}, "--level takes 1, 2, 3 or 4"},
        {{"check", "1", "2", "3", "4", "--mode"}, "--mode takes free, training, training-game or world-cup"},
        {{"check", "--status", "-1", "1", "2", "3", "4"}, "--status takes 0, 1 or 2"},
        {{"solutions", "--lang", "EN", "1", "2", "3", "4"}, "--lang takes en, zh-CN or zh-TW"},
        {{"list", "--kind"}, "--kind takes all, solvable or unsolvable"},
        {{"list", "--format", "xml"}, "--format takes html, text or json"},
        {{"questions", "--order", "--available"}, "--order takes random, ascending or descending"},
        {{"questions", "--count", "+5"}, "--count takes a whole number from 1 to 500"},
        {{"questions", "--seed"}, "--seed takes a whole number from 0 to 4294967295"},
        {{"questions", "--from", "1", "1", "2"}, "--from takes four numbers"},
        {{"questions", "--available", "--to", "1", "1", "2"}, "--to takes four numbers"},
        {{"hint", "--step", "1.5", "1", "2", "3", "4"}, "--step takes 1, 2 or 3"},
        {{"stats", "--file", ""}, "--file takes the path of a history file"},
        {{"stats", "--file", "history.sqlite3", "--now", "-1"}, "--now takes the seconds since 1970"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.reason;
        EXPECT_EQ(r.out, "") << c.reason;
        EXPECT_EQ(r.err, "tavlix-cli " + c.args[0] + ": " + c.reason + "\n\n" + Cli({c.args[0], "--help"}).out);
    }
}

// The page on standard output is the page the desktop program writes: the template that
// lies beside tavlix-cli, filled by the same generator.
TEST_F(CliProcessTest, ListWritesThePageOfTheTemplateBesideIt)
{
    const ProcessResult r = Cli({"list", "--advanced", "--kind", "unsolvable", "--format", "html", "--lang", "zh-TW"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    LanguageState language;
    language.InitLanguage(Edition::Standard, kLcidTraditionalChinese);
    CompleteListGenerator list({false, true, false, true});
    list.Run();
    const auto pageTemplate = ReadCompleteListTemplate(CompleteListTemplatePath(TAVLIX_DATA_DIR, kLcidTraditionalChinese));
    ASSERT_TRUE(pageTemplate);
    EXPECT_EQ(r.out, list.FillTemplate(*pageTemplate, language));
    EXPECT_NE(r.out.find("<title>聖戰級 - 24點所有解法的完整列表 - Tavlix</title>"), std::string::npos);
}

TEST_F(CliProcessTest, ListWithoutItsTemplateSaysSoAndExitsWithOne)
{
    const fs::path alone = m_runner.Home() / "bin" / "tavlix-cli";
    fs::create_directories(alone.parent_path());
    fs::copy_file(TAVLIX_CLI, alone);
    ProcessResult r = m_runner.Run(alone.string(), {"tavlix-cli", "list", "--format", "html"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Template file \"" + (alone.parent_path() / "doc/english/grandlist.htm").string() +
                         "\" was not found. Please reinstall the program.\n");
    r = m_runner.Run(alone.string(), {"tavlix-cli", "list", "--max", "10", "--format", "json"});
    EXPECT_EQ(r.exitCode, 0) << "the other formats need no template";
}

// A hint as a script asks for it: the answers given so far on standard input.
TEST_F(CliProcessTest, HintExitsWithZeroAndBadStepsWithTwo)
{
    ProcessResult r = Cli({"hint", "--step", "2", "1", "2", "3", "4"}, "(3+2+1)*4\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Hint 2 of 3: start with 1+3.\n");
    EXPECT_EQ(r.err, "");

    r = Cli({"hint", "--step", "5", "1", "2", "3", "4"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "tavlix-cli hint: --step takes 1, 2 or 3\n\n" + Cli({"hint", "--help"}).out);
}

}  // namespace
}  // namespace tavlix
