// The committed background is a plain 24-bit Windows bitmap of 640 x 480, and the
// writer pads rows and orders them as readers expect.
#include <gtest/gtest.h>

#include "Bitmap.h"
#include "CommittedMedia.h"

namespace tavlix {
namespace {

using testing::LittleEndian;

struct Header {
    std::uint32_t fileSize, offset, infoSize, width, height, planes, bits, compression, imageSize;
};

Header ReadHeader(const std::vector<std::uint8_t>& b)
{
    return {LittleEndian(b, 2, 4),  LittleEndian(b, 10, 4), LittleEndian(b, 14, 4),
            LittleEndian(b, 18, 4), LittleEndian(b, 22, 4), LittleEndian(b, 26, 2),
            LittleEndian(b, 28, 2), LittleEndian(b, 30, 4), LittleEndian(b, 34, 4)};
}

TEST(BitmapTest, CommittedBackgroundHeaders)
{
    const std::vector<std::uint8_t> b = testing::ReadBytes(testing::DataDirectory() / "images" / "back.bmp");
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const Header h = ReadHeader(b);
    EXPECT_EQ(h.fileSize, b.size());
    EXPECT_EQ(h.offset, 54u);
    EXPECT_EQ(h.infoSize, 40u);
    EXPECT_EQ(h.width, 640u);
    EXPECT_EQ(h.height, 480u);  // positive: bottom-up
    EXPECT_EQ(h.planes, 1u);
    EXPECT_EQ(h.bits, 24u);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.imageSize, 640u * 3 * 480);
    EXPECT_EQ(b.size(), 54u + h.imageSize);
}

// Soft enough for text on it: every pixel light, no hard contrast anywhere.
TEST(BitmapTest, CommittedBackgroundIsLightAndQuiet)
{
    const std::vector<std::uint8_t> b = testing::ReadBytes(testing::DataDirectory() / "images" / "back.bmp");
    ASSERT_EQ(b.size(), 54u + 640u * 3 * 480);
    int darkest = 255, lightest = 0;
    for (std::size_t at = 54; at < b.size(); ++at) {
        darkest = std::min(darkest, int(b[at]));
        lightest = std::max(lightest, int(b[at]));
    }
    EXPECT_GE(darkest, 150);
    EXPECT_LE(lightest - darkest, 90);
}

TEST(BitmapTest, RowsArePaddedBottomUpInBlueGreenRedOrder)
{
    mediagen::Bitmap picture(3, 2);
    picture.Set(0, 0, {1, 2, 3});  // top left
    picture.Set(2, 1, {4, 5, 6});  // bottom right
    const std::vector<std::uint8_t> b = picture.Encode();
    const Header h = ReadHeader(b);
    EXPECT_EQ(h.width, 3u);
    EXPECT_EQ(h.height, 2u);
    EXPECT_EQ(h.imageSize, 2u * 12);  // 9 bytes a row, padded to 12
    ASSERT_EQ(b.size(), 54u + 24u);
    const std::vector<std::uint8_t> pixels(b.begin() + 54, b.end());
    const std::vector<std::uint8_t> expected{
        0, 0, 0, 0, 0, 0, 6, 5, 4, 0, 0, 0,  // bottom row first
        3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(pixels, expected);
}

}  // namespace
}  // namespace tavlix
