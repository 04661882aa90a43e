#include "MidiTrack.h"

#include <algorithm>
#include <cassert>

namespace tavlix::mediagen {

namespace {

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(value >> shift));
}

std::uint8_t Status(unsigned kind, unsigned channel)
{
    assert(channel < 16);
    return std::uint8_t(kind | (channel & 0x0F));
}

std::uint8_t Data(unsigned value)
{
    assert(value < 128);
    return std::uint8_t(value & 0x7F);
}

}  // namespace

void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    assert(value <= 0x0FFFFFFF);
    std::uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = std::uint8_t(value & 0x7F);
        value >>= 7;
    } while (value != 0 && count < 4);
    while (count > 1)
        out.push_back(std::uint8_t(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

void MidiTrack::Add(std::uint32_t tick, int rank, std::vector<std::uint8_t> bytes)
{
    m_events.push_back({tick, rank, std::uint32_t(m_events.size()), std::move(bytes)});
}

void MidiTrack::Name(std::string_view text)
{
    std::vector<std::uint8_t> bytes{0xFF, 0x03};
    AppendVariableLength(bytes, std::uint32_t(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    Add(0, 0, std::move(bytes));
}

void MidiTrack::Tempo(std::uint32_t tick, unsigned beatsPerMinute)
{
    std::vector<std::uint8_t> bytes{0xFF, 0x51, 0x03};
    AppendBigEndian(bytes, 60'000'000u / beatsPerMinute, 3);
    Add(tick, 0, std::move(bytes));
}

void MidiTrack::TimeSignature(std::uint32_t tick, unsigned beatsPerBar, unsigned beatUnit)
{
    std::uint8_t power = 0;
    while ((1u << power) < beatUnit)
        ++power;
    // 24 MIDI clocks a metronome click, eight 32nd notes a quarter.
    Add(tick, 0, {0xFF, 0x58, 0x04, std::uint8_t(beatsPerBar), power, 24, 8});
}

void MidiTrack::Program(std::uint32_t tick, unsigned channel, unsigned program)
{
    Add(tick, 2, {Status(0xC0, channel), Data(program)});
}

void MidiTrack::Controller(std::uint32_t tick, unsigned channel, unsigned controller, unsigned value)
{
    Add(tick, 2, {Status(0xB0, channel), Data(controller), Data(value)});
}

void MidiTrack::Note(std::uint32_t tick, std::uint32_t length, unsigned channel, unsigned key,
                     unsigned velocity)
{
    assert(length > 0 && velocity > 0);
    Add(tick, 3, {Status(0x90, channel), Data(key), Data(velocity)});
    Add(tick + length, 1, {Status(0x80, channel), Data(key), 0x40});
}

std::vector<std::uint8_t> MidiTrack::Encode() const
{
    std::vector<const Event*> order;
    for (const Event& e : m_events)
        order.push_back(&e);
    std::sort(order.begin(), order.end(), [](const Event* a, const Event* b) {
        if (a->tick != b->tick)
            return a->tick < b->tick;
        if (a->rank != b->rank)
            return a->rank < b->rank;
        return a->sequence < b->sequence;
    });
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const Event* e : order) {
        AppendVariableLength(body, e->tick - now);
        now = e->tick;
        body.insert(body.end(), e->bytes.begin(), e->bytes.end());
    }
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> chunk{'M', 'T', 'r', 'k'};
    AppendBigEndian(chunk, std::uint32_t(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<std::uint8_t> WriteMidiFile(std::span<const MidiTrack> tracks, std::uint16_t ticksPerQuarter)
{
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    AppendBigEndian(out, 6, 4);
    AppendBigEndian(out, 1, 2);
    AppendBigEndian(out, std::uint32_t(tracks.size()), 2);
    AppendBigEndian(out, ticksPerQuarter, 2);
    for (const MidiTrack& track : tracks) {
        const std::vector<std::uint8_t> chunk = track.Encode();
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

}  // namespace tavlix::mediagen
