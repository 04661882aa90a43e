#include "Bitmap.h"

namespace tavlix::mediagen {

namespace {

void AppendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

}  // namespace

Bitmap::Bitmap(int width, int height)
    : m_width(width), m_height(height), m_pixels(std::size_t(width) * std::size_t(height))
{
}

std::vector<std::uint8_t> Bitmap::Encode() const
{
    constexpr std::uint32_t kFileHeader = 14;
    constexpr std::uint32_t kInfoHeader = 40;
    const std::uint32_t rowBytes = (std::uint32_t(m_width) * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(m_height);
    constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

    std::vector<std::uint8_t> out{'B', 'M'};
    out.reserve(kFileHeader + kInfoHeader + imageBytes);
    AppendLittleEndian(out, kFileHeader + kInfoHeader + imageBytes, 4);
    AppendLittleEndian(out, 0, 4);  // reserved
    AppendLittleEndian(out, kFileHeader + kInfoHeader, 4);
    AppendLittleEndian(out, kInfoHeader, 4);
    AppendLittleEndian(out, std::uint32_t(m_width), 4);
    AppendLittleEndian(out, std::uint32_t(m_height), 4);  // positive: bottom-up rows
    AppendLittleEndian(out, 1, 2);                        // planes
    AppendLittleEndian(out, 24, 2);                       // bits per pixel
    AppendLittleEndian(out, 0, 4);                        // BI_RGB, no compression
    AppendLittleEndian(out, imageBytes, 4);
    AppendLittleEndian(out, kPixelsPerMetre, 4);
    AppendLittleEndian(out, kPixelsPerMetre, 4);
    AppendLittleEndian(out, 0, 4);  // no palette
    AppendLittleEndian(out, 0, 4);
    for (int y = m_height - 1; y >= 0; --y) {
        for (int x = 0; x < m_width; ++x) {
            const Rgb c = At(x, y);
            out.insert(out.end(), {c.blue, c.green, c.red});
        }
        out.resize(out.size() + (rowBytes - std::uint32_t(m_width) * 3), 0);
    }
    return out;
}

}  // namespace tavlix::mediagen
