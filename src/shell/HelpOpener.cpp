#include "shell/HelpOpener.h"

#include <map>

#include "i18n/LanguageState.h"
#include "platform/Shell.h"

namespace tavlix {

HelpOpener::HelpOpener(Shell& shell, Edition edition, std::filesystem::path programDirectory)
    : m_shell(shell), m_edition(edition), m_programDirectory(std::move(programDirectory))
{
}

std::string HelpOpener::TopicPage(int topic)
{
    static const std::map<int, const char*> kPages = {
        {0, "index.html"},
        {1, "intro.htm"},
        {3, "download.htm"},
        {6, "support.htm"},
        {7, "rel_notes.htm"},
        {10, "userguide/0_contents.htm"},
        {11, "userguide/1_introduction.htm"},
        {12, "userguide/2_sysreq.htm"},
        {13, "userguide/3_rules.htm"},
        {14, "userguide/4_pis.htm"},
        {15, "userguide/5_dl.htm"},
        {16, "userguide/6_checksolutions.htm"},
        {17, "userguide/7_games.htm"},
        {18, "userguide/8_collections.htm"},
        {19, "userguide/9_cards.htm"},
        {20, "userguide/10_master.htm"},
        {22, "userguide/a1_irrelevant.htm"},
        {23, "userguide/a2_accelkey.htm"},
        {30, "userguide/statistics.htm"},
    };
    const auto it = kPages.find(topic);
    return it != kPages.end() ? it->second : kPages.at(0);
}

std::string HelpOpener::LanguageFolder(std::uint32_t lcid)
{
    switch (lcid) {
    case kLcidSimplifiedChinese: return "gb2312";
    case kLcidTraditionalChinese: return "big5";
    default: return "english";
    }
}

std::filesystem::path HelpOpener::BundleFolder() const
{
    return m_programDirectory / "doc" / "help";
}

std::filesystem::path HelpOpener::BundlePage(int topic, const std::string& languageFolder) const
{
    return BundleFolder() / languageFolder / TopicPage(topic);
}

std::string HelpOpener::OnlinePage(int topic) const
{
    const char* folder = m_edition == Edition::SimplifiedChinese ? "cn/tavlix/help/gb2312"
                                                                 : "tavlix/help/english";
    return std::string(kSite) + folder + "/" + TopicPage(topic);
}

std::string HelpOpener::GetProductHomePage() const
{
    return std::string(kSite) +
           (m_edition == Edition::SimplifiedChinese ? "cn/tavlix/index_chs.html" : "tavlix/index.html");
}

std::string HelpOpener::GetMakerHomePage() const
{
    return std::string(kSite) + (m_edition == Edition::SimplifiedChinese ? "cn/" : "");
}

bool HelpOpener::OpenInBrowser(const std::string& address)
{
    return m_shell.Open(address);
}

std::vector<std::string> HelpOpener::OpenHelpTopic(int topic, const std::string& languageFolder,
                                                   const PageViewer& showPage)
{
    std::vector<std::string> unopened;
    const auto open = [&](const std::string& address) {
        if (!OpenInBrowser(address))
            unopened.push_back(address);
    };
    if (topic == 7)
        open(GetMakerHomePage());
    std::error_code error;
    const std::filesystem::path page = BundlePage(topic, languageFolder);
    if (std::filesystem::is_regular_file(page, error))
        showPage(page);
    // Without the bundle only the Simplified Chinese edition goes online.
    else if (m_edition == Edition::SimplifiedChinese)
        open(OnlinePage(topic));
    return unopened;
}

}  // namespace tavlix
