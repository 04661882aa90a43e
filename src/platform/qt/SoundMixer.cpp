#include "platform/qt/SoundMixer.h"

#include <algorithm>
#include <cmath>

#include "platform/qt/Synthesiser.h"

namespace tavlix {

namespace {

// A round of the sequence lasts at least this long, however short the file: a track
// with no notes would otherwise end, and be started again by its listener, at once and
// for ever.
constexpr std::int64_t kShortestRoundFrames = SoundMixer::kRate;

std::int64_t Milliseconds(std::int64_t frames) { return frames * 1000 / SoundMixer::kRate; }

std::int16_t ToSample(float value) { return std::int16_t(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f)); }

}  // namespace

SoundMixer::SoundMixer(EndHandler onSequenceEnd) : m_onSequenceEnd(std::move(onSequenceEnd)) {}

SoundMixer::~SoundMixer() = default;

bool SoundMixer::OpenSequence(std::vector<char> midi)
{
    // The font loads outside the lock, so that a waveform playing meanwhile goes on.
    auto synth = m_synth ? nullptr : std::make_unique<Synthesiser>(kRate);
    std::lock_guard lock(m_lock);
    if (synth)
        m_synth = std::move(synth);
    if (!m_synth->IsReady())
        return false;
    m_synth->Load(std::move(midi));
    m_sequence = Sequence::Stopped;
    m_sequenceFrames = 0;
    return true;
}

void SoundMixer::PlaySequence(unsigned play, bool fromStart)
{
    std::lock_guard lock(m_lock);
    if (m_sequence == Sequence::Closed)
        return;
    if (fromStart || m_synth->HasEnded()) {
        m_synth->PlayFromStart();
        m_sequenceFrames = 0;
        m_startRequested = std::chrono::steady_clock::now();
    } else {
        m_synth->Resume();
    }
    m_play = play;
    m_roundFrames = 0;
    m_sequence = Sequence::Playing;
}

void SoundMixer::PauseSequence()
{
    std::lock_guard lock(m_lock);
    if (m_sequence != Sequence::Playing)
        return;
    m_synth->Pause();
    m_sequence = Sequence::Stopped;
}

void SoundMixer::CloseSequence()
{
    std::lock_guard lock(m_lock);
    if (m_synth)
        m_synth->Close();
    m_sequence = Sequence::Closed;
    m_sequenceFrames = 0;
}

void SoundMixer::PlayWave(WaveVoice voice)
{
    std::lock_guard lock(m_lock);
    m_wave = std::move(voice);
    m_clipAt = 0;
    m_waveFrames = 0;
    m_startRequested = std::chrono::steady_clock::now();
}

void SoundMixer::PurgeWave()
{
    std::optional<WaveVoice> purged;
    {
        std::lock_guard lock(m_lock);
        purged.swap(m_wave);
    }
    // A streamed file closes here, outside the lock.
}

std::int64_t SoundMixer::SequenceMilliseconds() const
{
    std::lock_guard lock(m_lock);
    return Milliseconds(m_sequenceFrames);
}

std::int64_t SoundMixer::WaveMilliseconds() const
{
    std::lock_guard lock(m_lock);
    return m_wave ? Milliseconds(m_waveFrames) : 0;
}

bool SoundMixer::IsSequencePlaying() const
{
    std::lock_guard lock(m_lock);
    return m_sequence == Sequence::Playing;
}

bool SoundMixer::IsWavePlaying() const
{
    std::lock_guard lock(m_lock);
    return m_wave.has_value();
}

std::optional<std::chrono::microseconds> SoundMixer::LastStartLatency() const
{
    std::lock_guard lock(m_lock);
    return m_startLatency;
}

bool SoundMixer::IsIdle() const
{
    std::lock_guard lock(m_lock);
    return m_sequence != Sequence::Playing && !m_wave && !(m_synth && m_synth->IsSounding());
}

void SoundMixer::Render(std::int16_t* stereo, int frames, int queuedFrames)
{
    std::lock_guard lock(m_lock);
    m_left.assign(std::size_t(frames), 0.0f);
    m_right.assign(std::size_t(frames), 0.0f);
    NoteStart(queuedFrames);
    if (m_synth)
        m_synth->Render(frames, m_left.data(), m_right.data());
    MixWave(frames);
    AdvanceSequence(frames);
    for (std::size_t i = 0; i < std::size_t(frames); ++i) {
        stereo[2 * i] = ToSample(m_left[i]);
        stereo[2 * i + 1] = ToSample(m_right[i]);
    }
}

void SoundMixer::NoteStart(int queuedFrames)
{
    if (!m_startRequested)
        return;
    const auto waited = std::chrono::steady_clock::now() - *m_startRequested;
    m_startLatency = std::chrono::duration_cast<std::chrono::microseconds>(waited)
                     + std::chrono::microseconds(std::int64_t(queuedFrames) * 1000000 / kRate);
    m_startRequested.reset();
}

void SoundMixer::MixWave(int frames)
{
    if (!m_wave)
        return;
    m_waveBlock.assign(std::size_t(2 * frames), 0.0f);
    long done = ReadWave(m_waveBlock.data(), frames);
    // A looping sound goes into its next round; an empty one has no round to loop.
    while (done < frames && m_wave->loop && m_waveFrames + done > 0) {
        m_clipAt = 0;
        if (m_wave->stream)
            m_wave->stream->Rewind();
        const long got = ReadWave(m_waveBlock.data() + 2 * done, frames - done);
        if (got == 0)
            break;
        done += got;
    }
    for (std::size_t i = 0; i < std::size_t(done); ++i) {
        m_left[i] += m_waveBlock[2 * i];
        m_right[i] += m_waveBlock[2 * i + 1];
    }
    m_waveFrames += done;
    if (done < frames)
        m_wave.reset();
}

long SoundMixer::ReadWave(float* stereo, long frames)
{
    if (m_wave->stream)
        return m_wave->stream->Read(stereo, frames);
    const std::vector<float>& clip = *m_wave->clip;
    const std::size_t count = std::min(std::size_t(2 * frames), clip.size() - m_clipAt);
    std::copy_n(clip.begin() + std::ptrdiff_t(m_clipAt), count, stereo);
    m_clipAt += count;
    return long(count / 2);
}

void SoundMixer::AdvanceSequence(int frames)
{
    if (m_sequence != Sequence::Playing)
        return;
    m_sequenceFrames += frames;
    m_roundFrames += frames;
    if (!m_synth->HasEnded() || m_roundFrames < kShortestRoundFrames)
        return;
    m_sequence = Sequence::Stopped;
    m_onSequenceEnd(m_play);
}

}  // namespace tavlix
