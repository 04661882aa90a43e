#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/Edition.h"
#include "update/UpdateInfo.h"

namespace tavlix {

class LanguageState;
class Profile;

// Where the program looks for the update-info file: config/update.ini, section
// "Update", "Site" (an https address) and "Edition Code" (optional).
struct UpdateSettings {
    std::string site;
    std::string editionCode;
};
UpdateSettings ReadUpdateSettings(const std::filesystem::path& file);

// Starts with "https://", without regard to case: the only addresses the program
// fetches from or sends the user to.
bool IsSecureAddress(std::string_view address);

// The address of the info file on the site for this edition; empty when the site is
// not a secure address, so that no check is made.
std::string InfoFileAddress(const UpdateSettings& settings, Edition edition);

// The calendar day of a moment in the user's time zone.
std::chrono::year_month_day LocalDate(std::time_t time);

// The automatic check runs once a day ("AutoDetect"/"Last Try", written here when it
// runs) and not on the day the user declined nor in the five days after
// ("AutoDetect"/"Last Deny").
bool IsCheckDue(Profile& profile, std::chrono::year_month_day today);
void RecordDenial(Profile& profile, std::chrono::year_month_day today);

// What the prompt offers: an installer to download, or a web page to open. An
// installer whose checksum the site does not give is not downloaded: its DownloadPage
// offer opens the product's home page instead.
struct UpdateOffer {
    enum class Kind { Installer, WebPage, DownloadPage };
    Kind kind = Kind::WebPage;
    std::string version;
    std::string build;    // "2013-01-05"
    std::string address;
    std::string sha256;   // lower-case hex, empty when the info file gives none
};

// The offer for a build later than our own and not later than today. An address that
// names neither an installer nor a web page gives way to the product's home page; an
// address that is not https, a checksum that is not 64 hex digits, or a control
// character in any value makes the info file untrustworthy and gives no offer.
std::optional<UpdateOffer> DecideUpdate(const UpdateInfo& info, std::chrono::year_month_day ownBuild,
                                        std::chrono::year_month_day today, std::string_view productHomePage);

// "A new version of Tavlix was found. ..." with the version and the build, and why a
// web page opens instead for an installer without a checksum.
std::string UpdatePromptText(const LanguageState& language, const UpdateOffer& offer);
// Where to find the new version later, after the user said No.
std::string LaterChoiceText(const LanguageState& language, std::string_view makerHomePage,
                            std::string_view productHomePage);

}  // namespace tavlix
