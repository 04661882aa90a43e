#include "media/WindowBackground.h"

#include <QImageReader>
#include <QPainter>

#include "settings/Profile.h"

namespace tavlix {

WindowBackground::WindowBackground(std::filesystem::path programDirectory, std::function<void()> redraw)
    : m_settings(std::move(programDirectory)), m_redraw(std::move(redraw))
{
}

QColor WindowBackground::ToQColor(std::uint32_t colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

std::uint32_t WindowBackground::FromQColor(const QColor& color)
{
    return std::uint32_t(color.red()) | std::uint32_t(color.green()) << 8 | std::uint32_t(color.blue()) << 16;
}

void WindowBackground::Load(const Profile& profile)
{
    m_settings.Load(profile);
    SetImageEnabled(m_settings.m_bEnableImage);
}

void WindowBackground::FreeBitmap() { m_bitmap = QImage(); }

void WindowBackground::SetImageEnabled(bool on)
{
    const std::string file = m_settings.SetImageEnabled(on);
    if (!on)
        FreeBitmap();
    else if (!file.empty())
        LoadBitmap(file);
    if (m_redraw)
        m_redraw();
}

bool WindowBackground::LoadBitmap(const std::filesystem::path& file)
{
    // The format is fixed, so that a file of another kind is refused whatever its name.
    QImageReader reader(QString::fromStdString(file.string()), "bmp");
    reader.setDecideFormatFromContent(false);
    QImage bitmap = reader.read();
    if (bitmap.isNull())
        return false;
    m_bitmap = std::move(bitmap);
    m_settings.m_strFileName = file.string();
    if (m_redraw)
        m_redraw();
    return true;
}

void WindowBackground::SetMode(BackgroundMode mode)
{
    m_settings.m_nDisplayMode = mode;
    if (m_redraw)
        m_redraw();
}

void WindowBackground::SetColor(std::uint32_t colorRef)
{
    m_settings.m_crBkColor = colorRef;
    if (m_redraw)
        m_redraw();
}

void WindowBackground::Reset()
{
    m_settings.Reset();
    FreeBitmap();
    if (!LoadBitmap(m_settings.DefaultImageFile()))
        m_settings.m_strFileName.clear();
    if (m_redraw)
        m_redraw();
}

bool WindowBackground::TakeDroppedBitmap(const std::vector<std::filesystem::path>& files)
{
    for (const std::filesystem::path& file : files) {
        if (LoadBitmap(file)) {
            m_settings.m_bEnableImage = true;
            return true;
        }
    }
    return false;
}

void WindowBackground::Paint(QPainter& painter, const QRect& area) const
{
    painter.fillRect(area, Color());
    if (m_bitmap.isNull())
        return;
    const PixelSize areaSize{area.width(), area.height()};
    const PixelSize imageSize{m_bitmap.width(), m_bitmap.height()};
    for (const PixelRect& r : ImagePlacements(m_settings.m_nDisplayMode, areaSize, imageSize))
        painter.drawImage(QRect(area.x() + r.x, area.y() + r.y, r.width, r.height), m_bitmap);
}

}  // namespace tavlix
