#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "platform/qt/SoundOutput.h"

struct _snd_pcm;

namespace tavlix {

class SoundMixer;

// The mixer's stream written to ALSA's default device, for a machine without a sound
// server. A thread of ours writes a block at a time into a short buffer, so that a new
// sound is heard at once, and sleeps while nothing plays, so that a quiet program costs
// nothing.
class AlsaOutput : public SoundOutput {
public:
    // Opens the default device; nullptr when there is none or it is busy.
    static std::unique_ptr<AlsaOutput> Open(SoundMixer& mixer);
    ~AlsaOutput() override;
    AlsaOutput(const AlsaOutput&) = delete;
    AlsaOutput& operator=(const AlsaOutput&) = delete;

    // A sleeping thread writes again.
    void Wake() override;
    bool IsAlive() const override;

private:
    AlsaOutput(SoundMixer& mixer, _snd_pcm* device);
    void Play(const std::stop_token& stop);
    bool Write(const std::vector<std::int16_t>& block);
    // False when asked to stop while waiting.
    bool SleepUntilWoken(const std::stop_token& stop);

    SoundMixer& m_mixer;
    _snd_pcm* m_device;
    std::mutex m_lock;  // between a new sound and the thread lying down
    std::condition_variable_any m_woken;
    std::atomic<bool> m_alive{true};
    std::jthread m_thread;
};

}  // namespace tavlix
