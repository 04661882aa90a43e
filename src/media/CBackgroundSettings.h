#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/SettingsTable.h"

namespace tavlix {

class Profile;

// How the background image fills the main window's client area.
enum class BackgroundMode : std::uint32_t { Tile = 0, Center = 1, Stretch = 2 };

// Sizes and rectangles in device-independent pixels, the origin at the top left.
struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where copies of an image of imageSize go in an area of areaSize: tiles from the top
// left corner, as many rows and columns as cover the area and no more; one copy in the
// middle (offsets in integer halves, negative when the image is the larger, so that its
// middle shows); or one copy stretched over the whole area. Nothing for an empty image
// or area.
std::vector<PixelRect> ImagePlacements(BackgroundMode mode, PixelSize areaSize, PixelSize imageSize);
// The top left corner of a centred image: ((w - bw) / 2, (h - bh) / 2).
PixelRect CenteredRect(PixelSize areaSize, PixelSize imageSize);

// The local files of a drop, in their order: trimmed of blanks and line ends, existing,
// and files rather than folders.
std::vector<std::filesystem::path> DroppedFiles(const std::vector<std::string>& paths);

// The main window's background: colour, image file, display mode and whether the image
// is shown, kept per user in the settings. The bitmap itself belongs to the window; this
// says which file it should hold.
class CBackgroundSettings {
public:
    static constexpr std::uint32_t kDefaultColor = setting::kBackgroundColor.defaultValue;  // 0x00BBGGRR
    static constexpr std::uint32_t kResetColor = 0xC0C0C0;
    static constexpr BackgroundMode kDefaultMode = BackgroundMode(setting::kBackgroundDisplayMode.defaultValue);

    // programDirectory: where images/back.bmp, the image shipped with the program, is.
    explicit CBackgroundSettings(std::filesystem::path programDirectory);

    // The stored values, the image file empty when the image is off; missing values take
    // their defaults.
    void Load(const Profile& profile);
    // Every value but the last image path, which the program only reads.
    void Save(Profile& profile) const;

    // Switching on keeps the current file when it exists and takes the last image path
    // otherwise; switching off forgets the file. Returns the file to load, empty when
    // there is none.
    const std::string& SetImageEnabled(bool on);
    // The factory look: stretched, image on, the shipped image, the reset colour.
    void Reset();

    std::filesystem::path DefaultImageFile() const;
    // A stored display mode as the program takes it over: 0, 1 and 2 stay, anything
    // else tiles.
    static BackgroundMode ModeFromStored(std::uint32_t stored);

    bool m_bEnableImage = true;
    BackgroundMode m_nDisplayMode = kDefaultMode;
    std::uint32_t m_crBkColor = kDefaultColor;
    std::string m_strFileName;
    std::string m_strLastImagePath;
    bool m_bPromptDrag = true;

private:
    std::filesystem::path m_programDirectory;
};

}  // namespace tavlix
