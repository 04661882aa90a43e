// The seven shipped tracks, in the notation Music.h describes. Each lasts about half a
// minute and is meant to loop; tempo, instruments and drums grow fiercer from free play
// to the World Cup's Holy War.
#include "Music.h"

namespace tavlix::mediagen {

namespace {

// General MIDI programs, counted from 0.
enum Program : int {
    kGrandPiano = 0, kVibraphone = 11, kMarimba = 12, kNylonGuitar = 24, kOverdrivenGuitar = 29,
    kAcousticBass = 32, kFingerBass = 33, kPickBass = 34, kSynthBass = 38, kPizzicato = 45,
    kStrings = 48, kSlowStrings = 49, kSynthStrings = 50, kChoir = 52, kTrumpet = 56,
    kFrenchHorn = 60, kBrass = 61, kFlute = 73, kSquareLead = 80, kNone = -1,
};

std::vector<Piece> Build()
{
    return {
        // Free play: an unhurried flute over a rippling piano, strings underneath.
        {"general.mid", "Tavlix - Free Play", 76, 4, kFlute, 0, kGrandPiano, kAcousticBass,
         kSlowStrings, Accompaniment::Arpeggio, BassLine::RootFifth, Drums::None,
         "A5:6 G5:2 F5:4 C5:4  D5:4 F5:4 A5:6 G5:2  F5:6 D5:2 Bb4:4 D5:4  C5:8 E5:4 G5:4 "
         "A5:6 Bb5:2 C6:4 A5:4  E5:4 A5:4 C6:6 A5:2  Bb5:4 F5:4 G5:4 E5:4  F5:8 A5:4 C6:4 "
         "Bb5:4 A5:2 G5:2 E5:4 G5:4  F5:16",
         "F | Dm | Bb | C | F | Am | Bb C | F | Gm C | F"},
        // Training: a gentle waltz, vibraphone and guitar, for thinking.
        {"training.mid", "Tavlix - Training", 96, 3, kVibraphone, 0, kNylonGuitar, kAcousticBass,
         kNone, Accompaniment::Arpeggio, BassLine::Long, Drums::None,
         "D5:4 G5:4 B5:4  B5:6 A5:2 G5:4  E5:4 G5:4 C6:4  A5:8 F#5:4 "
         "G5:4 B5:4 D6:4  E6:6 D6:2 B5:4  C6:4 A5:4 E5:4  F#5:4 A5:4 C6:4 "
         "E6:6 D6:2 C6:4  D6:4 A5:4 F#5:4  B5:6 A5:2 F#5:4  G5:4 B5:4 E6:4 "
         "C6:6 B5:2 A5:4  D6:4 C6:4 A5:4  B5:12  G5:12",
         "G | Em | C | D | G | Em | Am | D7 | C | D | Bm | Em | Am | D7 | G | G"},
        // Training Game: brisk and bouncy, marimba over plucked strings and a light kit.
        {"traininggame.mid", "Tavlix - Training Game", 132, 4, kMarimba, 0, kPizzicato, kFingerBass,
         kNone, Accompaniment::Offbeat, BassLine::Walk, Drums::Light,
         "F#5:2 A5:2 D6:2 A5:2 F#5:2 A5:2 D6:4  B5:2 D6:2 G6:2 D6:2 B5:4 G5:4 "
         "F#5:2 B5:2 D6:2 B5:2 F#5:4 D5:4  E5:2 A5:2 C#6:2 E6:2 C#6:4 A5:4 "
         "D6:2 C#6:2 B5:2 A5:2 F#5:4 A5:4  G5:2 B5:2 D6:2 B5:2 G5:4 B5:4 "
         "E5:2 G5:2 B5:4 C#6:2 B5:2 A5:4  D6:8 A5:4 r:4 "
         "B5:2 B5:2 D6:4 B5:2 G5:2 D5:4  C#6:2 C#6:2 E6:4 C#6:2 A5:2 E5:4 "
         "F#5:2 A5:2 C#6:2 A5:2 F#5:4 C#6:4  D6:2 C#6:2 B5:2 A5:2 B5:8 "
         "G5:2 A5:2 B5:2 D6:2 G6:4 D6:4  E6:2 D6:2 C#6:2 B5:2 A5:2 G5:2 E5:4 "
         "F#5:2 A5:2 D6:2 F#6:2 A6:4 F#6:4  D6:8 r:8",
         "D | G | Bm | A | D | G | Em A | D | G | A | F#m | Bm | G | A7 | D | D",
         Mix{.melody = 124, .harmony = 100}},
        // World Cup, Standard: a bright march for trumpet and strings.
        {"wcstandard.mid", "Tavlix - World Cup Standard", 112, 4, kTrumpet, 0, kStrings, kAcousticBass,
         kNone, Accompaniment::Block, BassLine::Walk, Drums::Light,
         "C5:3 C5:1 E5:4 G5:4 C6:4  A5:6 G5:2 F5:4 A5:4  G5:3 F5:1 E5:4 D5:4 G5:4  E5:8 C5:4 r:4 "
         "A5:3 A5:1 C6:4 B5:4 A5:4  F5:3 G5:1 A5:4 C6:8  B5:4 A5:4 G5:4 D5:4  F5:4 E5:4 D5:8 "
         "C5:3 C5:1 E5:4 G5:4 C6:4  C6:3 D6:1 C6:4 A5:4 F5:4  F5:4 A5:4 G5:4 B5:4 "
         "B5:4 G5:4 C6:4 A5:4  A5:4 F5:4 D5:4 B4:4  C5:16",
         "C | F | G | C | Am | F | G | G7 | C | F | Dm G | Em Am | F G | C",
         Mix{.harmony = 64}},
        // Hero: horns over driving strings, a full kit.
        {"wchero.mid", "Tavlix - World Cup Hero", 126, 4, kFrenchHorn, 0, kStrings, kFingerBass,
         kNone, Accompaniment::Pulse, BassLine::Drive, Drums::Rock,
         "A4:4 C5:2 E5:2 A5:6 G5:2  F5:4 A5:4 C6:6 A5:2  G5:4 E5:2 G5:2 C6:6 B5:2  D6:8 B5:4 G5:4 "
         "A5:3 B5:1 C6:4 E6:4 C6:4  A5:3 G5:1 F5:4 A5:4 C6:4  B5:4 G#5:4 E5:4 B5:4  D6:8 G#5:8 "
         "C6:3 C6:1 A5:4 F5:4 C6:4  D6:3 D6:1 B5:4 G5:4 D6:4  E6:4 D6:2 B5:2 G5:4 B5:4 "
         "C6:6 B5:2 A5:8  F5:4 A5:4 D6:4 F6:4  E6:4 D6:2 C6:2 B5:4 G#5:4  A5:4 E5:4 A5:4 C6:4 "
         "A5:12 r:4",
         "Am | F | C | G | Am | F | E | E7 | F | G | Em | Am | Dm | E | Am | Am",
         Mix{.melody = 100, .harmony = 50, .bass = 110, .drums = 105}},
        // Wizard: quick minor-key runs on a square lead, synth strings and a choir.
        {"wcwizard.mid", "Tavlix - World Cup Wizard", 138, 4, kSquareLead, -12, kSynthStrings, kSynthBass,
         kChoir, Accompaniment::Pulse, BassLine::Drive, Drums::Rock,
         "D5:2 F5:2 A5:2 D6:2 C#6:2 D6:2 A5:4  Bb5:2 A5:2 G5:2 F5:2 D5:4 F5:4 "
         "G5:2 Bb5:2 D6:2 G6:2 F6:2 E6:2 D6:4  C#6:4 E6:4 A5:8 "
         "D6:1 C#6:1 D6:1 E6:1 F6:4 E6:2 D6:2 A5:4  Bb5:1 A5:1 Bb5:1 C6:1 D6:4 C6:2 Bb5:2 F5:4 "
         "G5:2 Bb5:2 D6:4 C#6:2 E6:2 A6:4  F6:4 E6:4 D6:8 "
         "A5:2 C6:2 F6:2 C6:2 A5:4 F5:4  G5:2 C6:2 E6:2 C6:2 G5:4 E5:4 "
         "F5:2 Bb5:2 D6:2 F6:2 D6:4 Bb5:4  A5:2 C#6:2 E6:2 G6:2 E6:4 C#6:4 "
         "D6:1 C6:1 Bb5:1 A5:1 G5:4 Bb5:4 D6:4  E6:1 D6:1 C#6:1 B5:1 A5:4 C#6:4 E6:4 "
         "F6:4 E6:2 D6:2 A5:4 D6:4  D6:4 C6:2 Bb5:2 F5:4 Bb5:4 "
         "A5:2 C#6:2 E6:2 A6:2 G6:2 E6:2 C#6:4  D6:16",
         "Dm | Bb | Gm | A | Dm | Bb | Gm A | Dm | F | C | Bb | A7 | Gm | A | Dm | Bb | A | Dm",
         Mix{.melody = 122, .harmony = 96, .bass = 110, .pad = 80, .drums = 110}},
        // Holy War: fast and fierce, guitar and brass over a choir, toms closing each phrase.
        {"wcholywar.mid", "Tavlix - World Cup Holy War", 152, 4, kOverdrivenGuitar, -12, kBrass, kPickBass,
         kChoir, Accompaniment::Pulse, BassLine::Drive, Drums::Epic,
         "E5:4 E5:2 G5:2 B5:4 A5:2 G5:2  E5:4 E5:2 G5:2 C6:4 B5:2 G5:2 "
         "F#5:4 F#5:2 A5:2 D6:4 C6:2 A5:2  B5:8 G5:4 E5:4 "
         "E6:4 D6:2 B5:2 G5:4 B5:4  C6:4 B5:2 G5:2 E5:4 G5:4  D6:4 C6:2 A5:2 F#5:4 A5:4 "
         "B5:4 D#6:4 F#6:8 "
         "E6:2 E6:2 C6:2 A5:2 E6:2 E6:2 C6:2 A5:2  G6:2 G6:2 E6:2 C6:2 G6:2 E6:2 C6:2 G5:2 "
         "F#6:2 F#6:2 D6:2 A5:2 F#6:2 D6:2 A5:2 F#5:2  G6:4 F#6:4 E6:8 "
         "E6:2 G6:2 E6:2 C6:2 G5:4 C6:4  D6:2 F#6:2 D6:2 A5:2 F#5:4 A5:4 "
         "B5:2 D#6:2 F#6:2 A6:2 F#6:4 D#6:4  E6:8 B5:4 G5:4 "
         "A5:3 B5:1 C6:4 E6:4 A6:4  G6:3 F#6:1 E6:4 C6:4 G5:4  F#6:4 D#6:4 B5:4 F#6:4  E6:16",
         "Em | C | D | Em | Em | C | D | B | Am | C | D | Em | C | D | B7 | Em | Am | C | B | Em",
         Mix{.melody = 127, .harmony = 127, .bass = 127, .pad = 100, .drums = 127}},
    };
}

}  // namespace

const std::vector<Piece>& Pieces()
{
    static const std::vector<Piece> pieces = Build();
    return pieces;
}

}  // namespace tavlix::mediagen
