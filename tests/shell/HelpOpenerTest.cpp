#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "../platform/FakeShell.h"
#include "shell/HelpOpener.h"

namespace tavlix {
namespace {

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

    std::vector<std::string> Open(HelpOpener& help, int topic, const std::string& folder)
    {
        return help.OpenHelpTopic(topic, folder, [this](const std::filesystem::path& page) { m_shown.push_back(page); });
    }

    std::filesystem::path m_dir;
    testing::FakeShell m_shell;
    std::vector<std::filesystem::path> m_shown;
};

TEST_F(HelpOpenerTest, TopicsMapToPages)
{
    EXPECT_EQ(HelpOpener::TopicPage(0), "index.html");
    EXPECT_EQ(HelpOpener::TopicPage(6), "support.htm");
    EXPECT_EQ(HelpOpener::TopicPage(22), "userguide/a1_irrelevant.htm");
    for (const int unknown : {2, 8, 9, 21, 24, 99, -1})
        EXPECT_EQ(HelpOpener::TopicPage(unknown), "index.html") << unknown;
}

TEST_F(HelpOpenerTest, BundlePageInTheInterfaceLanguageGoesToTheViewer)
{
    Install("big5", "userguide/6_checksolutions.htm");
    HelpOpener help(m_shell, Edition::SimplifiedChinese, m_dir);
    EXPECT_TRUE(Open(help, 16, "big5").empty());
    EXPECT_EQ(m_shown, std::vector<std::filesystem::path>{m_dir / "doc/help/big5/userguide/6_checksolutions.htm"});
    EXPECT_TRUE(m_shell.opened.empty());
}

TEST_F(HelpOpenerTest, WithoutTheBundleOnlyTheSimplifiedEditionGoesOnline)
{
    HelpOpener chinese(m_shell, Edition::SimplifiedChinese, m_dir);
    Open(chinese, 21, "gb2312");
    EXPECT_EQ(m_shell.opened, std::vector<std::string>{"https://www.brelmor.com/cn/tavlix/help/gb2312/index.html"});
    m_shell.opened.clear();
    HelpOpener standard(m_shell, Edition::Standard, m_dir);
    Open(standard, 13, "english");
    EXPECT_TRUE(m_shell.opened.empty());
    EXPECT_TRUE(m_shown.empty());
}

TEST_F(HelpOpenerTest, ReleaseNotesOpenTheMakersPageFirst)
{
    Install("english", "rel_notes.htm");
    HelpOpener standard(m_shell, Edition::Standard, m_dir);
    Open(standard, 7, "english");
    EXPECT_EQ(m_shell.opened, std::vector<std::string>{"https://www.brelmor.com/"});
    EXPECT_EQ(m_shown, std::vector<std::filesystem::path>{m_dir / "doc/help/english/rel_notes.htm"});
    m_shell.opened.clear();
    HelpOpener chinese(m_shell, Edition::SimplifiedChinese, m_dir);
    Open(chinese, 7, "gb2312");
    EXPECT_EQ(m_shell.opened, (std::vector<std::string>{"https://www.brelmor.com/cn/",
                                                        "https://www.brelmor.com/cn/tavlix/help/gb2312/rel_notes.htm"}));
    EXPECT_EQ(chinese.GetProductHomePage(), "https://www.brelmor.com/cn/tavlix/index_chs.html");
    EXPECT_EQ(standard.GetProductHomePage(), "https://www.brelmor.com/tavlix/index.html");
}

TEST_F(HelpOpenerTest, AddressesTheBrowserDidNotTakeAreReturned)
{
    m_shell.takes = false;
    HelpOpener chinese(m_shell, Edition::SimplifiedChinese, m_dir);
    EXPECT_FALSE(chinese.OpenInBrowser("https://www.brelmor.com/cn/"));
    EXPECT_EQ(Open(chinese, 7, "gb2312"), (std::vector<std::string>{"https://www.brelmor.com/cn/",
                                                                     "https://www.brelmor.com/cn/tavlix/help/gb2312/rel_notes.htm"}));
    Install("english", "rel_notes.htm");
    HelpOpener standard(m_shell, Edition::Standard, m_dir);
    EXPECT_EQ(Open(standard, 7, "english"), std::vector<std::string>{"https://www.brelmor.com/"});
    EXPECT_EQ(m_shown.size(), 1u);
}

}  // namespace
}  // namespace tavlix
