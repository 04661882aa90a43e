#pragma once

#include <QObject>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace tavlix {

class SoundOutput;
class SoundMixer;
struct WaveVoice;

// The audio device: one General MIDI synthesiser for the whole process and one waveform
// voice, mixed into one stream to the sound server. Lives on the user-interface thread
// and needs its event loop: completion notices are delivered there, always later than
// the call that caused them. Nothing is made before the first sound, so a program that
// never plays pays nothing; the first track loads the sound font. Without a sound server
// nothing plays; a server that appears, or comes back, later is found at the next sound.
class QtAudioDevice : public QObject, public AudioDevice {
    Q_OBJECT

public:
    explicit QtAudioDevice(QObject* parent = nullptr);
    ~QtAudioDevice() override;

    bool OpenSequence(const std::filesystem::path& file) override;
    bool PlaySequenceFromStart() override;
    bool StopSequence() override;
    bool ResumeSequence() override;
    void CloseAll() override;

    // A short waveform is decoded once and kept; a long one is read while it plays.
    void PlayWave(const std::filesystem::path& file, bool loop) override;
    void PurgeWave() override;

    void SetSequenceNoticeHandler(std::function<void(SequenceEnd)> handler) override;

    // Where the sequence and the waveform are, in milliseconds, and whether they sound now.
    qint64 SequencePosition() const;
    qint64 WavePosition() const;
    bool IsSequencePlaying() const;
    bool IsWavePlaying() const;
    // From the request of the last track or waveform to when it is heard; none before
    // the first sound.
    std::optional<std::chrono::microseconds> LastStartLatency() const;

private:
    // True when sound can be heard: connects to the sound server, or the card, when not
    // connected.
    bool EnsureOutput();
    void StartPlay(bool fromStart);
    std::optional<WaveVoice> VoiceFor(const std::filesystem::path& file, bool loop);
    void OnSequenceEnd(unsigned play);
    // Ends the pending play with this notice, delivered from the event loop.
    void EndPendingPlay(SequenceEnd end);

    std::unique_ptr<SoundMixer> m_mixer;
    // Renders from m_mixer on a thread of its own, and so goes before it.
    std::unique_ptr<SoundOutput> m_output;
    // Decoded effects, the most recent first.
    std::vector<std::pair<std::string, std::shared_ptr<const std::vector<float>>>> m_clips;
    std::function<void(SequenceEnd)> m_handler;
    unsigned m_play = 0;            // number of the latest play, to tell stale ends
    bool m_sequenceOpen = false;
    bool m_silent = false;          // opened without an audio output: plays nothing
    bool m_playPending = false;     // a play whose end is not yet reported
};

}  // namespace tavlix
