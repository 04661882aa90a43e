#pragma once

#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/Audio.h"

class QMediaPlayer;

namespace tavlix {

// The audio device over Qt Multimedia on GStreamer: one player for the MIDI sequence
// (GStreamer's MIDI parser and FluidSynth with the system's General MIDI sound font)
// and one for waveforms. Lives on the user-interface thread and needs its event loop:
// the players report there, and so are completion notices delivered, always later than
// the call that caused them. The players are made at the first sound, so a program
// that never plays pays nothing; a machine without an audio output plays nothing.
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

    void PlayWave(const std::filesystem::path& file, bool loop) override;
    void PurgeWave() override;

    void SetSequenceNoticeHandler(std::function<void(SequenceEnd)> handler) override;

    // Where the players are, in milliseconds, and whether they sound now.
    qint64 SequencePosition() const;
    qint64 WavePosition() const;
    bool IsSequencePlaying() const;
    bool IsWavePlaying() const;

private:
    // Each file gets a player of its own: a player reused for the next file may still
    // deliver the late error of the file before, and stop the new one for it.
    QMediaPlayer& Player(std::unique_ptr<QMediaPlayer>& player);
    void Dispose(std::unique_ptr<QMediaPlayer>& player);
    void OnSequenceStatus(int status);
    void OnSequenceError();
    void OnWaveStatus(int status);
    // Ends the pending play with this notice, delivered from the event loop.
    void EndPendingPlay(SequenceEnd end);

    std::unique_ptr<QMediaPlayer> m_sequence;
    std::unique_ptr<QMediaPlayer> m_wave;
    std::function<void(SequenceEnd)> m_handler;
    bool m_sequenceOpen = false;
    bool m_sequenceBroken = false;  // the open file failed to play
    bool m_silent = false;          // opened without an audio output: plays nothing
    bool m_playPending = false;     // a play whose end is not yet reported
    bool m_waveLoops = false;
};

}  // namespace tavlix
