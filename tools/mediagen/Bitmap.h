#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavlix::mediagen {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// A picture of width x height pixels, row 0 at the top, stored as the 24-bit Windows
// bitmap the program shows behind its window.
class Bitmap {
public:
    Bitmap(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Set(int x, int y, Rgb colour) { m_pixels[Index(x, y)] = colour; }
    Rgb At(int x, int y) const { return m_pixels[Index(x, y)]; }

    // BITMAPFILEHEADER and BITMAPINFOHEADER (uncompressed, 24 bits), then the rows from
    // the bottom up, each in blue-green-red order and padded to a multiple of 4 bytes.
    std::vector<std::uint8_t> Encode() const;

private:
    std::size_t Index(int x, int y) const { return std::size_t(y) * std::size_t(m_width) + std::size_t(x); }

    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
};

}  // namespace tavlix::mediagen
