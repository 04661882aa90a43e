#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"

namespace tavlix {
namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = cli::Run(args, out, err);
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

TEST(CliTest, BadArgumentsAreUsageErrors)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"frobnicate"}, {"solve", "1", "2", "3"},
          {"solve", "--max", "12", "1", "2", "3", "4"}, {"solve", "--max"},
          {"solve", "--bogus", "1", "2", "3", "4"}, {"valid", "1", "2", "3", "4"},
          {"normal", "--max", "10", "1", "2", "3", "4", "1*2*3*4"},
          {"valid", "--all", "1", "2", "3", "4", "x"}}) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 2) << ::testing::PrintToString(args);
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(CliTest, EveryCommandHasHelp)
{
    for (const char* command : {"solve", "valid", "normal"}) {
        const Result r = RunCli({command, "--help"});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out.rfind("Usage: tavlix-cli " + std::string(command), 0), 0u) << command;
    }
    EXPECT_EQ(RunCli({"--help"}).code, 0);
}

}  // namespace
}  // namespace tavlix
