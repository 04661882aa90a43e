#include "media/MusicType.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace tavlix {

MusicType MusicTypeOfName(const std::filesystem::path& file)
{
    static constexpr std::array<std::pair<std::string_view, MusicType>, 6> kExtensions = {{
        {".mid", MusicType::Midi},
        {".midi", MusicType::Midi},
        {".rmi", MusicType::Midi},
        {".wav", MusicType::Waveform},
        {".mp3", MusicType::Mp3},
        {".wma", MusicType::Wma},
    }};
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [name, type] : kExtensions) {
        if (extension == name)
            return type;
    }
    return MusicType::None;
}

MusicType GetMusicType(const std::filesystem::path& file)
{
    std::error_code error;
    if (file.empty() || !std::filesystem::is_regular_file(file, error))
        return MusicType::None;
    return MusicTypeOfName(file);
}

bool IsPlayableFile(const std::filesystem::path& file)
{
    return GetMusicType(file) != MusicType::None;
}

}  // namespace tavlix
