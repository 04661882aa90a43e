#pragma once

#include <filesystem>
#include <string>

#include "i18n/Edition.h"

namespace tavlix {

class Shell;

// Help topics: pages of the help bundle installed under doc/help beside the program,
// in the interface language; the vendor's online help when the bundle is missing.
class HelpOpener {
public:
    static constexpr const char* kSite = "https://www.brelmor.com/";

    HelpOpener(Shell& shell, Edition edition, std::filesystem::path programDirectory);

    // The topic in the bundle of the given language folder ("english", "gb2312" or
    // "big5"), else online. The release notes (7) open the maker's home page first.
    void OpenHelpTopic(int topic, const std::string& languageFolder);
    bool OpenInBrowser(const std::string& address);

    std::string GetProductHomePage() const;
    std::string GetMakerHomePage() const;
    // The page of a topic relative to a help folder; unknown topics give the index.
    static std::string TopicPage(int topic);
    // Where the bundle's page of a topic lies (whether or not it exists).
    std::filesystem::path BundlePage(int topic, const std::string& languageFolder) const;
    std::string OnlinePage(int topic) const;

private:
    Shell& m_shell;
    Edition m_edition;
    std::filesystem::path m_programDirectory;
};

}  // namespace tavlix
