#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/qt/WaveSource.h"

namespace tavlix {

class Synthesiser;

// The sound of the program as one stream: the MIDI sequence from the synthesiser and
// the one waveform over it. The user-interface thread gives the commands; the output's
// thread renders; a lock keeps them apart, held for one block at most.
class SoundMixer {
public:
    static constexpr int kRate = 22050;  // the font's samples gain little above it
    // Called on the rendering thread when play number `play` reached its end.
    using EndHandler = std::function<void(unsigned play)>;

    explicit SoundMixer(EndHandler onSequenceEnd);
    ~SoundMixer();
    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

    // The synthesiser is made at the first call; false when it has no sound font.
    bool OpenSequence(std::vector<char> midi);
    // Play number `play` from the start, or on from where the sequence stopped.
    void PlaySequence(unsigned play, bool fromStart);
    void PauseSequence();
    void CloseSequence();
    void PlayWave(WaveVoice voice);
    void PurgeWave();

    std::int64_t SequenceMilliseconds() const;
    std::int64_t WaveMilliseconds() const;
    bool IsSequencePlaying() const;
    bool IsWavePlaying() const;
    // From the last request of a track or waveform to when its first frame is heard:
    // until it was rendered, plus what the output held before it.
    std::optional<std::chrono::microseconds> LastStartLatency() const;

    // The next frames as interleaved 16-bit stereo; queuedFrames is what the output holds
    // ahead of them.
    void Render(std::int16_t* stereo, int frames, int queuedFrames);
    // Nothing plays and nothing rings out.
    bool IsIdle() const;

private:
    enum class Sequence { Closed, Stopped, Playing };

    void MixWave(int frames);
    long ReadWave(float* stereo, long frames);
    void AdvanceSequence(int frames);
    void NoteStart(int queuedFrames);

    EndHandler m_onSequenceEnd;
    mutable std::mutex m_lock;
    std::unique_ptr<Synthesiser> m_synth;  // made once, by the user-interface thread
    Sequence m_sequence = Sequence::Closed;
    unsigned m_play = 0;
    std::int64_t m_sequenceFrames = 0;  // position of the sequence
    std::int64_t m_roundFrames = 0;     // rendered since the last play or resume
    std::optional<WaveVoice> m_wave;
    std::size_t m_clipAt = 0;           // next sample of a clip
    std::int64_t m_waveFrames = 0;
    std::optional<std::chrono::steady_clock::time_point> m_startRequested;
    std::optional<std::chrono::microseconds> m_startLatency;
    std::vector<float> m_left, m_right, m_waveBlock;
};

}  // namespace tavlix
