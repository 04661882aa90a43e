#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// Small sound files made by the tests themselves: a MIDI tune and a sine tone.
namespace tavlix::testsound {

inline void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

inline void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

// The events of one track: a tempo of 120 quarter notes a minute, a piano, and each
// note a quarter note long (half a second), ending with the end-of-track event.
inline std::vector<std::uint8_t> TuneEvents(int notes)
{
    std::vector<std::uint8_t> events = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xC0, 0x00};
    // Sized once: GCC 12 at -O3 takes the inserts that grow it for an overflow.
    events.reserve(events.size() + 9 * std::size_t(notes) + 4);
    for (int i = 0; i < notes; ++i) {
        const std::uint8_t key = std::uint8_t(60 + (i * 5) % 24);
        events.insert(events.end(), {0x00, 0x90, key, 0x64, 0x83, 0x60, 0x80, key, 0x00});
    }
    events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    return events;
}

inline std::vector<std::uint8_t> MidiFile(const std::vector<std::uint8_t>& trackEvents)
{
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd'};
    PutBigEndian(file, 6, 4);
    PutBigEndian(file, 0, 2);    // format 0
    PutBigEndian(file, 1, 2);    // one track
    PutBigEndian(file, 480, 2);  // ticks per quarter note
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    PutBigEndian(file, std::uint32_t(trackEvents.size()), 4);
    file.insert(file.end(), trackEvents.begin(), trackEvents.end());
    return file;
}

// A tune of notes half a second each.
inline std::vector<std::uint8_t> Tune(int notes) { return MidiFile(TuneEvents(notes)); }

// How a waveform file stores its samples.
struct WaveLayout {
    std::uint32_t rate = 22050;
    std::uint16_t channels = 1;
    std::uint16_t bits = 16;  // 8, 16 and 24 as integers, 32 as floats
};

inline void PutSample(std::vector<std::uint8_t>& out, double value, std::uint16_t bits)
{
    if (bits == 32) {
        const float sample = float(value);
        std::uint32_t word = 0;
        std::memcpy(&word, &sample, sizeof word);
        PutLittleEndian(out, word, 4);
    } else if (bits == 8) {
        out.push_back(std::uint8_t(128 + std::lround(value * 127)));
    } else {
        PutLittleEndian(out, std::uint32_t(std::lround(value * ((1 << (bits - 1)) - 1))), bits / 8);
    }
}

// A 440 Hz tone at a quarter of full scale, 16-bit mono at 22050 Hz unless told otherwise.
inline std::vector<std::uint8_t> Tone(int milliseconds, WaveLayout layout = {})
{
    const std::uint32_t frames = layout.rate * std::uint32_t(milliseconds) / 1000;
    const std::uint32_t frameBytes = layout.channels * layout.bits / 8u;
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    PutLittleEndian(file, 36 + frames * frameBytes, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLittleEndian(file, 16, 4);
    PutLittleEndian(file, layout.bits == 32 ? 3 : 1, 2);  // IEEE float or PCM
    PutLittleEndian(file, layout.channels, 2);
    PutLittleEndian(file, layout.rate, 4);
    PutLittleEndian(file, layout.rate * frameBytes, 4);
    PutLittleEndian(file, frameBytes, 2);
    PutLittleEndian(file, layout.bits, 2);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(file, frames * frameBytes, 4);
    for (std::uint32_t i = 0; i < frames; ++i)
        for (int channel = 0; channel < layout.channels; ++channel)
            PutSample(file, 0.25 * std::sin(2 * M_PI * 440 * i / layout.rate), layout.bits);
    return file;
}

// Bytes that no format claims, the same on every run.
inline std::vector<std::uint8_t> Noise(std::size_t size, std::uint32_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = std::uint8_t(seed >> 24);
    }
    return bytes;
}

}  // namespace tavlix::testsound
