#include "shell/AppStartup.h"

#include "diagnostics/DebugLog.h"
#include "settings/CConfigFile.h"
#include "settings/SettingsTable.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

bool IsVersionCharacter(char c) { return (c >= '0' && c <= '9') || c == '.'; }

}  // namespace

std::string EditionName(Edition edition)
{
    return edition == Edition::SimplifiedChinese ? "Tavlix Simplified Chinese Edition"
                                                 : "Tavlix Standard Edition";
}

std::string VersionFromText(std::string_view text, std::string_view defaultText)
{
    text = TrimBlanksAndLineEnds(text);
    if (text.empty())
        return {};
    while (!text.empty()) {
        if (!IsVersionCharacter(text.front()))
            text.remove_prefix(1);
        else if (IsVersionCharacter(text.back()))
            break;
        else
            text.remove_suffix(1);
    }
    return std::string(text.empty() ? defaultText : text);
}

FirstRunResult CheckFirstRun(Profile& machine, std::string_view installationMark, bool isAdministrator,
                             const DebugLog* log)
{
    const std::string checked = ReadSetting(machine, setting::kFirstRun, installationMark);
    if (log)
        log->Write("APP-InitData: strFirstRunChecked=", checked);
    if (checked == "1" || installationMark == "1")
        return {true, 0};
    // No elevation step exists here: being an administrator is what counts.
    if (!isAdministrator)
        return {false, IDS_MESSAGE_PROMPT_ADMIN_REQUIRED_FOR_FIRST_RUN};
    if (!WriteSetting(machine, setting::kFirstRun, "1"))
        return {true, IDS_MESSAGE_PROMPT_FIRST_RUN_MARK_NOT_SAVED};
    return {true, 0};
}

std::string ReadInstallationMark(const std::filesystem::path& programDirectory)
{
    CConfigFile installation;
    installation.Load(programDirectory / "config" / "installation.ini");
    std::string mark;
    installation.GetString("App", "First Run", mark);
    return mark;
}

bool IsInstallation(const std::filesystem::path& programDirectory)
{
    std::error_code error;
    return std::filesystem::exists(programDirectory / "config" / "installation.ini", error);
}

bool EnsureMusicFile(const std::filesystem::path& defaultMusicFile,
                     const std::filesystem::path& musicFile)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(defaultMusicFile, error))
        return false;
    if (!std::filesystem::exists(musicFile, error)) {
        std::filesystem::create_directories(musicFile.parent_path(), error);
        std::filesystem::copy_file(defaultMusicFile, musicFile,
                                   std::filesystem::copy_options::skip_existing, error);
    }
    return true;
}

}  // namespace tavlix
