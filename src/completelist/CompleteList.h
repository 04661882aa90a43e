#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Rules.h"

namespace tavlix {

class Clock;
class LanguageState;
class Profile;

// What the complete list of all solutions covers: the level (rule and J/Q/K) and which
// kinds of configurations it lists. Kept in the settings section "CL".
struct CompleteListOptions {
    bool standardRule = true;
    bool jqkEnabled = false;
    bool withSolutions = true;    // configurations with solutions are listed
    bool withoutSolution = true;  // configurations without solution are listed

    Rules GetRules() const { return Rules::Of(standardRule, jqkEnabled); }
    bool operator==(const CompleteListOptions&) const = default;
};

CompleteListOptions LoadCompleteListOptions(const Profile& profile);
void SaveCompleteListOptions(Profile& profile, const CompleteListOptions& options);

// The two check boxes of the kinds; at least one of them stays checked.
enum class ListedKind { WithSolutions, WithoutSolution };
// The options after the user cleared or checked one kind: clearing the last checked kind
// checks the other one.
CompleteListOptions KeepOneKindListed(CompleteListOptions options, ListedKind changed);

// The string id of the level name: "Standard", "Hero", "Wizard" or "Holy War".
int LevelNameId(bool standardRule, bool jqkEnabled);
// "Complete List of All Solutions - <level> Level" in the interface language.
std::string CompleteListCaption(const LanguageState& language, const CompleteListOptions& options);

// The folder of the templates and the first letter of the page names for an interface
// language: "english" and "e", "gb2312" and "s", else "big5" and "t".
std::string_view CompleteListLanguageFolder(std::uint32_t lcid);
// The page's name from the language and the options, e.g. "esdhsns.htm".
std::string CompleteListFileName(std::uint32_t lcid, const CompleteListOptions& options);
// "<program folder>/doc/<language folder>/grandlist.htm".
std::filesystem::path CompleteListTemplatePath(const std::filesystem::path& programDirectory,
                                               std::uint32_t lcid);
// The whole template, or nothing when it can not be read.
std::optional<std::string> ReadCompleteListTemplate(const std::filesystem::path& path);

// What becomes of a page made earlier for the same options and language.
enum class CachedPageAction {
    Generate,  // none, too old (over 90 days) or dated in the future: made anew
    Show,      // younger than 7 days: shown as it is
    Ask,       // 7 to 90 days old: the user chooses
};
// lastWrite: the page's last-write time, nothing when there is no page.
CachedPageAction DecideCachedPage(std::optional<std::time_t> lastWrite, std::time_t now);
// The same for the page at this path, aged by the clock.
CachedPageAction DecideCachedPage(const std::filesystem::path& page, const Clock& clock);

// Makes sure the folder of the pages exists; a plain file (or a link to one) of that name
// is removed first. A folder that can not be made is reported when the page is written.
void EnsureCompleteListFolder(const std::filesystem::path& folder);

}  // namespace tavlix
