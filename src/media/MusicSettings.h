#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavlix {

class LanguageState;

// The tracks of the background music, one per situation of the player.
enum class MusicRow { General, Training, TrainingGame, WcStandard, WcHero, WcWizard, WcHolyWar };
inline constexpr std::size_t kMusicRowCount = 7;

// The effect sounds.
enum class Effect { Next, Previous, Correct, Incorrect, Abnormal, TimeUp };
inline constexpr std::size_t kEffectCount = 6;

struct TrackSetting {
    bool enabled = true;
    std::string path;  // expanded: the data directory in place of the token

    friend bool operator==(const TrackSetting&, const TrackSetting&) = default;
};

// The 21 values of the music settings file, with their defaults for missing entries.
struct MusicSettings {
    bool musicOn = true;
    std::array<TrackSetting, kMusicRowCount> tracks;
    std::array<std::string, kEffectCount> effects;

    TrackSetting& Track(MusicRow row) { return tracks[static_cast<std::size_t>(row)]; }
    const TrackSetting& Track(MusicRow row) const { return tracks[static_cast<std::size_t>(row)]; }
    const std::string& EffectPath(Effect effect) const { return effects[static_cast<std::size_t>(effect)]; }

    friend bool operator==(const MusicSettings&, const MusicSettings&) = default;
};

// Where the settings live: the user's file, the factory file, and the data directory
// that the "%%root_path%%" token stands for.
struct MusicFiles {
    std::filesystem::path musicFile;
    std::filesystem::path defaultMusicFile;
    std::filesystem::path dataDirectory;
};

inline constexpr std::string_view kRootPathToken = "%%root_path%%";

// A stored path as the program uses it: trimmed, every token replaced by the data
// directory, "\" turned into the native separator.
std::string ExpandRootPath(std::string_view stored, const std::filesystem::path& dataDirectory);
// A path as it is stored: every occurrence of the data directory replaced by the token,
// and the part after the token written with "\" as the factory file has it. The case of
// the path is kept wherever lower-casing would name another file, as it does on a file
// system that tells case apart.
std::string CollapseRootPath(std::string_view path, const std::filesystem::path& dataDirectory);

// Reads the factory file when useDefaults is set, the user's file otherwise; missing or
// unreadable values keep their defaults.
MusicSettings LoadMusicSettings(const MusicFiles& files, bool useDefaults);
// Writes all 21 values to the user's file, atomically; false with errorText on failure.
bool SaveMusicSettings(const MusicSettings& settings, const MusicFiles& files,
                       const LanguageState& language, std::string* errorText = nullptr);

}  // namespace tavlix
