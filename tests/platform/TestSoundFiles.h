#pragma once

#include <cmath>
#include <cstdint>
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

// A 440 Hz tone, 16-bit mono at 22050 Hz.
inline std::vector<std::uint8_t> Tone(int milliseconds)
{
    constexpr std::uint32_t kRate = 22050;
    const std::uint32_t samples = kRate * std::uint32_t(milliseconds) / 1000;
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    PutLittleEndian(file, 36 + samples * 2, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLittleEndian(file, 16, 4);
    PutLittleEndian(file, 1, 2);  // PCM
    PutLittleEndian(file, 1, 2);  // mono
    PutLittleEndian(file, kRate, 4);
    PutLittleEndian(file, kRate * 2, 4);
    PutLittleEndian(file, 2, 2);
    PutLittleEndian(file, 16, 2);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(file, samples * 2, 4);
    for (std::uint32_t i = 0; i < samples; ++i)
        PutLittleEndian(file, std::uint32_t(std::int16_t(8000 * std::sin(2 * M_PI * 440 * i / kRate))) & 0xFFFF, 2);
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
