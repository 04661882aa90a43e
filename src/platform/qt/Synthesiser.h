#pragma once

#include <memory>
#include <vector>

#include <fluidsynth/types.h>

namespace tavlix {

// The one General MIDI synthesiser of the process (FluidSynth with the system's sound
// font) and the MIDI file it plays. Made once, at the first track: loading the font is
// the slow part. Not thread-safe: its owner serialises the calls.
class Synthesiser {
public:
    // The font is looked up where Debian's General MIDI fonts lie, then where FluidSynth
    // looks by default; IsReady() is false when none loads.
    explicit Synthesiser(int rate);
    ~Synthesiser();
    Synthesiser(const Synthesiser&) = delete;
    Synthesiser& operator=(const Synthesiser&) = delete;

    bool IsReady() const { return m_font >= 0; }

    // A well-formed MIDI file's bytes, played by the next PlayFromStart.
    void Load(std::vector<char> midi);
    void PlayFromStart();
    // Silences the sequence where it is.
    void Pause();
    // Goes on where Pause left it; a sequence that ended starts again.
    void Resume();
    void Close();
    bool HasEnded() const;

    // Adds the next frames of sound to left and right.
    void Render(int frames, float* left, float* right);
    bool IsSounding() const;

private:
    struct Deleter {
        void operator()(fluid_settings_t* settings) const;
        void operator()(fluid_synth_t* synth) const;
        void operator()(fluid_player_t* player) const;
    };

    // Each plays on the one before it, and so goes before it.
    std::unique_ptr<fluid_settings_t, Deleter> m_settings;
    std::unique_ptr<fluid_synth_t, Deleter> m_synth;
    std::unique_ptr<fluid_player_t, Deleter> m_player;
    std::vector<char> m_midi;
    int m_font = -1;
    bool m_paused = false;
    bool m_played = false;  // the player has rendered a block since it started
};

}  // namespace tavlix
