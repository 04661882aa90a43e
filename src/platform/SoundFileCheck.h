#pragma once

#include <cstdint>
#include <span>

namespace tavlix {

// Checks a whole standard MIDI file (format 0 or 1, ticks per quarter note) before it
// reaches the synthesiser's parser: every chunk fits the file, and every event of every
// track is complete, with a status byte or a running status after a channel event and
// only the system events a file may hold. A track event that a parser can not read
// would otherwise be read as whatever follows it, or end the track at any point.
bool IsWellFormedMidi(std::span<const std::uint8_t> file);

// A RIFF WAVE header, so that random bytes are never taken for some other format and
// played as noise.
bool HasWaveHeader(std::span<const std::uint8_t> start);

}  // namespace tavlix
