// The committed event sounds are short, well-formed 16-bit mono WAVE files, and the
// synthesis they come from is exact enough to be trusted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "CommittedMedia.h"
#include "ToneSynth.h"
#include "WaveFile.h"

namespace tavlix {
namespace {

using testing::LittleEndian;

int Sample(const std::vector<std::uint8_t>& b, std::size_t at) { return std::int16_t(LittleEndian(b, at, 2)); }

// The header of a 16-bit mono PCM file at the rate, its sizes matching the file's.
void ExpectPcmMonoHeader(const std::vector<std::uint8_t>& b, std::uint32_t rate)
{
    ASSERT_GE(b.size(), 44u);
    const std::string tags(b.begin(), b.begin() + 40);
    EXPECT_EQ(tags.substr(0, 4) + tags.substr(8, 8) + tags.substr(36, 4), "RIFFWAVEfmt data");
    // offset, width, value: sizes, PCM, mono, rate, bytes a second and a frame, 16 bits
    const std::uint32_t fields[][3] = {{4, 4, std::uint32_t(b.size() - 8)}, {16, 4, 16}, {20, 2, 1}, {22, 2, 1},
                                       {24, 4, rate}, {28, 4, rate * 2}, {32, 2, 2}, {34, 2, 16},
                                       {40, 4, std::uint32_t(b.size() - 44)}};
    for (const auto& [at, width, value] : fields)
        EXPECT_EQ(LittleEndian(b, at, int(width)), value) << "at " << at;
}

TEST(WaveFileTest, CommittedSoundsAreShortPcmMonoFiles)
{
    const auto files = testing::CommittedFiles("sounds", ".wav");
    ASSERT_EQ(files.size(), 6u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<std::uint8_t> b = testing::ReadBytes(path);
        ExpectPcmMonoHeader(b, 22050);
        EXPECT_TRUE(b.size() > 44 + 4410 && b.size() < 44 + 44100) << "not between 0.1 and 1 second";
        int peak = 0;
        for (std::size_t at = 44; at + 1 < b.size(); at += 2)
            peak = std::max(peak, std::abs(Sample(b, at)));
        EXPECT_TRUE(peak > 8000 && peak < 32767) << "too quiet to hear or clipped: " << peak;
        // Silence at both ends: no click when the sound starts or stops.
        EXPECT_LT(std::abs(Sample(b, 44)) + std::abs(Sample(b, b.size() - 2)), 200);
    }
}

TEST(WaveFileTest, WriterLaysSamplesOutLittleEndian)
{
    const std::int16_t samples[] = {0, 1, -1, 32767, -32768};
    const std::vector<std::uint8_t> b = mediagen::WriteWaveFile(samples, 8000);
    ASSERT_EQ(b.size(), 44u + 10u);
    ExpectPcmMonoHeader(b, 8000);
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 44, b.end()),
              (std::vector<std::uint8_t>{0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x80}));
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
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_NEAR(std::max(-int(*low), int(*high)), 16384, 1);
    // Nothing before the tone starts or after it ends.
    EXPECT_EQ(std::count(samples.begin(), samples.begin() + 100, 0), 100);
    EXPECT_EQ(std::count(samples.begin() + 300, samples.end(), 0), 200);
    EXPECT_EQ(mediagen::ToneSynth(1000, 0.1).Render(0.5), std::vector<std::int16_t>(100, 0));
}

}  // namespace
}  // namespace tavlix
