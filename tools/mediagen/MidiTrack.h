#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tavlix::mediagen {

// One track of a Standard MIDI File, collected as events at absolute times (in ticks)
// and encoded with delta times once complete. Channels are 0..15 (9 is percussion).
class MidiTrack {
public:
    void Name(std::string_view text);
    // Beats per minute of a quarter note, from tick on.
    void Tempo(std::uint32_t tick, unsigned beatsPerMinute);
    void TimeSignature(std::uint32_t tick, unsigned beatsPerBar, unsigned beatUnit);
    void Program(std::uint32_t tick, unsigned channel, unsigned program);
    void Controller(std::uint32_t tick, unsigned channel, unsigned controller, unsigned value);
    // A note-on at tick and its note-off length ticks later.
    void Note(std::uint32_t tick, std::uint32_t length, unsigned channel, unsigned key,
              unsigned velocity);

    // The "MTrk" chunk: events in time order, note-offs before note-ons of the same
    // tick (so a repeated key is released before it sounds again), then end-of-track.
    std::vector<std::uint8_t> Encode() const;

private:
    struct Event {
        std::uint32_t tick;
        int rank;  // order among events of one tick: meta, then note-off, setup, note-on
        std::uint32_t sequence;
        std::vector<std::uint8_t> bytes;
    };
    void Add(std::uint32_t tick, int rank, std::vector<std::uint8_t> bytes);

    std::vector<Event> m_events;
};

// Delta times and lengths in a MIDI file: seven bits a byte, most significant first,
// the high bit set on every byte but the last. Values above 0x0FFFFFFF do not fit.
void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value);

// A format 1 file: header chunk, then the tracks in order (the first one carrying the
// tempo by convention).
std::vector<std::uint8_t> WriteMidiFile(std::span<const MidiTrack> tracks,
                                        std::uint16_t ticksPerQuarter);

}  // namespace tavlix::mediagen
