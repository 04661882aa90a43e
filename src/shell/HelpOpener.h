#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "i18n/Edition.h"

namespace tavlix {

class Shell;

// Help topics: pages of the help bundle installed under doc/help beside the program,
// in the interface language; the vendor's online help when the bundle is missing.
class HelpOpener {
public:
    static constexpr const char* kSite = "https://www.brelmor.com/";

    // Shows a page of the bundle (an existing file) in the program's help window.
    using PageViewer = std::function<void(const std::filesystem::path& page)>;

    HelpOpener(Shell& shell, Edition edition, std::filesystem::path programDirectory);

    // The topic's page of the bundle in the given language folder ("english", "gb2312"
    // or "big5") goes to the viewer, else the online page to the browser. The release
    // notes (7) open the maker's home page first. Returns the addresses the browser did
    // not take, for the caller to report.
    std::vector<std::string> OpenHelpTopic(int topic, const std::string& languageFolder,
                                           const PageViewer& showPage);
    // True when the shell reported that the browser took the address.
    bool OpenInBrowser(const std::string& address);

    std::string GetProductHomePage() const;
    std::string GetMakerHomePage() const;
    // The page of a topic relative to a help folder; unknown topics give the index.
    static std::string TopicPage(int topic);
    // The bundle's folder of an interface language: "english", "gb2312" or "big5".
    static std::string LanguageFolder(std::uint32_t lcid);
    // The bundle: one folder per language and the style sheet they share.
    std::filesystem::path BundleFolder() const;
    // Where the bundle's page of a topic lies (whether or not it exists).
    std::filesystem::path BundlePage(int topic, const std::string& languageFolder) const;
    std::string OnlinePage(int topic) const;

private:
    Shell& m_shell;
    Edition m_edition;
    std::filesystem::path m_programDirectory;
};

}  // namespace tavlix
