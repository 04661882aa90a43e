#include "platform/qt/PulseOutput.h"

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include "platform/qt/SoundMixer.h"

namespace tavlix {

namespace {

constexpr int kBytesPerFrame = 2 * int(sizeof(std::int16_t));
// What the server holds ahead, and how much of it plays before the server asks for more:
// a new sound waits for the next request, then behind what is left: 28 ms at most, which
// leaves the thread's wake-up room under 30.
constexpr int kBufferMilliseconds = 28;
constexpr int kRequestMilliseconds = 14;
// Silent for this long, the stream is corked.
constexpr std::int64_t kQuietFramesBeforeCork = 2 * SoundMixer::kRate;

std::uint32_t BytesOf(int milliseconds)
{
    return std::uint32_t(SoundMixer::kRate * milliseconds / 1000 * kBytesPerFrame);
}

// The main loop's lock, held for a scope.
class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

}  // namespace

std::unique_ptr<PulseOutput> PulseOutput::Open(SoundMixer& mixer)
{
    std::unique_ptr<PulseOutput> output(new PulseOutput(mixer));
    if (!output->Connect())
        return nullptr;
    return output;
}

PulseOutput::PulseOutput(SoundMixer& mixer) : m_mixer(mixer) {}

PulseOutput::~PulseOutput()
{
    // With the loop's thread ended, nothing calls back any more.
    if (m_loop)
        pa_threaded_mainloop_stop(m_loop);
    if (m_stream) {
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
    }
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    if (m_loop)
        pa_threaded_mainloop_free(m_loop);
}

bool PulseOutput::Connect()
{
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Tavlix");
    if (!m_context)
        return false;
    pa_context_set_state_callback(
        m_context, [](pa_context*, void* self) { OnStateChange(self); }, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        || pa_threaded_mainloop_start(m_loop) < 0)
        return false;
    LoopLock lock(m_loop);
    pa_context_state_t state;
    while (PA_CONTEXT_IS_GOOD(state = pa_context_get_state(m_context)) && state != PA_CONTEXT_READY)
        pa_threaded_mainloop_wait(m_loop);
    return state == PA_CONTEXT_READY && ConnectStream();
}

bool PulseOutput::ConnectStream()
{
    const pa_sample_spec format{.format = PA_SAMPLE_S16LE, .rate = SoundMixer::kRate, .channels = 2};
    m_stream = pa_stream_new(m_context, "Music and sounds", &format, nullptr);
    if (!m_stream)
        return false;
    pa_stream_set_state_callback(
        m_stream, [](pa_stream*, void* self) { OnStateChange(self); }, this);
    pa_stream_set_write_callback(m_stream, &PulseOutput::OnWrite, this);
    const pa_buffer_attr buffer{.maxlength = std::uint32_t(-1),
                                .tlength = BytesOf(kBufferMilliseconds),
                                .prebuf = std::uint32_t(-1),
                                .minreq = BytesOf(kRequestMilliseconds),
                                .fragsize = std::uint32_t(-1)};
    if (pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
        return false;
    pa_stream_state_t state;
    while (PA_STREAM_IS_GOOD(state = pa_stream_get_state(m_stream)) && state != PA_STREAM_READY)
        pa_threaded_mainloop_wait(m_loop);
    return state == PA_STREAM_READY;
}

void PulseOutput::OnStateChange(void* self)
{
    pa_threaded_mainloop_signal(static_cast<PulseOutput*>(self)->m_loop, 0);
}

void PulseOutput::OnWrite(pa_stream* stream, std::size_t bytes, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    void* data = nullptr;
    std::size_t size = bytes;
    if (pa_stream_begin_write(stream, &data, &size) < 0 || !data)
        return;
    const int frames = int(size / kBytesPerFrame);
    const std::uint32_t held = pa_stream_get_buffer_attr(stream)->tlength;
    const int queuedFrames = held > bytes ? int((held - bytes) / kBytesPerFrame) : 0;
    output.m_mixer.Render(static_cast<std::int16_t*>(data), frames, queuedFrames);
    pa_stream_write(stream, data, std::size_t(frames) * kBytesPerFrame, nullptr, 0, PA_SEEK_RELATIVE);
    output.m_quietFrames = output.m_mixer.IsIdle() ? output.m_quietFrames + frames : 0;
    if (output.m_quietFrames >= kQuietFramesBeforeCork)
        output.Cork(true);
}

void PulseOutput::Cork(bool corked)
{
    if (corked == m_corked)
        return;
    m_corked = corked;
    m_quietFrames = 0;
    if (pa_operation* operation = pa_stream_cork(m_stream, corked ? 1 : 0, nullptr, nullptr))
        pa_operation_unref(operation);
}

void PulseOutput::Wake()
{
    LoopLock lock(m_loop);
    m_quietFrames = 0;
    Cork(false);
}

bool PulseOutput::IsAlive() const
{
    LoopLock lock(m_loop);
    return PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)) && PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream));
}

}  // namespace tavlix
