#pragma once

#include <filesystem>
#include <functional>

namespace tavlix {

// How a sequence (MIDI) play ended, as its completion notice reports it.
enum class SequenceEnd { Successful, Aborted, Superseded, Failed };

// The two sound devices the music part drives: one sequencer for MIDI tracks, opened
// one file at a time, and one waveform player. Every call returns at once; sound goes on
// in the background. A machine without sound plays nothing and reports no error.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens a MIDI file on the sequencer; false when it can not be opened.
    virtual bool OpenSequence(const std::filesystem::path& file) = 0;
    // Plays the open sequence from its start; its end is reported to the notice handler.
    virtual bool PlaySequenceFromStart() = 0;
    // Pauses the sequence where it is.
    virtual bool StopSequence() = 0;
    // Goes on from where StopSequence left it, with a notice at the end.
    virtual bool ResumeSequence() = 0;
    // Closes the sequencer, silencing it; a pending play is reported as aborted.
    virtual void CloseAll() = 0;

    // Plays a waveform file, replacing whatever waveform plays now; a missing or broken
    // file plays nothing.
    virtual void PlayWave(const std::filesystem::path& file, bool loop) = 0;
    // Silences the waveform player.
    virtual void PurgeWave() = 0;

    // Receives the sequencer's completion notices, on the user-interface thread.
    virtual void SetSequenceNoticeHandler(std::function<void(SequenceEnd)> handler) = 0;
};

}  // namespace tavlix
