#pragma once

#include <QColor>
#include <QImage>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "media/CBackgroundSettings.h"

class QPainter;
class QRect;

namespace tavlix {

class LanguageState;
class Profile;

// The main window's background as it is painted: the settings and the bitmap they name.
// Every change asks the window to redraw through the function given.
class WindowBackground {
public:
    WindowBackground(std::filesystem::path programDirectory, std::function<void()> redraw);

    const CBackgroundSettings& Settings() const { return m_settings; }
    const QImage& Bitmap() const { return m_bitmap; }
    QColor Color() const { return ToQColor(m_settings.m_crBkColor); }

    // The stored settings, applied: colour, image file, then the image switched on or off.
    void Load(const Profile& profile);
    void Save(Profile& profile) const { m_settings.Save(profile); }

    // On: the current file, or the last image path when it is missing, is loaded. Off: the
    // bitmap is freed and the file forgotten.
    void SetImageEnabled(bool on);
    // Reads file as a BMP and shows it. Anything but Loaded keeps the old image and file:
    // a file that is no whole, readable bitmap, or one too large to show.
    enum class BitmapLoad { Loaded, Unreadable, TooLarge };
    BitmapLoad LoadBitmap(const std::filesystem::path& file);
    void SetMode(BackgroundMode mode);
    void SetColor(std::uint32_t colorRef);
    void SetPromptDrag(bool prompt) { m_settings.m_bPromptDrag = prompt; }
    // The factory look; the shipped image when it loads, no image and no file otherwise.
    void Reset();
    // The first of files that loads as a bitmap becomes the image, switched on; false
    // when none does, with the first that was too large to show, if any, in tooLarge.
    bool TakeDroppedBitmap(const std::vector<std::filesystem::path>& files, std::filesystem::path& tooLarge);

    // Fills area with the colour and draws the bitmap over it in the display mode.
    void Paint(QPainter& painter, const QRect& area) const;

    // "The picture ... is 6000 × 6000 pixels, too large ...", for a file LoadBitmap found
    // TooLarge.
    static QString TooLargeText(const LanguageState& language, const std::filesystem::path& file);

    // COLORREF (0x00BBGGRR) and back.
    static QColor ToQColor(std::uint32_t colorRef);
    static std::uint32_t FromQColor(const QColor& color);

private:
    void FreeBitmap();

    CBackgroundSettings m_settings;
    QImage m_bitmap;
    std::function<void()> m_redraw;
};

}  // namespace tavlix
