#include <gtest/gtest.h>

#include "HistoryTestSupport.h"
#include "history/HistoryExport.h"

namespace tavlix {
namespace {

using namespace tavlix::testing;

TEST(HistoryExportTest, WritesAHeaderAndOneRowPerAnswer)
{
    AnswerRecord game = Answer(kDec8 + 9 * 3600 + 56 * 60 + 32, "1 3 8 8", AnswerVerdict::Rejected, 12345, true);
    game.standardRule = false;
    game.jqk = true;
    game.mode = RunMode::WorldCup;
    game.level = 4;
    const std::vector<AnswerRecord> records = {Answer(-1, "10 10 12 13", AnswerVerdict::Incorrect, 0), game};
    EXPECT_EQ(HistoryToCsv(records),
              "answered_at,question,rule,jqk,mode,level,milliseconds,verdict,hint\r\n"
              "1969-12-31T23:59:59Z,10 10 12 13,standard,0,free,1,0,incorrect,0\r\n"
              "2026-12-08T09:56:32Z,1 3 8 8,nonstandard,1,world_cup,4,12345,rejected,1\r\n");
    EXPECT_EQ(HistoryToCsv({}), "answered_at,question,rule,jqk,mode,level,milliseconds,verdict,hint\r\n");
}

TEST(HistoryExportTest, QuotesFieldsAsRfc4180Asks)
{
    const std::vector<AnswerRecord> records = {Answer(0, "a,\"b\"\r\nc")};
    const std::string csv = HistoryToCsv(records);
    EXPECT_NE(csv.find("\r\n1970-01-01T00:00:00Z,\"a,\"\"b\"\"\r\nc\",standard,"), std::string::npos) << csv;
}

}  // namespace
}  // namespace tavlix
