// The committed event sounds are short, well-formed 16-bit mono WAVE files, and the
// synthesis they come from is exact enough to be trusted.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CommittedMedia.h"
#include "ToneSynth.h"
#include "WaveFile.h"

namespace tavlix {
namespace {

using testing::LittleEndian;

std::string Tag(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::string(b.begin() + long(at), b.begin() + long(at) + 4);
}

TEST(WaveFileTest, CommittedSoundsAreShortPcmMonoFiles)
{
    const auto files = testing::CommittedFiles("sounds", ".wav");
    ASSERT_EQ(files.size(), 6u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<std::uint8_t> b = testing::ReadBytes(path);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(Tag(b, 0), "RIFF");
        EXPECT_EQ(LittleEndian(b, 4, 4), b.size() - 8);
        EXPECT_EQ(Tag(b, 8), "WAVE");
        ASSERT_EQ(Tag(b, 12), "fmt ");
        ASSERT_EQ(LittleEndian(b, 16, 4), 16u);
        EXPECT_EQ(LittleEndian(b, 20, 2), 1u);  // PCM
        EXPECT_EQ(LittleEndian(b, 22, 2), 1u);  // mono
        const std::uint32_t rate = LittleEndian(b, 24, 4);
        EXPECT_EQ(rate, 22050u);
        EXPECT_EQ(LittleEndian(b, 28, 4), rate * 2);  // bytes a second
        EXPECT_EQ(LittleEndian(b, 32, 2), 2u);        // bytes a frame
        EXPECT_EQ(LittleEndian(b, 34, 2), 16u);
        ASSERT_EQ(Tag(b, 36), "data");
        const std::uint32_t dataSize = LittleEndian(b, 40, 4);
        EXPECT_EQ(dataSize, b.size() - 44);
        const double seconds = double(dataSize) / 2 / rate;
        EXPECT_GT(seconds, 0.1);
        EXPECT_LT(seconds, 1.0);

        int peak = 0;
        for (std::size_t at = 44; at + 1 < b.size(); at += 2)
            peak = std::max(peak, std::abs(int(std::int16_t(LittleEndian(b, at, 2)))));
        EXPECT_GT(peak, 8000) << "too quiet to hear";
        EXPECT_LT(peak, 32767) << "clipped";
        // Silence at both ends: no click when the sound starts or stops.
        EXPECT_LT(std::abs(int(std::int16_t(LittleEndian(b, 44, 2)))), 200);
        EXPECT_LT(std::abs(int(std::int16_t(LittleEndian(b, b.size() - 2, 2)))), 200);
    }
}

TEST(WaveFileTest, WriterLaysSamplesOutLittleEndian)
{
    const std::int16_t samples[] = {0, 1, -1, 32767, -32768};
    const std::vector<std::uint8_t> b = mediagen::WriteWaveFile(samples, 8000);
    ASSERT_EQ(b.size(), 44u + 10u);
    EXPECT_EQ(LittleEndian(b, 4, 4), 46u);
    EXPECT_EQ(LittleEndian(b, 24, 4), 8000u);
    EXPECT_EQ(LittleEndian(b, 40, 4), 10u);
    const std::vector<std::uint8_t> data(b.begin() + 44, b.end());
    EXPECT_EQ(data, (std::vector<std::uint8_t>{0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x80}));
}

// The sounds avoid the C library's sin and exp so they rebuild byte for byte
// everywhere; the replacements must still be right.
TEST(WaveFileTest, SynthesisFunctionsAgreeWithTheLibrary)
{
    for (double turns = -3; turns <= 3; turns += 0.0137)
        EXPECT_NEAR(mediagen::Sine(turns), std::sin(2 * 3.14159265358979323846 * turns), 1e-9) << turns;
    for (double x = -60; x <= 2; x += 0.093)
        EXPECT_NEAR(mediagen::Exp(x) / std::exp(x), 1.0, 1e-7) << x;
    EXPECT_EQ(mediagen::Exp(-1000), 0.0);
}

TEST(WaveFileTest, RenderScalesToThePeakAndKeepsSilence)
{
    mediagen::ToneSynth synth(1000, 0.5);
    synth.Add(mediagen::Tone{.start = 0.1, .length = 0.2, .startHz = 50, .endHz = 50, .level = 3});
    const std::vector<std::int16_t> samples = synth.Render(0.5);
    ASSERT_EQ(samples.size(), 500u);
    int peak = 0;
    for (const std::int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    EXPECT_NEAR(peak, 16384, 1);
    for (std::size_t i = 0; i < 100; ++i)
        EXPECT_EQ(samples[i], 0) << i;
    for (std::size_t i = 300; i < 500; ++i)
        EXPECT_EQ(samples[i], 0) << i;
    EXPECT_EQ(mediagen::ToneSynth(1000, 0.1).Render(0.5), std::vector<std::int16_t>(100, 0));
}

}  // namespace
}  // namespace tavlix
