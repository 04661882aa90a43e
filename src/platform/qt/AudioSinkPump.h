#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class QAudioSink;
class QIODevice;

namespace tavlix {

class SoundMixer;

// Feeds the mixer's stream to the sound server through a Qt audio sink, on a thread of
// its own so that a busy window never makes the sound stutter. It keeps only a short
// buffer filled, so that a new sound is heard at once, and pauses the sink while
// nothing plays, so that a quiet program costs nothing.
class AudioSinkPump : public QObject {
    Q_OBJECT

public:
    explicit AudioSinkPump(SoundMixer& mixer);
    ~AudioSinkPump() override;

    // On the pump's thread: opens the sink at the first call, and wakes it after a pause.
    void Wake();
    // On the pump's thread, before it ends: closes the sink.
    void Shut();

private:
    void TopUp();

    SoundMixer& m_mixer;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_input = nullptr;  // owned by the sink
    QTimer m_tick;
    int m_quietTicks = 0;
    std::vector<std::int16_t> m_block;
};

}  // namespace tavlix
