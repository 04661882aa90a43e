#include "WaveFile.h"

namespace tavlix::mediagen {

namespace {

void AppendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void AppendTag(std::vector<std::uint8_t>& out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(tag[i]));
}

}  // namespace

std::vector<std::uint8_t> WriteWaveFile(std::span<const std::int16_t> samples, unsigned sampleRate)
{
    constexpr unsigned kChannels = 1;
    constexpr unsigned kBytesPerSample = 2;
    const std::uint32_t dataSize = std::uint32_t(samples.size() * kBytesPerSample);

    std::vector<std::uint8_t> out;
    out.reserve(44 + dataSize);
    AppendTag(out, "RIFF");
    AppendLittleEndian(out, 4 + (8 + 16) + (8 + dataSize), 4);
    AppendTag(out, "WAVE");
    AppendTag(out, "fmt ");
    AppendLittleEndian(out, 16, 4);
    AppendLittleEndian(out, 1, 2);  // integer PCM
    AppendLittleEndian(out, kChannels, 2);
    AppendLittleEndian(out, sampleRate, 4);
    AppendLittleEndian(out, sampleRate * kChannels * kBytesPerSample, 4);
    AppendLittleEndian(out, kChannels * kBytesPerSample, 2);
    AppendLittleEndian(out, kBytesPerSample * 8, 2);
    AppendTag(out, "data");
    AppendLittleEndian(out, dataSize, 4);
    for (const std::int16_t sample : samples)
        AppendLittleEndian(out, std::uint16_t(sample), 2);
    return out;
}

}  // namespace tavlix::mediagen
