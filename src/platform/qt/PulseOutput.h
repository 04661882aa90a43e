#pragma once

#include <cstdint>
#include <memory>

#include "platform/qt/SoundOutput.h"

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace tavlix {

class SoundMixer;

// The mixer's stream played by the PulseAudio server (or PipeWire's PulseAudio
// service). The server asks for sound as it needs it and the mixer renders it on the
// client library's thread, so nothing of ours wakes in between. The buffer is short, so
// that a new sound is heard at once; the stream is corked while nothing plays, so that a
// quiet program costs nothing.
class PulseOutput : public SoundOutput {
public:
    // Connects to the server; nullptr when there is none or it refuses the stream. No
    // server is started on the program's behalf.
    static std::unique_ptr<PulseOutput> Open(SoundMixer& mixer);
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // A corked stream plays again.
    void Wake() override;
    bool IsAlive() const override;

private:
    explicit PulseOutput(SoundMixer& mixer);
    bool Connect();
    bool ConnectStream();
    static void OnStateChange(void* self);
    static void OnWrite(pa_stream* stream, std::size_t bytes, void* self);
    void Cork(bool corked);

    SoundMixer& m_mixer;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    // Both under the main loop's lock.
    std::int64_t m_quietFrames = 0;
    bool m_corked = false;
};

}  // namespace tavlix
