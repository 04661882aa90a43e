#include "completelist/CompleteList.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "platform/Clock.h"
#include "settings/SettingsTable.h"

namespace tavlix {

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kDay = 24 * 60 * 60;
constexpr std::time_t kShowAge = 7 * kDay;
constexpr std::time_t kOfferAge = 90 * kDay;

std::optional<std::time_t> LastWriteTime(const fs::path& file)
{
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    const fs::file_time_type written = fs::last_write_time(file, error);
    if (error)
        return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(written);
    return std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(system));
}

}  // namespace

CompleteListOptions LoadCompleteListOptions(const Profile& profile)
{
    CompleteListOptions o;
    o.standardRule = ReadSetting(profile, setting::kCompleteListStandardRule);
    o.jqkEnabled = ReadSetting(profile, setting::kCompleteListJqk);
    o.withSolutions = ReadSetting(profile, setting::kCompleteListWithSolutions);
    o.withoutSolution = ReadSetting(profile, setting::kCompleteListWithoutSolution);
    return o;
}

void SaveCompleteListOptions(Profile& profile, const CompleteListOptions& options)
{
    WriteSetting(profile, setting::kCompleteListStandardRule, options.standardRule);
    WriteSetting(profile, setting::kCompleteListJqk, options.jqkEnabled);
    WriteSetting(profile, setting::kCompleteListWithSolutions, options.withSolutions);
    WriteSetting(profile, setting::kCompleteListWithoutSolution, options.withoutSolution);
}

CompleteListOptions KeepOneKindListed(CompleteListOptions options, ListedKind changed)
{
    if (!options.withSolutions && !options.withoutSolution)
        (changed == ListedKind::WithSolutions ? options.withoutSolution : options.withSolutions) = true;
    return options;
}

int LevelNameId(bool standardRule, bool jqkEnabled)
{
    if (standardRule)
        return jqkEnabled ? IDS_BMT_HERO : IDS_BMT_STANDARD;
    return jqkEnabled ? IDS_BMT_HOLY_WAR : IDS_BMT_WIZARD;
}

std::string CompleteListCaption(const LanguageState& language, const CompleteListOptions& options)
{
    const std::string level = language.GetLocalizedString(
        IDS_BMT_X_LEVEL, language.GetLocalizedString(LevelNameId(options.standardRule, options.jqkEnabled)));
    return language.GetLocalizedString(IDS_TIP_COMPLETE_LIST) + " - " + level;
}

std::string_view CompleteListLanguageFolder(std::uint32_t lcid)
{
    switch (lcid) {
    case kLcidEnglish: return "english";
    case kLcidSimplifiedChinese: return "gb2312";
    default: return "big5";
    }
}

std::string CompleteListFileName(std::uint32_t lcid, const CompleteListOptions& options)
{
    std::string name = lcid == kLcidEnglish ? "e" : lcid == kLcidSimplifiedChinese ? "s" : "t";
    if (options.standardRule)
        name += "sd";
    if (options.jqkEnabled)
        name += "j";
    if (options.withSolutions)
        name += "hs";
    if (options.withoutSolution)
        name += "ns";
    return name + ".htm";
}

fs::path CompleteListTemplatePath(const fs::path& programDirectory, std::uint32_t lcid)
{
    return programDirectory / "doc" / CompleteListLanguageFolder(lcid) / "grandlist.htm";
}

std::optional<std::string> ReadCompleteListTemplate(const fs::path& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.is_open() || in.bad())
        return std::nullopt;
    return text;
}

CachedPageAction DecideCachedPage(std::optional<std::time_t> lastWrite, std::time_t now)
{
    if (!lastWrite || *lastWrite > now || *lastWrite < now - kOfferAge)
        return CachedPageAction::Generate;
    return *lastWrite > now - kShowAge ? CachedPageAction::Show : CachedPageAction::Ask;
}

CachedPageAction DecideCachedPage(const fs::path& page, const Clock& clock)
{
    return DecideCachedPage(LastWriteTime(page), clock.Now());
}

void EnsureCompleteListFolder(const fs::path& folder)
{
    std::error_code error;
    if (fs::is_directory(folder, error))
        return;
    if (fs::exists(fs::symlink_status(folder, error)))
        fs::remove(folder, error);
    fs::create_directories(folder, error);
}

}  // namespace tavlix
