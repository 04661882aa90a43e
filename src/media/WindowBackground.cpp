#include "media/WindowBackground.h"

#include <QImageReader>
#include <QPainter>

#include <memory>

#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "media/BitmapFile.h"
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

namespace {

// A reader of the file as a BMP: the format is fixed, so that a file of another kind is
// refused whatever its name.
std::unique_ptr<QImageReader> BitmapReader(const std::filesystem::path& file)
{
    auto reader = std::make_unique<QImageReader>(QString::fromStdString(file.string()), "bmp");
    reader->setDecideFormatFromContent(false);
    return reader;
}

// Whether the decoded image would take more memory than image readers allow one image.
bool ExceedsAllocationLimit(const QImageReader& reader)
{
    const QSize size = reader.size();
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    const qint64 bits = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    return limit > 0 && size.isValid() && (qint64(size.width()) * bits + 31) / 32 * 4 * size.height() > limit;
}

}  // namespace

WindowBackground::BitmapLoad WindowBackground::LoadBitmap(const std::filesystem::path& file)
{
    if (!IsWholeBitmap(file))
        return BitmapLoad::Unreadable;
    const std::unique_ptr<QImageReader> reader = BitmapReader(file);
    if (ExceedsAllocationLimit(*reader))
        return BitmapLoad::TooLarge;
    QImage bitmap = reader->read();
    if (bitmap.isNull())
        return BitmapLoad::Unreadable;
    m_bitmap = std::move(bitmap);
    m_settings.m_strFileName = file.string();
    if (m_redraw)
        m_redraw();
    return BitmapLoad::Loaded;
}

QString WindowBackground::TooLargeText(const LanguageState& language, const std::filesystem::path& file)
{
    const QSize size = BitmapReader(file)->size();
    return ToQString(language.GetLocalizedString(IDS_BACKGROUND_IMAGE_TOO_LARGE, file.string(),
                                                 std::to_string(size.width()) + " \u00D7 " +
                                                     std::to_string(size.height())));
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
    if (LoadBitmap(m_settings.DefaultImageFile()) != BitmapLoad::Loaded)
        m_settings.m_strFileName.clear();
    if (m_redraw)
        m_redraw();
}

bool WindowBackground::TakeDroppedBitmap(const std::vector<std::filesystem::path>& files,
                                         std::filesystem::path& tooLarge)
{
    tooLarge.clear();
    for (const std::filesystem::path& file : files) {
        const BitmapLoad load = LoadBitmap(file);
        if (load == BitmapLoad::Loaded) {
            m_settings.m_bEnableImage = true;
            return true;
        }
        if (load == BitmapLoad::TooLarge && tooLarge.empty())
            tooLarge = file;
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
