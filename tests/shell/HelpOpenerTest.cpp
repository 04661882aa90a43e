#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "platform/Shell.h"
#include "shell/HelpOpener.h"

namespace tavlix {
namespace {

class RecordingShell : public Shell {
public:
    bool Open(const std::string& address) override
    {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

class HelpOpenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("tavlix-help-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    void Install(const std::string& folder, const std::string& page)
    {
        const auto path = m_dir / "doc" / "help" / folder / page;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "<html></html>";
    }

    std::filesystem::path m_dir;
    RecordingShell m_shell;
};

TEST_F(HelpOpenerTest, TopicsMapToPages)
{
    EXPECT_EQ(HelpOpener::TopicPage(0), "index.html");
    EXPECT_EQ(HelpOpener::TopicPage(6), "support.htm");
    EXPECT_EQ(HelpOpener::TopicPage(22), "userguide/a1_irrelevant.htm");
    for (const int unknown : {2, 8, 9, 21, 24, 99, -1})
        EXPECT_EQ(HelpOpener::TopicPage(unknown), "index.html") << unknown;
}

TEST_F(HelpOpenerTest, BundlePageInTheInterfaceLanguage)
{
    Install("big5", "userguide/6_checksolutions.htm");
    HelpOpener help(m_shell, Edition::Standard, m_dir);
    help.OpenHelpTopic(16, "big5");
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(m_shell.opened[0], "file://" + (m_dir / "doc/help/big5/userguide/6_checksolutions.htm").string());
}

TEST_F(HelpOpenerTest, WithoutTheBundleOnlyTheSimplifiedEditionGoesOnline)
{
    HelpOpener chinese(m_shell, Edition::SimplifiedChinese, m_dir);
    chinese.OpenHelpTopic(21, "gb2312");
    EXPECT_EQ(m_shell.opened, std::vector<std::string>{"https://www.brelmor.com/cn/tavlix/help/gb2312/index.html"});
    m_shell.opened.clear();
    HelpOpener standard(m_shell, Edition::Standard, m_dir);
    standard.OpenHelpTopic(13, "english");
    EXPECT_TRUE(m_shell.opened.empty());
}

TEST_F(HelpOpenerTest, ReleaseNotesOpenTheMakersPageFirst)
{
    Install("english", "rel_notes.htm");
    HelpOpener standard(m_shell, Edition::Standard, m_dir);
    standard.OpenHelpTopic(7, "english");
    ASSERT_EQ(m_shell.opened.size(), 2u);
    EXPECT_EQ(m_shell.opened[0], "https://www.brelmor.com/");
    m_shell.opened.clear();
    HelpOpener chinese(m_shell, Edition::SimplifiedChinese, m_dir);
    chinese.OpenHelpTopic(7, "gb2312");
    EXPECT_EQ(m_shell.opened, (std::vector<std::string>{"https://www.brelmor.com/cn/",
                                                        "https://www.brelmor.com/cn/tavlix/help/gb2312/rel_notes.htm"}));
    EXPECT_EQ(chinese.GetProductHomePage(), "https://www.brelmor.com/cn/tavlix/index_chs.html");
    EXPECT_EQ(standard.GetProductHomePage(), "https://www.brelmor.com/tavlix/index.html");
}

}  // namespace
}  // namespace tavlix
