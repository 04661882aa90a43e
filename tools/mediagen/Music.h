#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavlix::mediagen {

// How the harmony instrument plays each chord.
enum class Accompaniment {
    Arpeggio,  // broken chord in eighths, up and down
    Block,     // the chord on every beat
    Offbeat,   // short chords between the beats
    Pulse,     // short chords on every eighth
};

enum class BassLine {
    Long,       // the root held through the chord
    RootFifth,  // root, then fifth, a half bar each
    Walk,       // root, fifth, octave, fifth in quarters
    Drive,      // the root in eighths
};

enum class Drums { None, Light, Rock, Epic };

// Channel volumes (controller 7, 0..127): the balance of the parts.
struct Mix {
    unsigned melody = 110;
    unsigned harmony = 84;
    unsigned bass = 100;
    unsigned pad = 64;
    unsigned drums = 92;
};

// A short piece in common notation. Melody tokens are "<note><octave>:<length>" or
// "r:<length>" (a rest), note names C D E F G A B with # or b, lengths in sixteenths;
// chords are one bar each between "|", a bar holding one or more chords that share it
// equally ("C", "Am", "G7", "Fmaj7", "Bm7", "Bdim", "Dsus4"). The melody fills the bars
// exactly. Programs are General MIDI numbers from 0; pad < 0 leaves the pad out.
struct Piece {
    std::string fileName;  // under music/
    std::string title;
    unsigned tempo;        // quarter notes a minute
    unsigned beatsPerBar;  // of quarter notes
    int melodyProgram;
    int melodyTranspose;  // semitones
    int harmonyProgram;
    int bassProgram;
    int padProgram;
    Accompaniment accompaniment;
    BassLine bass;
    Drums drums;
    std::string melody;
    std::string chords;
    Mix mix = {};
};

// The seven shipped tracks: free play, Training, Training Game and the World Cup's
// Standard, Hero, Wizard and Holy War levels, calm to fierce in that order.
const std::vector<Piece>& Pieces();

// The piece as a format 1 MIDI file: a tempo track, then melody, harmony, bass, and the
// pad and drums where the piece has them. Throws std::invalid_argument for notation it
// can not read or a melody that does not fill the bars.
std::vector<std::uint8_t> WritePiece(const Piece& piece);

}  // namespace tavlix::mediagen
