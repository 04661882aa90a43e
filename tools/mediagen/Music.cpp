#include "Music.h"

#include <map>
#include <sstream>
#include <stdexcept>

#include "MidiTrack.h"

namespace tavlix::mediagen {

namespace {

constexpr std::uint16_t kTicksPerQuarter = 480;
constexpr std::uint32_t kSixteenth = kTicksPerQuarter / 4;

enum Channel : unsigned { kMelody = 0, kHarmony = 1, kBass = 2, kPad = 3, kPercussion = 9 };

// General MIDI percussion keys.
enum Drum : unsigned {
    kKick = 36, kSideStick = 37, kSnare = 38, kClosedHat = 42, kLowTom = 45, kMidTom = 47,
    kHighTom = 50, kCrash = 49, kRide = 51,
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

// Pitch class of a note name at the start of text (C = 0), advancing pos past it.
int PitchClass(const std::string& text, std::size_t& pos)
{
    static const std::map<char, int> kNatural{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                              {'G', 7}, {'A', 9}, {'B', 11}};
    const auto found = pos < text.size() ? kNatural.find(text[pos]) : kNatural.end();
    if (found == kNatural.end())
        throw std::invalid_argument("no note name in \"" + text + "\"");
    int pc = found->second;
    ++pos;
    if (pos < text.size() && text[pos] == '#') {
        ++pc;
        ++pos;
    } else if (pos < text.size() && text[pos] == 'b') {
        --pc;
        ++pos;
    }
    return (pc + 12) % 12;
}

struct Note {
    int key;  // -1 for a rest
    std::uint32_t start, length;  // sixteenths
};

std::vector<Note> ParseMelody(const std::string& text)
{
    std::vector<Note> notes;
    std::uint32_t now = 0;
    for (const std::string& token : Words(text)) {
        const std::size_t colon = token.find(':');
        if (colon == std::string::npos || colon + 1 == token.size())
            throw std::invalid_argument("melody token without a length: \"" + token + "\"");
        const std::uint32_t length = std::uint32_t(std::stoul(token.substr(colon + 1)));
        int key = -1;
        if (token[0] != 'r') {
            std::size_t pos = 0;
            const int pc = PitchClass(token, pos);
            const int octave = std::stoi(token.substr(pos, colon - pos));
            key = 12 * (octave + 1) + pc;  // C4 is 60
        }
        if (length == 0 || key > 127)
            throw std::invalid_argument("melody token out of range: \"" + token + "\"");
        notes.push_back({key, now, length});
        now += length;
    }
    return notes;
}

struct Chord {
    int root;  // pitch class
    std::vector<int> intervals;
    std::uint32_t start, length;  // sixteenths
};

std::vector<int> Intervals(const std::string& quality, const std::string& symbol)
{
    static const std::map<std::string, std::vector<int>> kQualities{
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}}, {"dim", {0, 3, 6}},
        {"sus4", {0, 5, 7}},
    };
    const auto found = kQualities.find(quality);
    if (found == kQualities.end())
        throw std::invalid_argument("unknown chord \"" + symbol + "\"");
    return found->second;
}

std::vector<Chord> ParseChords(const std::string& text, std::uint32_t barLength)
{
    std::vector<Chord> chords;
    std::uint32_t barStart = 0;
    for (const std::string& bar : Split(text, '|')) {
        const std::vector<std::string> symbols = Words(bar);
        if (symbols.empty() || barLength % symbols.size() != 0)
            throw std::invalid_argument("a bar of chords that does not divide: \"" + bar + "\"");
        const std::uint32_t share = barLength / std::uint32_t(symbols.size());
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            std::size_t pos = 0;
            const int root = PitchClass(symbols[i], pos);
            chords.push_back({root, Intervals(symbols[i].substr(pos), symbols[i]),
                              barStart + std::uint32_t(i) * share, share});
        }
        barStart += barLength;
    }
    return chords;
}

// The chord voiced around middle C: its root between F3 and E4.
std::vector<unsigned> Voicing(const Chord& chord)
{
    const int root = chord.root >= 5 ? 48 + chord.root : 60 + chord.root;
    std::vector<unsigned> keys;
    for (const int interval : chord.intervals)
        keys.push_back(unsigned(root + interval));
    return keys;
}

// The bass root between E2 and D#3.
unsigned BassRoot(const Chord& chord)
{
    return unsigned(chord.root >= 4 ? 36 + chord.root : 48 + chord.root);
}

void Setup(MidiTrack& track, const char* name, unsigned channel, int program, unsigned volume, unsigned pan)
{
    track.Name(name);
    if (program >= 0)
        track.Program(0, channel, unsigned(program));
    track.Controller(0, channel, 7, volume);
    track.Controller(0, channel, 10, pan);
    track.Controller(0, channel, 91, 48);  // some reverb: a room, not a hall
}

void PlayMelody(MidiTrack& track, const Piece& piece, const std::vector<Note>& notes, std::uint32_t barLength)
{
    for (const Note& n : notes) {
        if (n.key < 0)
            continue;
        const bool downbeat = n.start % barLength == 0;
        track.Note(n.start * kSixteenth, n.length * kSixteenth - 10, kMelody,
                   unsigned(n.key + piece.melodyTranspose), downbeat ? 100 : 88);
    }
}

void PlayHarmony(MidiTrack& track, Accompaniment style, const Chord& chord, bool last)
{
    const std::vector<unsigned> keys = Voicing(chord);
    const std::uint32_t start = chord.start * kSixteenth;
    const std::uint32_t length = chord.length * kSixteenth;
    if (last) {
        for (const unsigned key : keys)
            track.Note(start, length, kHarmony, key, 70);
        return;
    }
    const std::uint32_t eighth = 2 * kSixteenth;
    switch (style) {
    case Accompaniment::Arpeggio: {
        std::vector<unsigned> rising = keys;
        rising.push_back(keys[0] + 12);
        rising.push_back(keys[1] + 12);
        const int order[] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (std::uint32_t i = 0; i * eighth < length; ++i)
            track.Note(start + i * eighth, 2 * eighth, kHarmony, rising[std::size_t(order[i % 8])],
                       i % 2 == 0 ? 66 : 58);
        break;
    }
    case Accompaniment::Block:
        for (std::uint32_t t = 0; t < length; t += kTicksPerQuarter)
            for (const unsigned key : keys)
                track.Note(start + t, kTicksPerQuarter * 9 / 10, kHarmony, key, t == 0 ? 72 : 62);
        break;
    case Accompaniment::Offbeat:
        for (std::uint32_t t = eighth; t < length; t += kTicksPerQuarter)
            for (const unsigned key : keys)
                track.Note(start + t, eighth * 3 / 4, kHarmony, key, 64);
        break;
    case Accompaniment::Pulse:
        for (std::uint32_t t = 0; t < length; t += eighth)
            for (const unsigned key : keys)
                track.Note(start + t, eighth * 3 / 4, kHarmony, key, t % kTicksPerQuarter == 0 ? 76 : 62);
        break;
    }
}

void PlayBass(MidiTrack& track, BassLine line, const Chord& chord, bool last)
{
    const unsigned root = BassRoot(chord);
    const unsigned fifth = root + 7;
    const std::uint32_t start = chord.start * kSixteenth;
    const std::uint32_t length = chord.length * kSixteenth;
    if (last || line == BassLine::Long || (line == BassLine::RootFifth && length < 2 * kTicksPerQuarter)) {
        track.Note(start, length - 20, kBass, root, 80);
        return;
    }
    switch (line) {
    case BassLine::Long:
        break;
    case BassLine::RootFifth:
        track.Note(start, length / 2 - 20, kBass, root, 80);
        track.Note(start + length / 2, length / 2 - 20, kBass, fifth, 72);
        break;
    case BassLine::Walk: {
        const unsigned steps[] = {root, fifth, root + 12, fifth};
        for (std::uint32_t i = 0; i * kTicksPerQuarter < length; ++i)
            track.Note(start + i * kTicksPerQuarter, kTicksPerQuarter - 30, kBass, steps[i % 4],
                       i == 0 ? 84 : 74);
        break;
    }
    case BassLine::Drive:
        for (std::uint32_t t = 0; t < length; t += 2 * kSixteenth)
            track.Note(start + t, 2 * kSixteenth - 30, kBass, root, t % kTicksPerQuarter == 0 ? 86 : 72);
        break;
    }
}

void Hit(MidiTrack& track, std::uint32_t barStart, std::uint32_t sixteenth, unsigned drum, unsigned velocity)
{
    track.Note(barStart + sixteenth * kSixteenth, kSixteenth / 2, kPercussion, drum, velocity);
}

// One bar of the drum part; a phrase is four bars, opened by a crash and, in the
// fiercest style, closed by a fill down the toms.
void PlayDrumBar(MidiTrack& track, Drums style, unsigned bar, unsigned beatsPerBar, bool last)
{
    const std::uint32_t steps = 4 * beatsPerBar;
    const std::uint32_t start = bar * steps * kSixteenth;
    const bool phraseStart = bar % 4 == 0;
    const bool phraseEnd = bar % 4 == 3;
    if (last) {
        Hit(track, start, 0, kCrash, 100);
        Hit(track, start, 0, kKick, 100);
        return;
    }
    switch (style) {
    case Drums::None:
        break;
    case Drums::Light:
        for (std::uint32_t s = 0; s < steps; s += 2)
            Hit(track, start, s, kClosedHat, s % 4 == 0 ? 58 : 46);
        for (std::uint32_t s = 0; s < steps; s += 8)
            Hit(track, start, s, kKick, 78);
        for (std::uint32_t s = 4; s < steps; s += 8)
            Hit(track, start, s, kSideStick, 60);
        break;
    case Drums::Rock:
        if (phraseStart)
            Hit(track, start, 0, kCrash, 90);
        for (std::uint32_t s = 0; s < steps; s += 2)
            Hit(track, start, s, kClosedHat, s % 4 == 0 ? 72 : 58);
        for (const std::uint32_t s : {0u, 8u, 10u})
            Hit(track, start, s, kKick, 90);
        for (const std::uint32_t s : {4u, 12u})
            Hit(track, start, s, kSnare, 88);
        break;
    case Drums::Epic:
        if (phraseStart)
            Hit(track, start, 0, kCrash, 100);
        for (std::uint32_t s = 0; s < steps; s += 2)
            Hit(track, start, s, kRide, s % 4 == 0 ? 78 : 62);
        for (const std::uint32_t s : {0u, 3u, 6u, 8u, 10u, 11u})
            Hit(track, start, s, kKick, 96);
        if (phraseEnd) {
            Hit(track, start, 4, kSnare, 96);
            const unsigned toms[] = {kHighTom, kHighTom, kMidTom, kMidTom, kLowTom, kLowTom};
            for (std::uint32_t i = 0; i < 6; ++i)
                Hit(track, start, 10 + i, toms[i], 84 + 2 * i);
        } else {
            for (const std::uint32_t s : {4u, 12u})
                Hit(track, start, s, kSnare, 100);
        }
        break;
    }
}

}  // namespace

std::vector<std::uint8_t> WritePiece(const Piece& piece)
{
    const std::uint32_t barLength = 4 * piece.beatsPerBar;
    const std::vector<Note> melody = ParseMelody(piece.melody);
    const std::vector<Chord> chords = ParseChords(piece.chords, barLength);
    if (chords.empty())
        throw std::invalid_argument(piece.fileName + ": no chords");
    const std::uint32_t total = chords.back().start + chords.back().length;
    const std::uint32_t melodyLength = melody.empty() ? 0 : melody.back().start + melody.back().length;
    if (melodyLength != total)
        throw std::invalid_argument(piece.fileName + ": the melody lasts " + std::to_string(melodyLength)
                                    + " sixteenths, the chords " + std::to_string(total));

    std::vector<MidiTrack> tracks(3);
    tracks[0].Name(piece.title);
    tracks[0].TimeSignature(0, piece.beatsPerBar, 4);
    tracks[0].Tempo(0, piece.tempo);

    Setup(tracks[1], "Melody", kMelody, piece.melodyProgram, piece.mix.melody, 64);
    PlayMelody(tracks[1], piece, melody, barLength);

    Setup(tracks[2], "Harmony", kHarmony, piece.harmonyProgram, piece.mix.harmony, 44);
    MidiTrack bass;
    Setup(bass, "Bass", kBass, piece.bassProgram, piece.mix.bass, 64);
    MidiTrack pad;
    if (piece.padProgram >= 0)
        Setup(pad, "Pad", kPad, piece.padProgram, piece.mix.pad, 84);
    for (std::size_t i = 0; i < chords.size(); ++i) {
        const bool last = chords[i].start / barLength == chords.back().start / barLength;
        PlayHarmony(tracks[2], piece.accompaniment, chords[i], last);
        PlayBass(bass, piece.bass, chords[i], last);
        if (piece.padProgram >= 0)
            for (const unsigned key : Voicing(chords[i]))
                pad.Note(chords[i].start * kSixteenth, chords[i].length * kSixteenth, kPad, key + 12, 52);
    }
    tracks.push_back(std::move(bass));
    if (piece.padProgram >= 0)
        tracks.push_back(std::move(pad));
    if (piece.drums != Drums::None) {
        MidiTrack drums;
        Setup(drums, "Drums", kPercussion, -1, piece.mix.drums, 64);
        const unsigned bars = total / barLength;
        for (unsigned bar = 0; bar < bars; ++bar)
            PlayDrumBar(drums, piece.drums, bar, piece.beatsPerBar, bar + 1 == bars);
        tracks.push_back(std::move(drums));
    }
    return WriteMidiFile(tracks, kTicksPerQuarter);
}

}  // namespace tavlix::mediagen
