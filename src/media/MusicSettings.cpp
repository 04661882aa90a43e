#include "media/MusicSettings.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "common/TextUtilities.h"
#include "settings/CConfigFile.h"

namespace tavlix {

namespace {

constexpr std::string_view kMusicSection = "Music";
constexpr std::string_view kSoundSection = "Sound";
constexpr std::string_view kMusicOnKey = "Music On";

struct TrackKeys {
    std::string_view enabled;
    std::string_view path;
};

// In MusicRow order. Three path keys carry a "General" prefix that the files have
// always had; they stay exactly so.
constexpr std::array<TrackKeys, kMusicRowCount> kTrackKeys = {{
    {"Enable General Background Music", "General Background Music Path"},
    {"Enable Training Music", "Training Music Path"},
    {"Enable Training Game Music", "General Training Game Music Path"},
    {"Enable WC Standard Music", "WC Standard Music Path"},
    {"Enable WC Hero Music", "General WC Hero Music Path"},
    {"Enable WC Wizard Music", "WC Wizard Music Path"},
    {"Enable WC Holy War Music", "WC Holy War Music Path"},
}};

// In Effect order.
constexpr std::array<std::string_view, kEffectCount> kEffectKeys = {
    "Go Next", "Go Previous", "Correct", "Incorrect", "Abnormal", "TimeUp"};

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A hand-edited value that says neither keeps the default, rather than reading as off.
bool ReadFlag(const CConfigFile& file, std::string_view section, std::string_view key, bool defaultValue)
{
    std::string value;
    if (!file.GetString(section, key, value))
        return defaultValue;
    if (value.find("true") != std::string::npos)
        return true;
    if (value.find("false") != std::string::npos)
        return false;
    return defaultValue;
}

std::string ReadPath(const CConfigFile& file, std::string_view section, std::string_view key,
                     const std::filesystem::path& dataDirectory)
{
    std::string value;
    file.GetString(section, key, value);
    return ExpandRootPath(value, dataDirectory);
}

std::string DirectoryText(const std::filesystem::path& dataDirectory)
{
    std::string text = dataDirectory.string();
    while (text.size() > 1 && text.back() == std::filesystem::path::preferred_separator)
        text.pop_back();
    return text;
}

}  // namespace

std::string ExpandRootPath(std::string_view stored, const std::filesystem::path& dataDirectory)
{
    std::string path(TrimBlanksAndLineEnds(stored));
    ReplaceAll(path, kRootPathToken, DirectoryText(dataDirectory));
    if constexpr (std::filesystem::path::preferred_separator == '/')
        std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string CollapseRootPath(std::string_view path, const std::filesystem::path& dataDirectory)
{
    std::string stored(path);
    // Lower-case only where that still names the same file: on a file system that tells
    // case apart, the lower-cased name would be another, usually missing, file.
    const std::string lowered = Lowered(stored);
    std::error_code error;
    if (lowered != stored && std::filesystem::equivalent(lowered, stored, error))
        stored = lowered;

    const std::string directory = DirectoryText(dataDirectory);
    // A data directory at the file-system root would turn every separator into the token.
    if (directory.size() <= 1 || stored.find(directory) == std::string::npos)
        return stored;
    ReplaceAll(stored, directory, kRootPathToken);
    std::replace(stored.begin(), stored.end(), '/', '\\');
    return stored;
}

MusicSettings LoadMusicSettings(const MusicFiles& files, bool useDefaults)
{
    CConfigFile file;
    file.Load(useDefaults ? files.defaultMusicFile : files.musicFile);

    MusicSettings settings;
    settings.musicOn = ReadFlag(file, kMusicSection, kMusicOnKey, true);
    for (std::size_t i = 0; i < kMusicRowCount; ++i) {
        settings.tracks[i].enabled = ReadFlag(file, kMusicSection, kTrackKeys[i].enabled, true);
        settings.tracks[i].path = ReadPath(file, kMusicSection, kTrackKeys[i].path, files.dataDirectory);
    }
    for (std::size_t i = 0; i < kEffectCount; ++i)
        settings.effects[i] = ReadPath(file, kSoundSection, kEffectKeys[i], files.dataDirectory);
    return settings;
}

bool SaveMusicSettings(const MusicSettings& settings, const MusicFiles& files,
                       const LanguageState& language, std::string* errorText)
{
    // The file is read first so that whatever else a user wrote into it stays.
    CConfigFile file;
    file.Load(files.musicFile);
    file.SetBool(kMusicSection, kMusicOnKey, settings.musicOn);
    for (std::size_t i = 0; i < kMusicRowCount; ++i) {
        file.SetBool(kMusicSection, kTrackKeys[i].enabled, settings.tracks[i].enabled);
        file.SetString(kMusicSection, kTrackKeys[i].path,
                       CollapseRootPath(settings.tracks[i].path, files.dataDirectory));
    }
    for (std::size_t i = 0; i < kEffectCount; ++i)
        file.SetString(kSoundSection, kEffectKeys[i], CollapseRootPath(settings.effects[i], files.dataDirectory));
    return file.Save(files.musicFile, language, errorText);
}

}  // namespace tavlix
