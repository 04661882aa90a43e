#include "platform/qt/AlsaOutput.h"

#include <alsa/asoundlib.h>

#include "platform/qt/SoundMixer.h"

namespace tavlix {

namespace {

// The device holds 28 ms ahead and takes 14 ms at a time, as the server's stream does.
constexpr unsigned kBufferMicroseconds = 28'000;
constexpr int kBlockFrames = SoundMixer::kRate * 14 / 1000;
// Silent for this long, the thread sleeps.
constexpr std::int64_t kQuietFramesBeforeSleep = 2 * SoundMixer::kRate;

}  // namespace

std::unique_ptr<AlsaOutput> AlsaOutput::Open(SoundMixer& mixer)
{
    snd_pcm_t* device = nullptr;
    // Not blocking on a device another program holds; writes block, as they pace the thread.
    if (snd_pcm_open(&device, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    if (snd_pcm_nonblock(device, 0) < 0
        || snd_pcm_set_params(device, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 2, SoundMixer::kRate,
                              1, kBufferMicroseconds)
               < 0) {
        snd_pcm_close(device);
        return nullptr;
    }
    return std::unique_ptr<AlsaOutput>(new AlsaOutput(mixer, device));
}

AlsaOutput::AlsaOutput(SoundMixer& mixer, snd_pcm_t* device)
    : m_mixer(mixer), m_device(device), m_thread([this](const std::stop_token& stop) { Play(stop); })
{
}

AlsaOutput::~AlsaOutput()
{
    m_thread.request_stop();
    m_thread.join();
    snd_pcm_close(m_device);
}

void AlsaOutput::Play(const std::stop_token& stop)
{
    std::vector<std::int16_t> block(2 * kBlockFrames);
    std::int64_t quietFrames = 0;
    while (!stop.stop_requested()) {
        if (quietFrames >= kQuietFramesBeforeSleep) {
            snd_pcm_drop(m_device);
            if (!SleepUntilWoken(stop))
                return;
            snd_pcm_prepare(m_device);
            quietFrames = 0;
        }
        snd_pcm_sframes_t queued = 0;
        if (snd_pcm_delay(m_device, &queued) < 0 || queued < 0)
            queued = 0;
        m_mixer.Render(block.data(), kBlockFrames, int(queued));
        if (!Write(block)) {
            m_alive = false;
            return;
        }
        quietFrames = m_mixer.IsIdle() ? quietFrames + kBlockFrames : 0;
    }
}

bool AlsaOutput::Write(const std::vector<std::int16_t>& block)
{
    const std::int16_t* next = block.data();
    auto left = snd_pcm_uframes_t(kBlockFrames);
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(m_device, next, left);
        // An underrun after a busy moment, or a suspended card: start again behind it.
        if (written < 0)
            written = snd_pcm_recover(m_device, int(written), 1);
        if (written < 0)
            return false;
        next += 2 * written;
        left -= snd_pcm_uframes_t(written);
    }
    return true;
}

// The mixer is asked under m_lock, which Wake takes after a new sound reached the mixer,
// so a sound that comes as the thread lies down still wakes it.
bool AlsaOutput::SleepUntilWoken(const std::stop_token& stop)
{
    std::unique_lock lock(m_lock);
    return m_woken.wait(lock, stop, [this] { return !m_mixer.IsIdle(); });
}

void AlsaOutput::Wake()
{
    { std::lock_guard lock(m_lock); }
    m_woken.notify_one();
}

bool AlsaOutput::IsAlive() const { return m_alive; }

}  // namespace tavlix
