#include "media/BitmapFile.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace tavlix {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the oldest header, with 16-bit sizes
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;

std::uint32_t Little(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

}  // namespace

bool IsWholeBitmap(const std::filesystem::path& file)
{
    std::array<unsigned char, kFileHeaderSize + kInfoHeaderSize> head{};
    std::ifstream in(file, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    if (in.gcount() < std::streamsize(kFileHeaderSize + kCoreHeaderSize) || head[0] != 'B' || head[1] != 'M')
        return false;
    const unsigned char* info = head.data() + kFileHeaderSize;
    const std::uint32_t infoSize = Little(info, 4);
    const bool core = infoSize == kCoreHeaderSize;
    if (!core && (infoSize < kInfoHeaderSize || in.gcount() < std::streamsize(head.size())))
        return false;
    // The newer headers' sizes are signed: a negative height stores the rows top-down.
    const std::int64_t width = core ? std::int64_t(Little(info + 4, 2)) : std::int32_t(Little(info + 4, 4));
    const std::int64_t height = core ? std::int64_t(Little(info + 6, 2)) : std::int32_t(Little(info + 8, 4));
    const std::int64_t bitsPerPixel = Little(info + (core ? 10 : 14), 2);
    const std::uint32_t compression = core ? 0 : Little(info + 16, 4);
    if (width <= 0 || height == 0 || bitsPerPixel == 0)
        return false;
    const std::int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    const bool runLength = compression == kRunLength8 || compression == kRunLength4;
    const std::int64_t pixelBytes = runLength ? std::int64_t(Little(info + 20, 4)) : rowBytes * std::llabs(height);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    return !ec && std::int64_t(Little(head.data() + 10, 4)) + pixelBytes <= std::int64_t(size);
}

}  // namespace tavlix
