#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "diagnostics/DebugLog.h"

namespace tavlix {
namespace {

namespace fs = std::filesystem;

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("tavlix-debuglog-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_file = m_dir / "c2debug.log";
        std::tm local {};
        local.tm_year = 126, local.tm_mon = 11, local.tm_mday = 8, local.tm_hour = 9,
        local.tm_min = 5, local.tm_sec = 7, local.tm_isdst = -1;
        m_clock.now = std::mktime(&local);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Contents() const
    {
        std::ifstream in(m_file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    fs::path m_dir, m_file;
    FixedClock m_clock;
};

TEST_F(DebugLogTest, OffWritesNothing)
{
    DebugLog log(m_file, false, m_clock);
    EXPECT_FALSE(log.Write("GetComments", "start"));
    EXPECT_FALSE(fs::exists(m_file));
}

TEST_F(DebugLogTest, LinesAndReservedMessages)
{
    DebugLog log(m_file, true, m_clock);
    EXPECT_TRUE(log.Write("APP", "_program_start"));
    EXPECT_TRUE(log.Write("GetComments", "CanCheckResult()"));
    EXPECT_TRUE(log.Write("x", "_DEBUG_BLANK"));
    EXPECT_TRUE(log.Write("x", "_Program_End"));
    EXPECT_EQ(Contents(),
              "***** Program Start *****\n"
              "2026-12-08 09:05:07\tGetComments\tCanCheckResult()\n"
              "\n"
              "***** Program End *****\n");
}

TEST_F(DebugLogTest, FieldAndLineLimits)
{
    DebugLog log(m_file, true, m_clock);
    const std::string tag(60, 't');
    ASSERT_TRUE(log.Write(tag, "m"));
    EXPECT_EQ(Contents(), "2026-12-08 09:05:07\t" + std::string(50, 't') + "\tm\n");

    fs::remove(m_file);
    ASSERT_TRUE(log.Write("tag", std::string(500, 'm')));
    const std::string line = Contents();
    EXPECT_EQ(line, "2026-12-08 09:05:07\ttag\t" + std::string(367, 'm') + "\n");

    fs::remove(m_file);
    ASSERT_TRUE(log.Write(std::string(50, 't'), std::string(400, 'm')));
    EXPECT_EQ(Contents().size(), 20u + 50 + 1 + 320 + 1);
}

TEST_F(DebugLogTest, OversizedFileStartsAfresh)
{
    {
        std::ofstream big(m_file, std::ios::binary);
        big << std::string(DebugLog::kMaxFileSize + 1, 'x');
    }
    DebugLog log(m_file, true, m_clock);
    ASSERT_TRUE(log.Write("tag", "fresh"));
    EXPECT_EQ(Contents(), "2026-12-08 09:05:07\ttag\tfresh\n");

    {
        std::ofstream exact(m_file, std::ios::binary);
        exact << std::string(DebugLog::kMaxFileSize, 'x');
    }
    ASSERT_TRUE(log.Write("tag", "kept"));
    EXPECT_EQ(fs::file_size(m_file), DebugLog::kMaxFileSize + 29);
}

TEST_F(DebugLogTest, NeverFollowsALinkOrWritesAnotherNameOfAFile)
{
    const fs::path victim = m_dir / "victim.txt";
    { std::ofstream(victim) << "keep"; }

    fs::create_symlink(victim, m_file);
    DebugLog log(m_file, true, m_clock);
    EXPECT_FALSE(log.Write("tag", "message"));
    fs::remove(m_file);

    fs::create_hard_link(victim, m_file);
    EXPECT_FALSE(log.Write("tag", "message"));

    std::ifstream in(victim);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "keep");
}

TEST_F(DebugLogTest, NeverWritesAFileOfAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file to another user";
    { std::ofstream(m_file) << "theirs\n"; }
    ASSERT_EQ(::chown(m_file.c_str(), 65534, 65534), 0);
    DebugLog log(m_file, true, m_clock);
    EXPECT_FALSE(log.Write("tag", "message"));
    EXPECT_EQ(Contents(), "theirs\n");
}

TEST_F(DebugLogTest, SwitchFileUnderConfig)
{
    EXPECT_FALSE(DebugLog::IsDebugInfoEnabled(m_dir));
    fs::create_directories(m_dir / "config");
    { std::ofstream(m_dir / "config" / "tavlix_debug_info"); }
    EXPECT_TRUE(DebugLog::IsDebugInfoEnabled(m_dir));
    EXPECT_EQ(DebugLog::DefaultFile().filename(), "c2debug.log");
}

}  // namespace
}  // namespace tavlix
