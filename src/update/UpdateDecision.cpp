#include "update/UpdateDecision.h"

#include <algorithm>
#include <cctype>

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/CConfigFile.h"
#include "settings/PathText.h"
#include "settings/SettingsTable.h"
#include "common/TextUtilities.h"
#include "update/InstallerFile.h"

namespace tavlix {

namespace {

constexpr int kDaysQuietAfterDenial = 5;

bool IsHexDigest(std::string_view text)
{
    return text.size() == 64 &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The code becomes part of the info file's path, so it may hold nothing that changes
// the path's meaning.
bool IsPlainCode(std::string_view code)
{
    return std::all_of(code.begin(), code.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
    });
}

// A control character in a value could draw false lines into the prompt or end up in a
// file name; C1 controls count too, as UTF-8 spells them.
bool HasControlCharacter(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (c < 0x20 || c == 0x7F || c1)
            return true;
    }
    return false;
}

std::string Lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

}  // namespace

UpdateSettings ReadUpdateSettings(const std::filesystem::path& file)
{
    CConfigFile config;
    config.Load(file);
    UpdateSettings settings;
    std::string value;
    config.GetString("Update", "Site", value);
    settings.site = TrimBlanksAndLineEnds(value);
    config.GetString("Update", "Edition Code", value);
    settings.editionCode = TrimBlanksAndLineEnds(value);
    return settings;
}

bool IsSecureAddress(std::string_view address)
{
    return StartsWithIgnoringCase(address, "https://");
}

std::string InfoFileAddress(const UpdateSettings& settings, Edition edition)
{
    if (!IsSecureAddress(settings.site) || settings.site.size() <= 8)
        return {};
    std::string address = settings.site;
    if (address.back() != '/')
        address += '/';
    if (!settings.editionCode.empty() && IsPlainCode(settings.editionCode))
        return address + "tavlix/download/updt_" + settings.editionCode + ".txt";
    if (edition == Edition::SimplifiedChinese)
        return address + "cn/tavlix/download/updtprc.txt";
    return address + "tavlix/download/updtinfo.txt";
}

std::chrono::year_month_day LocalDate(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    return {std::chrono::year(local.tm_year + 1900), std::chrono::month(unsigned(local.tm_mon + 1)),
            std::chrono::day(unsigned(local.tm_mday))};
}

bool IsCheckDue(Profile& profile, std::chrono::year_month_day today)
{
    const std::string todayText = FormatDayText(today);
    if (ReadSetting(profile, setting::kUpdateLastTry) == todayText)
        return false;
    WriteSetting(profile, setting::kUpdateLastTry, todayText);
    if (const auto denied = ParseBuildDate(ReadSetting(profile, setting::kUpdateLastDenial))) {
        const auto daysSince = (std::chrono::sys_days(today) - std::chrono::sys_days(*denied)).count();
        if (daysSince >= 0 && daysSince <= kDaysQuietAfterDenial)
            return false;
    }
    return true;
}

void RecordDenial(Profile& profile, std::chrono::year_month_day today)
{
    WriteSetting(profile, setting::kUpdateLastDenial, FormatDayText(today));
}

std::optional<UpdateOffer> DecideUpdate(const UpdateInfo& info, std::chrono::year_month_day ownBuild,
                                        std::chrono::year_month_day today, std::string_view productHomePage)
{
    const auto newBuild = ParseBuildDate(info.build);
    if (!newBuild || *newBuild <= ownBuild || *newBuild > today)
        return std::nullopt;
    if ((!info.url.empty() && !IsSecureAddress(info.url)) || (!info.sha256.empty() && !IsHexDigest(info.sha256)))
        return std::nullopt;
    for (const std::string* value : {&info.version, &info.build, &info.url, &info.sha256})
        if (HasControlCharacter(*value))
            return std::nullopt;

    UpdateOffer offer{.kind = UpdateOffer::Kind::WebPage,
                      .version = info.version,
                      .build = FormatBuildDate(*newBuild),
                      .address = std::string(productHomePage),
                      .sha256 = Lowercase(info.sha256)};
    const std::string fileName = AddressFileName(info.url);
    const bool installer = !InstallerExtension(fileName).empty();
    if (installer && !info.sha256.empty()) {
        offer.kind = UpdateOffer::Kind::Installer;
        offer.address = info.url;
    } else if (installer) {
        offer.kind = UpdateOffer::Kind::DownloadPage;
    } else if (IsWebPageName(fileName)) {
        offer.address = info.url;
    }
    return offer;
}

std::string UpdatePromptText(const LanguageState& language, const UpdateOffer& offer)
{
    std::string text =
        language.GetLocalizedString(IDS_DIALOG_LVUD_PROMPT_NEW_BUILD_FOUND, language.ProductName()) + "\r\n\r\n" +
        language.GetLocalizedString(IDS_DIALOG_LVUD_VERSION, offer.version) + "\r\n" +
        language.GetLocalizedString(IDS_DIALOG_LVUD_BUILD, offer.build);
    if (offer.kind == UpdateOffer::Kind::DownloadPage)
        text += "\r\n\r\n" + language.GetLocalizedString(IDS_UPDATE_NO_CHECKSUM, offer.address);
    return text;
}

std::string LaterChoiceText(const LanguageState& language, std::string_view makerHomePage,
                            std::string_view productHomePage)
{
    std::string text =
        language.GetLocalizedString(IDS_DIALOG_LVUD_ALTERNATE_CHOICE, language.ProductName(), language.CompanyName());
    ReplaceAll(text, "#1", makerHomePage);
    ReplaceAll(text, "#2", productHomePage);
    return text;
}

}  // namespace tavlix
