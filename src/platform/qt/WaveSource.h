#pragma once

#include <filesystem>
#include <memory>
#include <vector>

struct sf_private_tag;
struct SRC_STATE_tag;

namespace tavlix {

// A waveform file read as interleaved stereo float frames at the mixer's rate: libsndfile
// reads every PCM and float variant of the format, libsamplerate converts a file of
// another rate. Mono is heard on both sides; of more channels, the first two.
class WaveSource {
public:
    // nullptr for a file that is not a readable sound file.
    static std::unique_ptr<WaveSource> Open(const std::filesystem::path& file, int rate);
    ~WaveSource();
    WaveSource(const WaveSource&) = delete;
    WaveSource& operator=(const WaveSource&) = delete;

    // Up to frames frames into stereo; fewer only at the end of the file.
    long Read(float* stereo, long frames);
    // Back to the first frame, for the next round of a loop.
    void Rewind();
    // The length at the mixer's rate.
    long Frames() const;
    // The whole sound, read once: what a short effect is kept as.
    std::vector<float> ReadAll();

private:
    WaveSource(sf_private_tag* file, int channels, int fileRate, int rate, long fileFrames);
    // Frames straight from the file, at its own rate.
    long ReadFile(float* stereo, long frames);
    static long FeedConverter(void* self, float** data);

    sf_private_tag* m_file;
    SRC_STATE_tag* m_converter = nullptr;  // only when the rates differ
    int m_channels;
    double m_ratio;                        // mixer rate over file rate
    long m_fileFrames;
    std::vector<float> m_raw;              // the file's own channels
    std::vector<float> m_fed;              // stereo input of the converter
};

// What the mixer plays as a waveform: a sound decoded before, or one read while it plays.
struct WaveVoice {
    std::shared_ptr<const std::vector<float>> clip;  // interleaved stereo at the mixer's rate
    std::unique_ptr<WaveSource> stream;
    bool loop = false;
};

}  // namespace tavlix
