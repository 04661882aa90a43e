#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "cli/Cli.h"
#include "history/SqliteHistoryStore.h"

namespace tavlix {
namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> args, const std::string& input = {})
{
    std::ostringstream out, err;
    std::istringstream in(input);
    const int code = cli::Run(args, in, out, err);
    return {code, out.str(), err.str()};
}

TEST(CliTest, SolveListsSolutionsOnePerLine)
{
    const Result r = RunCli({"solve", "3", "3", "8", "8"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "8/(3-8/3)\n");
    EXPECT_EQ(RunCli({"solve", "4", "3", "2", "1"}).out, "4*(1+2+3)\n(1+3)*(2+4)\n1*2*3*4\n");
    EXPECT_EQ(RunCli({"solve", "1", "1", "1", "1"}).out, "");
}

TEST(CliTest, SolveRuleAndMaximum)
{
    const std::string advanced = RunCli({"solve", "--advanced", "2", "4", "8", "9"}).out;
    EXPECT_NE(advanced.find("^"), std::string::npos);
    EXPECT_EQ(RunCli({"solve", "2", "4", "8", "9"}).out.find("^"), std::string::npos);

    const Result invalid = RunCli({"solve", "--max", "10", "11", "1", "1", "1"});
    EXPECT_EQ(invalid.code, 2);
    EXPECT_EQ(invalid.out, "");
    EXPECT_EQ(invalid.err,
              "The question is not valid! A valid question is comprised of 4 positive integers "
              "ranging between 1-10.\n");
    EXPECT_EQ(RunCli({"solve", "03", "3", "8", "8"}).code, 2);
}

TEST(CliTest, SolveAllWritesEveryQuestionOfTheRange)
{
    const Result r = RunCli({"solve", "--all", "--max", "10"});
    ASSERT_EQ(r.code, 0);
    std::istringstream lines(r.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line))
        ++count;
    EXPECT_EQ(count, 715);
    EXPECT_EQ(r.out.substr(0, 10), "1 1 1 1\t0\n");
    EXPECT_NE(r.out.find("\n1 2 3 4\t3\t4*(1+2+3)\t(1+3)*(2+4)\t1*2*3*4\n"), std::string::npos);
}

TEST(CliTest, JsonCarriesTheSameData)
{
    EXPECT_EQ(RunCli({"solve", "--json", "3", "3", "8", "8"}).out,
              "{\"question\":\"3 3 8 8\",\"rule\":\"standard\",\"maximum\":13,"
              "\"solutions\":[\"8/(3-8/3)\"]}\n");
    const std::string all = RunCli({"solve", "--all", "--json", "--max", "10", "--advanced"}).out;
    EXPECT_EQ(all.rfind("{\"rule\":\"advanced\",\"maximum\":10,\"questions\":[\n{", 0), 0u);
    EXPECT_NE(all.find("{\"question\":\"1 1 1 1\",\"solutions\":[]}"), std::string::npos);
}

TEST(CliTest, ValidJudgesALine)
{
    EXPECT_EQ(RunCli({"valid", "1", "2", "3", "4", "(1+3)*(2+4)"}).out, "correct\n");
    EXPECT_EQ(RunCli({"valid", "1", "2", "3", "4", "1 2+3*4"}).out, "incorrect\n");
    EXPECT_EQ(RunCli({"valid", "1", "2", "3", "4", "(1+3)x(2+4)"}).out, "correct\n");
    EXPECT_EQ(RunCli({"valid", "2", "4", "8", "9", "8*9^^(4^^2)"}).out, "incorrect\n");
    EXPECT_EQ(RunCli({"valid", "--advanced", "2", "4", "8", "9", "8*9^^(4^^2)"}).out, "correct\n");
}

TEST(CliTest, NormalPrintsNormalAndSubNormalAnswers)
{
    EXPECT_EQ(RunCli({"normal", "1", "2", "3", "4", "(4+2)*(3+1)"}).out, "(1+3)*(2+4)\n(1+3)*(2+4)\n");
    EXPECT_EQ(RunCli({"normal", "1", "2", "3", "4", "2*3*4/1"}).out, "1*2*3*4\n2*3*4/1\n");
    const Result wrong = RunCli({"normal", "1", "2", "3", "4", "1+2+3+4"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_EQ(wrong.out, "incorrect\n");
}

TEST(CliTest, CheckJudgesAnswersFromStandardInput)
{
    Result r = RunCli({"check", "1", "2", "3", "4"}, "(1+3)*(2+4)\n(4+2)*(3+1)\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Good!\n\nThe following answer is correct:\n    1: (1+3)*(2+4)\n"
                     "The following answer is repetitive:\n    2: (4+2)*(3+1) (same as 1)\n"
                     "outcome: 1 status: 0\n");
    r = RunCli({"check", "--lang", "zh-TW", "3", "3", "8", "8"}, "8/(3-8/3)\r\n");
    EXPECT_EQ(r.out, "答對了！\noutcome: 1 status: 0\n");
    r = RunCli({"check", "--mode", "world-cup", "--status", "0", "3", "3", "8", "8"}, "3*8+8-3");
    EXPECT_EQ(r.out, "You lost!\noutcome: 2 status: 2\n");
    r = RunCli({"check", "--mode", "world-cup", "--status", "1", "3", "3", "8", "8"}, "3*8+8-3");
    EXPECT_EQ(r.out, "outcome: 0 status: 1\n") << "a recorded question is not judged again";
    r = RunCli({"check", "--no-solution", "--advanced", "--max", "10", "1", "1", "1", "1"});
    EXPECT_EQ(r.out, "Bingo! There is really no solution for this question!\noutcome: 1 status: 0\n");
    r = RunCli({"check", "--level", "3", "--mode", "training", "1", "1", "2", "12"}, "1*1*2*12\n");
    EXPECT_EQ(r.out.substr(0, 61), "You haven't provided enough number of solutions as required.\n");
}

TEST(CliTest, CheckReadsAFile)
{
    const std::string path = ::testing::TempDir() + "tavlix-cli-answers.txt";
    {
        std::ofstream file(path, std::ios::binary);
        file << "8/(3-8/3)\r\n";
    }
    EXPECT_EQ(RunCli({"check", "3", "3", "8", "8", path}).out, "Bingo!\noutcome: 1 status: 0\n");
    std::remove(path.c_str());
    const Result missing = RunCli({"check", "3", "3", "8", "8", path});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

TEST(CliTest, SolutionsListsAsTheProgramShowsThem)
{
    EXPECT_EQ(RunCli({"solutions", "4", "3", "2", "1"}).out,
              "A1: 4*(1+2+3)\nA2: (1+3)*(2+4)\nA3: 1*2*3*4\n");
    EXPECT_EQ(RunCli({"solutions", "--lang", "zh-CN", "1", "1", "1", "1"}).out, "无解。\n");
    EXPECT_EQ(RunCli({"solutions", "--lang", "zh-TW", "3", "3", "8", "8"}).out, "解1: 8/(3-8/3)\n");
    EXPECT_EQ(RunCli({"solutions", "1", "1", "1", "1"}).out, "There is no solution.\n");
}

TEST(CliTest, BadArgumentsAreUsageErrors)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"frobnicate"}, {"solve", "1", "2", "3"},
          {"solve", "--max", "12", "1", "2", "3", "4"}, {"solve", "--max"},
          {"solve", "--bogus", "1", "2", "3", "4"}, {"valid", "1", "2", "3", "4"},
          {"normal", "--max", "10", "1", "2", "3", "4", "1*2*3*4"},
          {"valid", "--all", "1", "2", "3", "4", "x"}, {"check", "--level", "5", "1", "2", "3", "4"},
          {"check", "--mode", "tournament", "1", "2", "3", "4"}, {"check", "--status", "3", "1", "2", "3", "4"},
          {"check", "--lang", "fr", "1", "2", "3", "4"}, {"solutions", "--mode", "free", "1", "2", "3", "4"},
          {"check", "1", "2", "3", "4", "a", "b"}}) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 2) << ::testing::PrintToString(args);
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(CliTest, EveryCommandHasHelp)
{
    for (const char* command : {"solve", "valid", "normal", "check", "solutions", "techniques", "why"}) {
        const Result r = RunCli({command, "--help"});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out.rfind("Usage: tavlix-cli " + std::string(command), 0), 0u) << command;
    }
    EXPECT_EQ(RunCli({"--help"}).code, 0);
}

// What scripts rely on: --help wins over anything else on the line, the last of a repeated
// option counts, and a word with one dash is an operand, as an answer line can be.
TEST(CliTest, CommandLineConventions)
{
    EXPECT_EQ(RunCli({"check", "--level", "5", "--help", "--mode"}).out, RunCli({"check", "--help"}).out);
    EXPECT_EQ(RunCli({"solve", "--max", "10", "--max", "13", "11", "1", "1", "1"}).code, 0) << "1..13";
    const Result dash = RunCli({"valid", "1", "2", "3", "4", "-(1-3)*12"});
    EXPECT_EQ(dash.code, 0);
    EXPECT_EQ(dash.out, "incorrect\n");
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(CliTest, ListWritesOneQuestionALineWithItsNumberedSolutions)
{
    const std::vector<std::string> all = Lines(RunCli({"list", "--max", "10"}).out);
    ASSERT_EQ(all.size(), 715u);
    EXPECT_EQ(all[0], "Q1: 1 1 1 1");
    EXPECT_EQ(all[7], "Q8: 1 1 1 8\tA1: 8*(1+1+1)");
    EXPECT_EQ(all[714], "Q715: 10 10 10 10");
    const std::vector<std::string> unsolvable = Lines(RunCli({"list", "--max", "10", "--kind", "unsolvable"}).out);
    EXPECT_EQ(unsolvable[7], "Q8: 1 1 1 9");
    EXPECT_EQ(Lines(RunCli({"list", "--advanced", "--kind", "solvable", "--lang", "zh-TW"}).out)[1],
              "題2: 1 1 1 8\t解1: 8*(1+1+1)");
}

TEST(CliTest, ListAsJsonCarriesQuestionNumberAndSolutions)
{
    const Result r = RunCli({"list", "--max", "10", "--kind", "solvable", "--format", "json"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.starts_with("[\n{\"question\":\"1 1 1 8\",\"number\":1,\"solutions\":[\"8*(1+1+1)\"],\"needs\":[]},\n"
                                  "{\"question\":\"1 1 2 6\",\"number\":2,\"solutions\":[\"6*(1+1+2)\",\"2*6*(1+1)\"],"
                                  "\"needs\":[]},\n"));
    EXPECT_TRUE(r.out.ends_with("},\n{\"question\":\"8 8 8 10\",\"number\":566,\"solutions\":[\"8+8*(10-8)\"],"
                                "\"needs\":[\"subtraction\"]}\n]\n"));
    const std::string all = RunCli({"list", "--max", "10", "--format", "json"}).out;
    EXPECT_TRUE(all.starts_with("[\n{\"question\":\"1 1 1 1\",\"number\":1,\"solutions\":[],\"needs\":null},\n"));
    EXPECT_NE(all.find(",\"solutions\":[\"8/(3-8/3)\"],\"needs\":[\"fraction\",\"division\",\"subtraction\"]},"),
              std::string::npos);
}

TEST(CliTest, TechniquesSaysWhatAQuestionNeeds)
{
    EXPECT_EQ(RunCli({"techniques", "8", "3", "8", "3"}).out, "fraction\ndivision\nsubtraction\n");
    EXPECT_EQ(RunCli({"techniques", "--advanced", "1", "2", "3", "4"}).out, "plain\n");
    EXPECT_EQ(RunCli({"techniques", "1", "1", "1", "1"}).out, "no solution\n");
    EXPECT_EQ(RunCli({"techniques", "--json", "--advanced", "--max", "10", "4", "4", "10", "10"}).out,
              "{\"question\":\"4 4 10 10\",\"rule\":\"advanced\",\"maximum\":10,"
              "\"needs\":[\"large\",\"overshoot\",\"division\",\"subtraction\"]}\n");
    EXPECT_EQ(RunCli({"techniques", "--max", "10", "11", "1", "1", "1"}).code, 2);

    const std::vector<std::string> lines = Lines(RunCli({"techniques", "--all", "--max", "10"}).out);
    ASSERT_EQ(lines.size(), 715u);
    EXPECT_EQ(lines[0], "1 1 1 1\tno solution");
    EXPECT_NE(std::ranges::find(lines, "3 3 8 8\tfraction division subtraction"), lines.end());
    const std::string json = RunCli({"techniques", "--all", "--json"}).out;
    EXPECT_TRUE(json.starts_with("{\"rule\":\"standard\",\"maximum\":13,\"questions\":[\n"
                                 "{\"question\":\"1 1 1 1\",\"needs\":null},\n"));
    EXPECT_NE(json.find("\n{\"question\":\"1 2 3 4\",\"needs\":[]},\n"), std::string::npos);
    EXPECT_TRUE(json.ends_with("\n{\"question\":\"13 13 13 13\",\"needs\":null}\n]}\n"));
    EXPECT_EQ(Lines(json).size(), 1822u);
}

TEST(CliTest, WhyTellsWhetherTwoLinesAreOneSolution)
{
    EXPECT_EQ(RunCli({"why", "1", "2", "3", "4", "(1+3)*(2+4)", "(4+2)*(3+1)"}).out,
              "same\nnormal answer: (1+3)*(2+4)\nsub-normal answer: (1+3)*(2+4)\n");
    EXPECT_EQ(RunCli({"why", "2", "3", "4", "6", "4*6/(3-2)", "4*6*(3-2)"}).out,
              "similar\nnormal answer: 4*6*(3-2)\nsub-normal answers: 4*6/(3-2) and 4*6*(3-2)\n"
              "A group worth 1 used as a divisor, an exponent or a root index counts as a factor 1.\n");
    EXPECT_EQ(RunCli({"why", "--advanced", "1", "2", "3", "6", "(1-3)^2*6", "6*(3-1)^2"}).code, 0);
    EXPECT_EQ(RunCli({"why", "1", "2", "3", "4", "4*(1+2+3)", "1*2*3*4"}).out,
              "different solutions\nnormal answers: 4*(1+2+3) and 1*2*3*4\n");
    const Result wrong = RunCli({"why", "1", "2", "3", "4", "1*2*3*4", "2^3*3"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_EQ(wrong.out, "line 2 is incorrect\n");
    EXPECT_EQ(RunCli({"why", "1", "2", "3", "4", "1*2*3*4"}).code, 2);
}

TEST(CliTest, ListUsageErrors)
{
    const std::string help = RunCli({"list", "--help"}).out;
    ASSERT_EQ(help.rfind("Usage: tavlix-cli list [--advanced] [--max 10|13] [--kind all|solvable|unsolvable]\n", 0), 0u);
    EXPECT_NE(RunCli({"--help"}).out.find("\n  list "), std::string::npos);
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"list", "--kind", "some"}, "--kind takes all, solvable or unsolvable"},
        {{"list", "--format"}, "--format takes html, text or json"},
        {{"list", "--json"}, "list does not take --json"},
        {{"list", "1", "2", "3", "4"}, "list takes 0 arguments, 4 given"},
        {{"solve", "--kind", "all", "1", "2", "3", "4"}, "solve does not take --kind"},
    };
    for (const auto& c : cases) {
        const Result r = RunCli(c.args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_EQ(r.err, "tavlix-cli " + c.args[0] + ": " + c.message + "\n\n" + RunCli({c.args[0], "--help"}).out);
    }
}

TEST(CliTest, QuestionsCountsWhatAPlanMakesAvailable)
{
    const struct {
        std::vector<std::string> args;
        std::string count;
    } cases[] = {
        {{}, "1820\n"},
        {{"--max", "10"}, "715\n"},
        {{"--max", "10", "--kind", "solvable"}, "566\n"},
        {{"--max", "10", "--kind", "unsolvable"}, "149\n"},
        {{"--advanced", "--kind", "unsolvable"}, "390\n"},
        {{"--from", "5", "5", "5", "5", "--to", "5", "5", "5", "5"}, "1\n"},
        {{"--max", "10", "--to", "1", "1", "1", "9", "--kind", "solvable"}, "1\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"questions", "--available"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, c.count) << ::testing::PrintToString(args);
    }
}

TEST(CliTest, QuestionsInSequence)
{
    EXPECT_EQ(RunCli({"questions", "--order", "ascending", "--count", "3"}).out, "1 1 1 1\n1 1 1 2\n1 1 1 3\n");
    const std::vector<std::string> greatest =
        Lines(RunCli({"questions", "--max", "10", "--order", "descending", "--count", "100"}).out);
    ASSERT_EQ(greatest.size(), 100u);
    EXPECT_EQ(greatest[0], "10 10 10 10");
    EXPECT_EQ(greatest[1], "9 10 10 10");
    EXPECT_EQ(RunCli({"questions", "--max", "10", "--from", "1", "1", "9", "10", "--to", "1", "2", "2", "3", "--order",
                      "descending"})
                  .out,
              "1 2 2 3\n1 2 2 2\n1 1 10 10\n1 1 9 10\n");
    EXPECT_EQ(RunCli({"questions", "--from", "5", "5", "5", "5", "--to", "5", "5", "5", "5"}).out, "5 5 5 5\n");
}

TEST(CliTest, QuestionsAtRandomRepeatForTheSameSeed)
{
    const Result first = RunCli({"questions", "--seed", "1700000000"});
    EXPECT_EQ(first.code, 0);
    const std::vector<std::string> lines = Lines(first.out);
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 40u);
    EXPECT_EQ(RunCli({"questions", "--seed", "1700000000"}).out, first.out);
    EXPECT_NE(RunCli({"questions", "--seed", "1700000001"}).out, first.out);
    EXPECT_EQ(Lines(RunCli({"questions", "--seed", "0", "--count", "500"}).out).size(), 500u);
}

TEST(CliTest, QuestionsUsageErrors)
{
    const std::string help = RunCli({"questions", "--help"}).out;
    ASSERT_EQ(help.rfind("Usage: tavlix-cli questions [--advanced] [--max 10|13] [--from A B C D] [--to A B C D]\n", 0),
              0u);
    EXPECT_NE(RunCli({"--help"}).out.find("\n  questions "), std::string::npos);

    const struct {
        std::vector<std::string> args;
        std::string message;
    } badOptions[] = {
        {{"--count", "0"}, "--count takes a whole number from 1 to 500"},
        {{"--count", "501"}, "--count takes a whole number from 1 to 500"},
        {{"--count", "ten"}, "--count takes a whole number from 1 to 500"},
        {{"--seed", "-1"}, "--seed takes a whole number from 0 to 4294967295"},
        {{"--seed", "4294967296"}, "--seed takes a whole number from 0 to 4294967295"},
        {{"--order", "sideways"}, "--order takes random, ascending or descending"},
        {{"--kind", "some"}, "--kind takes all, solvable or unsolvable"},
        {{"--from", "1", "2", "3"}, "--from takes four numbers"},
        {{"--lang", "en"}, "questions does not take --lang"},
        {{"1", "2", "3", "4"}, "questions takes 0 arguments, 4 given"},
    };
    for (const auto& c : badOptions) {
        std::vector<std::string> args = {"questions"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "tavlix-cli questions: " + c.message + "\n\n" + help);
    }

    const struct {
        std::vector<std::string> args;
        std::string message;
    } badPlans[] = {
        {{"--from", "5", "3", "5", "5"},
         "--from 5 3 5 5 is not a configuration of 1..13 (four numbers, none below the one before it)"},
        {{"--max", "10", "--to", "1", "1", "1", "11"},
         "--to 1 1 1 11 is not a configuration of 1..10 (four numbers, none below the one before it)"},
        {{"--to", "0", "1", "1", "1"},
         "--to 0 1 1 1 is not a configuration of 1..13 (four numbers, none below the one before it)"},
        {{"--from", "6", "6", "6", "6", "--to", "5", "9", "9", "9"}, "--from 6 6 6 6 comes after --to 5 9 9 9"},
        {{"--order", "ascending", "--seed", "3"}, "--seed applies to --order random only"},
    };
    for (const auto& c : badPlans) {
        std::vector<std::string> args = {"questions"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "tavlix-cli questions: " + c.message + "\n");
    }
}

TEST(CliTest, HintGivesTheStepAskedFor)
{
    EXPECT_EQ(RunCli({"hint", "3", "3", "8", "8"}).out,
              "Hint 1 of 3: the question has one solution under Standard Rule.\n"
              "This question needs a fraction on the way, a division and a subtraction.\n");
    EXPECT_EQ(RunCli({"hint", "--step", "2", "3", "3", "8", "8"}).out, "Hint 2 of 3: start with 8/3.\n");
    const Result r = RunCli({"hint", "--advanced", "--step", "3", "2", "4", "8", "9"}, "(9-4-2)*8\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Hint 3 of 3: a solution that your answers do not give yet is 8*9^^(4^^2)\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(RunCli({"hint", "--step", "3", "--max", "10", "1", "1", "1", "1"}).out,
              "Hint: the question has no solution under Standard Rule.\n");
    EXPECT_EQ(RunCli({"hint", "--lang", "zh-CN", "--step", "2", "4", "3", "2", "1"}, "4*(3+2+1)\r\n2*4*3*1\r\n").out,
              "提示（2/3）：先算 1+3。\n");
}

TEST(CliTest, HintReadsAFileAndRefusesBadInput)
{
    const std::string path = ::testing::TempDir() + "tavlix-cli-hint-answers.txt";
    {
        std::ofstream file(path, std::ios::binary);
        file << "8/(3-8/3)\n";
    }
    EXPECT_EQ(RunCli({"hint", "--step", "2", "3", "3", "8", "8", path}, "3*8\n").out,
              "Hint: the question has one solution under Standard Rule, and your answers already give it.\n");
    std::remove(path.c_str());
    EXPECT_EQ(RunCli({"hint", "3", "3", "8", "8", path}).err, "tavlix-cli hint: cannot read '" + path + "'\n");

    const std::string help = RunCli({"hint", "--help"}).out;
    ASSERT_EQ(help.rfind("Usage: tavlix-cli hint [--advanced] [--max 10|13] [--step 1|2|3]", 0), 0u);
    EXPECT_NE(RunCli({"--help"}).out.find("\n  hint "), std::string::npos);
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--step", "4", "3", "3", "8", "8"}, "tavlix-cli hint: --step takes 1, 2 or 3\n\n" + help},
        {{"3", "3", "8", "8", "--step"}, "tavlix-cli hint: --step takes 1, 2 or 3\n\n" + help},
        {{"--level", "2", "3", "3", "8", "8"}, "tavlix-cli hint: hint does not take --level\n\n" + help},
        {{"3", "3", "8"}, "tavlix-cli hint: hint takes 4 or 5 arguments, 3 given\n\n" + help},
        {{"--max", "10", "3", "3", "8", "12"}, "The question is not valid! A valid question is comprised of 4 "
                                               "positive integers ranging between 1-10.\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"hint"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 2) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

// The figures of a history file, as ComputeStatistics gives them.
TEST(CliTest, StatsReadsAHistoryFile)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "tavlix-cli-stats";
    std::filesystem::remove_all(folder);
    const std::filesystem::path file = folder / "history.sqlite3";
    const std::int64_t dec8 = 1796688000;
    {
        std::string error;
        auto store = SqliteHistoryStore::Open(file, error);
        ASSERT_TRUE(store) << error;
        const std::tuple<std::int64_t, const char*, AnswerVerdict> answers[] = {
            {dec8 - 86400 + 60, "3 3 8 8", AnswerVerdict::Correct}, {dec8 + 60, "3 3 8 8", AnswerVerdict::Incorrect},
            {dec8 + 120, "3 3 8 8", AnswerVerdict::Correct}, {dec8 + 180, "2 4 8 9", AnswerVerdict::Incorrect}};
        for (const auto& [at, question, verdict] : answers) {
            AnswerRecord r;
            r.answeredAt = at;
            r.question = question;
            r.verdict = verdict;
            r.millisecondsTaken = 8000;
            ASSERT_TRUE(store->Add(r, error)) << error;
        }
    }
    const std::string path = file.string();
    const Result json = RunCli({"stats", "--file", path, "--json", "--now", std::to_string(dec8 + 3600)});
    EXPECT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\"totalAnswers\":4,\"totalCorrect\":2,\"medianMilliseconds\":8000,\"totalHints\":0,\"streakDays\":2,"
              "\"days\":[{\"day\":\"2026-12-07\",\"answers\":1,\"correct\":1,\"medianMilliseconds\":8000,\"hints\":0},"
              "{\"day\":\"2026-12-08\",\"answers\":3,\"correct\":1,\"medianMilliseconds\":8000,\"hints\":0}],"
              "\"answersByRuleAndLevel\":[{\"standardRule\":true,\"level\":1,\"answers\":4}],\"due\":[],"
              "\"hardest\":[{\"question\":\"2 4 8 9\",\"standardRule\":true,\"jqk\":false,\"answers\":1,"
              "\"correct\":0,\"medianMilliseconds\":8000,\"hints\":0,\"cost\":4.000},"
              "{\"question\":\"3 3 8 8\",\"standardRule\":true,\"jqk\":false,\"answers\":3,"
              "\"correct\":2,\"medianMilliseconds\":8000,\"hints\":0,\"cost\":1.333}]}\n")
        << "a cost keeps three decimals";
    // Missed once, each question is due a day later; a good answer after the miss puts it
    // off three days.
    const Result later = RunCli({"stats", "--file", path, "--json", "--now", std::to_string(dec8 + 4 * 86400)});
    EXPECT_NE(later.out.find("\"due\":[{\"question\":\"2 4 8 9\",\"standardRule\":true,\"jqk\":false,\"dueAt\":" +
                             std::to_string(dec8 + 180 + 86400) + "},{\"question\":\"3 3 8 8\",\"standardRule\":true,"
                             "\"jqk\":false,\"dueAt\":" + std::to_string(dec8 + 120 + 3 * 86400) + "}]"),
              std::string::npos) << later.out;
    const Result text = RunCli({"stats", "--now", std::to_string(dec8 + 3600), "--file", path});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out.rfind("Answers: 4\nCorrect: 2 (50%)\nMedian time: 8.0 s\nAfter a hint: 0\n"
                             "Days practised: 2\nStreak: 2 days\n", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("  3 3 8 8  standard  1-10  answers 3  correct 2  median 8.0 s  hints 0  cost 1.333\n"),
              std::string::npos) << text.out;

    // Usage errors and refused files: exit code 2 with a reason, the file as it was and
    // nothing beside it.
    const std::filesystem::path other = folder / "notes.txt";
    std::ofstream(other) << "not a history\n";
    const std::filesystem::path foreign = folder / "foreign.sqlite3";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA journal_mode = WAL; CREATE TABLE notes (text TEXT); PRAGMA user_version = 7", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } refused[] = {
        {{"stats"}, "--file is required"},
        {{"stats", "--file"}, "--file takes the path of a history file"},
        {{"stats", "--file", path, "--now", "soon"}, "--now takes the seconds since 1970"},
        {{"stats", "--file", (folder / "missing.sqlite3").string()}, "no history file at"},
        {{"stats", "--file", other.string()}, "history-not-a-history-file"},
        {{"stats", "--file", foreign.string()}, "history-not-a-history-file: another program's database"},
        {{"stats", "--file", path, "extra"}, "stats takes 0 arguments, 1 given"},
    };
    for (const auto& c : refused) {
        const Result r = RunCli(c.args);
        EXPECT_EQ(r.code, 2) << c.reason;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.sqlite3"));
    EXPECT_FALSE(std::filesystem::exists(folder / "foreign.sqlite3-wal"));
    EXPECT_FALSE(std::filesystem::exists(folder / "foreign.sqlite3-shm"));
    std::ostringstream kept;
    kept << std::ifstream(other, std::ios::binary).rdbuf();
    EXPECT_EQ(kept.str(), "not a history\n");
    EXPECT_EQ(RunCli({"stats", "--help"}).out.rfind("Usage: tavlix-cli stats --file PATH", 0), 0u);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tavlix
