#include "platform/qt/AudioSinkPump.h"

#include <QAudioFormat>
#include <QAudioSink>

#include "platform/qt/SoundMixer.h"

namespace tavlix {

namespace {

constexpr int kBytesPerFrame = 2 * int(sizeof(std::int16_t));
// What the server holds ahead: the delay before a new sound is heard.
constexpr int kBufferMilliseconds = 30;
// Refilled this often, leaving the rest of the buffer as a margin for a late tick.
constexpr int kTickMilliseconds = 10;
// Silent for this long, the sink pauses.
constexpr int kQuietTicksBeforePause = 2000 / kTickMilliseconds;

QAudioFormat MixFormat()
{
    QAudioFormat format;
    format.setSampleRate(SoundMixer::kRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

}  // namespace

AudioSinkPump::AudioSinkPump(SoundMixer& mixer) : m_mixer(mixer), m_tick(this)
{
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(kTickMilliseconds);
    connect(&m_tick, &QTimer::timeout, this, &AudioSinkPump::TopUp);
}

AudioSinkPump::~AudioSinkPump() = default;

void AudioSinkPump::Wake()
{
    if (!m_sink) {
        m_sink = std::make_unique<QAudioSink>(MixFormat());
        m_sink->setBufferSize(SoundMixer::kRate * kBytesPerFrame * kBufferMilliseconds / 1000);
        m_input = m_sink->start();
    } else if (m_sink->state() == QAudio::SuspendedState) {
        m_sink->resume();
    }
    if (!m_input)
        return;
    m_quietTicks = 0;
    if (!m_tick.isActive())
        m_tick.start();
    // The new sound goes out now, not at the next tick.
    TopUp();
}

void AudioSinkPump::Shut()
{
    m_tick.stop();
    m_input = nullptr;
    m_sink.reset();
}

void AudioSinkPump::TopUp()
{
    const int freeFrames = int(m_sink->bytesFree() / kBytesPerFrame);
    if (freeFrames > 0) {
        const int queuedFrames = int(m_sink->bufferSize() / kBytesPerFrame) - freeFrames;
        m_block.resize(std::size_t(2 * freeFrames));
        m_mixer.Render(m_block.data(), freeFrames, std::max(queuedFrames, 0));
        m_input->write(reinterpret_cast<const char*>(m_block.data()), qint64(freeFrames) * kBytesPerFrame);
    }
    if (!m_mixer.IsIdle())
        m_quietTicks = 0;
    else if (++m_quietTicks >= kQuietTicksBeforePause) {
        m_tick.stop();
        m_sink->suspend();
    }
}

}  // namespace tavlix
