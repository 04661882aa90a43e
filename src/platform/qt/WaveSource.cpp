#include "platform/qt/WaveSource.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>

namespace tavlix {

namespace {

constexpr long kChunkFrames = 1024;

}  // namespace

std::unique_ptr<WaveSource> WaveSource::Open(const std::filesystem::path& file, int rate)
{
    SF_INFO info{};
    SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &info);
    if (!sound)
        return nullptr;
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(sound);
        return nullptr;
    }
    std::unique_ptr<WaveSource> source(new WaveSource(sound, info.channels, info.samplerate, rate, long(info.frames)));
    if (info.samplerate != rate) {
        int error = 0;
        source->m_converter = src_callback_new(&WaveSource::FeedConverter, SRC_SINC_FASTEST, 2, &error, source.get());
        if (!source->m_converter)
            return nullptr;
    }
    return source;
}

WaveSource::WaveSource(SNDFILE* file, int channels, int fileRate, int rate, long fileFrames)
    : m_file(file), m_channels(channels), m_ratio(double(rate) / fileRate), m_fileFrames(fileFrames)
{
}

WaveSource::~WaveSource()
{
    if (m_converter)
        src_delete(m_converter);
    sf_close(m_file);
}

long WaveSource::Read(float* stereo, long frames)
{
    if (!m_converter)
        return ReadFile(stereo, frames);
    return src_callback_read(m_converter, m_ratio, frames, stereo);
}

long WaveSource::ReadFile(float* stereo, long frames)
{
    m_raw.resize(std::size_t(frames * m_channels));
    const long got = long(sf_readf_float(m_file, m_raw.data(), frames));
    for (long i = 0; i < got; ++i) {
        const float* frame = m_raw.data() + i * m_channels;
        stereo[2 * i] = frame[0];
        stereo[2 * i + 1] = frame[m_channels > 1 ? 1 : 0];
    }
    return got;
}

long WaveSource::FeedConverter(void* self, float** data)
{
    auto& source = *static_cast<WaveSource*>(self);
    source.m_fed.resize(2 * kChunkFrames);
    *data = source.m_fed.data();
    return source.ReadFile(source.m_fed.data(), kChunkFrames);
}

void WaveSource::Rewind()
{
    sf_seek(m_file, 0, SEEK_SET);
    if (m_converter)
        src_reset(m_converter);
}

long WaveSource::Frames() const { return long(double(m_fileFrames) * m_ratio); }

std::vector<float> WaveSource::ReadAll()
{
    // The converter may give a frame more or less than the rates' ratio promises.
    std::vector<float> sound(std::size_t(2 * (Frames() + kChunkFrames)));
    long frames = 0;
    for (long got = 1; got > 0; frames += got) {
        if (std::size_t(2 * (frames + kChunkFrames)) > sound.size())
            sound.resize(sound.size() + std::size_t(2 * kChunkFrames));
        got = Read(sound.data() + 2 * frames, kChunkFrames);
    }
    sound.resize(std::size_t(2 * frames));
    return sound;
}

}  // namespace tavlix
