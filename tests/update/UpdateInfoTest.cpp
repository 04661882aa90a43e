#include <gtest/gtest.h>

#include "update/UpdateInfo.h"

namespace tavlix {
namespace {

using std::chrono::year;

TEST(UpdateInfoTest, KeysOfAnyCaseCommentsAndTheLaterLine)
{
    for (const std::string end : {"\r\n", "\n"}) {
        const UpdateInfo info =
            ParseUpdateInfo("; Version = 0.1" + end + "VERSION=1.5" + end + "version  ==  1.6" + end +
                            "  Build = 2013-1-5  " + end + "url=https://u.test/setup16.exe" + end +
                            "SHA256 = 0123abcd" + end + "Notes = ignored");
        EXPECT_EQ(info.version, "1.6");
        EXPECT_EQ(info.build, "2013-1-5");
        EXPECT_EQ(info.url, "https://u.test/setup16.exe");
        EXPECT_EQ(info.sha256, "0123abcd");
    }
    EXPECT_EQ(ParseUpdateInfo("URL = https://u.test/a.exe\nURL").url, "") << "a bare key, and the later line";
    const UpdateInfo marked = ParseUpdateInfo("\xEF\xBB\xBFVersion = 1.6\r\n\xEF\xBB\xBF Build = 2013-1-5");
    EXPECT_EQ(marked.version + "," + marked.build, "1.6,2013-1-5") << "byte-order marks before lines";
}

struct DateCase {
    const char* text;
    std::optional<std::chrono::year_month_day> date;
};

class BuildDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(BuildDateTest, Parses) { EXPECT_EQ(ParseBuildDate(GetParam().text), GetParam().date) << GetParam().text; }

INSTANTIATE_TEST_SUITE_P(Dates, BuildDateTest,
                         ::testing::Values(DateCase{"2013-1-5", year(2013) / 1 / 5},
                                           DateCase{"13-01-05", year(2013) / 1 / 5},
                                           DateCase{" 2013 - 01 - 05 ", year(2013) / 1 / 5},
                                           DateCase{"2013--1--5", year(2013) / 1 / 5},
                                           DateCase{"2012-2-29", year(2012) / 2 / 29}, DateCase{"2013-13-01", {}},
                                           DateCase{"2013-2-29", {}}, DateCase{"2013-0-10", {}},
                                           DateCase{"213-1-5", {}}, DateCase{"2013-001-5", {}},
                                           DateCase{"2013-1", {}}, DateCase{"2013-1-5-1", {}},
                                           DateCase{"2013-+1-5", {}}, DateCase{"2013/1/5", {}}));

}  // namespace
}  // namespace tavlix
