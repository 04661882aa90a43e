#pragma once

#include <filesystem>

namespace tavlix {

// How a file is played, by its extension compared without regard to case.
enum class MusicType { None = 0, Midi = 1, Waveform = 2, Mp3 = 3, Wma = 4 };

// The type of an existing file; None for a missing file, a folder or an unknown
// extension.
MusicType GetMusicType(const std::filesystem::path& file);
// The type the extension alone gives, whether or not the file exists.
MusicType MusicTypeOfName(const std::filesystem::path& file);
bool IsPlayableFile(const std::filesystem::path& file);

}  // namespace tavlix
