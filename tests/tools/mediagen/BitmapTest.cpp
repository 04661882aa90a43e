// The committed background is a plain 24-bit Windows bitmap of 640 x 480, and the
// writer pads rows and orders them as readers expect.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Bitmap.h"
#include "CommittedMedia.h"

namespace tavlix {
namespace {

using testing::LittleEndian;

struct Header {
    std::uint32_t fileSize, offset, infoSize, width, height, planes, bits, compression, imageSize;
    bool operator==(const Header&) const = default;
};

Header ReadHeader(const std::vector<std::uint8_t>& b)
{
    return {LittleEndian(b, 2, 4),  LittleEndian(b, 10, 4), LittleEndian(b, 14, 4),
            LittleEndian(b, 18, 4), LittleEndian(b, 22, 4), LittleEndian(b, 26, 2),
            LittleEndian(b, 28, 2), LittleEndian(b, 30, 4), LittleEndian(b, 34, 4)};
}

// Soft enough for text on it: every pixel light, no hard contrast anywhere.
TEST(BitmapTest, CommittedBackgroundIsAPlainBottomUpBitmapLightAndQuiet)
{
    const std::vector<std::uint8_t> b = testing::ReadBytes(testing::DataDirectory() / "images" / "back.bmp");
    constexpr std::uint32_t kImageSize = 640u * 3 * 480;
    ASSERT_EQ(b.size(), 54u + kImageSize);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 2), "BM");
    // A positive height: bottom-up.
    EXPECT_EQ(ReadHeader(b), (Header{54u + kImageSize, 54, 40, 640, 480, 1, 24, 0, kImageSize}));
    const auto [darkest, lightest] = std::minmax_element(b.begin() + 54, b.end());
    EXPECT_GE(*darkest, 150);
    EXPECT_LE(*lightest - *darkest, 90);
}

TEST(BitmapTest, RowsArePaddedBottomUpInBlueGreenRedOrder)
{
    mediagen::Bitmap picture(3, 2);
    picture.Set(0, 0, {1, 2, 3});  // top left
    picture.Set(2, 1, {4, 5, 6});  // bottom right
    const std::vector<std::uint8_t> b = picture.Encode();
    ASSERT_EQ(b.size(), 54u + 24u);  // 9 bytes a row, padded to 12
    EXPECT_EQ(ReadHeader(b), (Header{78, 54, 40, 3, 2, 1, 24, 0, 24}));
    const std::vector<std::uint8_t> pixels(b.begin() + 54, b.end());
    const std::vector<std::uint8_t> expected{
        0, 0, 0, 0, 0, 0, 6, 5, 4, 0, 0, 0,  // bottom row first
        3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(pixels, expected);
}

}  // namespace
}  // namespace tavlix
