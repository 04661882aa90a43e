#include "media/CBackgroundSettings.h"

#include <system_error>

#include "common/TextUtilities.h"

namespace tavlix {

namespace {

bool IsExistingFile(const std::filesystem::path& file)
{
    std::error_code error;
    return !file.empty() && std::filesystem::is_regular_file(file, error);
}

// Copies needed to cover length with pieces of step, rounded up.
int CopiesToCover(int length, int step) { return (length + step - 1) / step; }

}  // namespace

PixelRect CenteredRect(PixelSize areaSize, PixelSize imageSize)
{
    return {(areaSize.width - imageSize.width) / 2, (areaSize.height - imageSize.height) / 2, imageSize.width,
            imageSize.height};
}

std::vector<PixelRect> ImagePlacements(BackgroundMode mode, PixelSize areaSize, PixelSize imageSize)
{
    std::vector<PixelRect> placements;
    if (areaSize.width <= 0 || areaSize.height <= 0 || imageSize.width <= 0 || imageSize.height <= 0)
        return placements;
    switch (mode) {
    case BackgroundMode::Tile: {
        const int columns = CopiesToCover(areaSize.width, imageSize.width);
        const int rows = CopiesToCover(areaSize.height, imageSize.height);
        placements.reserve(std::size_t(columns) * std::size_t(rows));
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                placements.push_back(
                    {column * imageSize.width, row * imageSize.height, imageSize.width, imageSize.height});
        break;
    }
    case BackgroundMode::Center: placements.push_back(CenteredRect(areaSize, imageSize)); break;
    case BackgroundMode::Stretch: placements.push_back({0, 0, areaSize.width, areaSize.height}); break;
    }
    return placements;
}

std::vector<std::filesystem::path> DroppedFiles(const std::vector<std::string>& paths)
{
    std::vector<std::filesystem::path> files;
    for (const std::string& path : paths) {
        const std::filesystem::path file(std::string(TrimBlanksAndLineEnds(path)));
        if (IsExistingFile(file))
            files.push_back(file);
    }
    return files;
}

CBackgroundSettings::CBackgroundSettings(std::filesystem::path programDirectory)
    : m_programDirectory(std::move(programDirectory))
{
    m_strFileName = DefaultImageFile().string();
}

std::filesystem::path CBackgroundSettings::DefaultImageFile() const
{
    return m_programDirectory / "images" / "back.bmp";
}

BackgroundMode CBackgroundSettings::ModeFromStored(std::uint32_t stored)
{
    return stored <= 2 ? BackgroundMode(stored) : BackgroundMode::Tile;
}

void CBackgroundSettings::Load(const Profile& profile)
{
    m_bEnableImage = ReadSetting(profile, setting::kBackgroundImageOn);
    m_nDisplayMode = ModeFromStored(ReadSetting(profile, setting::kBackgroundDisplayMode));
    m_crBkColor = ReadSetting(profile, setting::kBackgroundColor);
    m_strFileName = ReadSetting(profile, setting::kBackgroundImageFile, DefaultImageFile().string());
    if (!m_bEnableImage)
        m_strFileName.clear();
    m_strLastImagePath = ReadSetting(profile, setting::kBackgroundLastImagePath);
    m_bPromptDrag = ReadSetting(profile, setting::kBackgroundPromptDrag);
}

void CBackgroundSettings::Save(Profile& profile) const
{
    WriteSetting(profile, setting::kBackgroundImageOn, m_bEnableImage);
    WriteSetting(profile, setting::kBackgroundDisplayMode, std::uint32_t(m_nDisplayMode));
    WriteSetting(profile, setting::kBackgroundColor, m_crBkColor);
    WriteSetting(profile, setting::kBackgroundImageFile, m_strFileName);
    WriteSetting(profile, setting::kBackgroundPromptDrag, m_bPromptDrag);
}

const std::string& CBackgroundSettings::SetImageEnabled(bool on)
{
    m_bEnableImage = on;
    if (!on)
        m_strFileName.clear();
    else if (!IsExistingFile(m_strFileName))
        m_strFileName = m_strLastImagePath;
    return m_strFileName;
}

void CBackgroundSettings::Reset()
{
    m_nDisplayMode = BackgroundMode::Stretch;
    m_bEnableImage = true;
    m_strFileName = DefaultImageFile().string();
    m_crBkColor = kResetColor;
}

}  // namespace tavlix
