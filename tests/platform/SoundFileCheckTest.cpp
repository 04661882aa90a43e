#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestSoundFiles.h"
#include "platform/SoundFileCheck.h"

namespace tavlix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testsound::MidiFile;
using testsound::Tune;

bool Check(const Bytes& file) { return IsWellFormedMidi(file); }

Bytes WithTrack(std::initializer_list<std::uint8_t> events) { return MidiFile(Bytes(events)); }

TEST(MidiFileCheck, AcceptsTunesAsSequencersWriteThem)
{
    EXPECT_TRUE(Check(Tune(4)));
    // Running status: the second note-on and both note-offs without a status byte.
    EXPECT_TRUE(Check(WithTrack({0x00, 0x90, 60, 100, 0x10, 64, 100, 0x10, 60, 0, 0x00, 64, 0, 0x00, 0xFF, 0x2F, 0x00})));
    // System exclusive, a text event, a program change (one data byte).
    EXPECT_TRUE(Check(WithTrack({0x00, 0xF0, 0x02, 0x7E, 0xF7, 0x00, 0xFF, 0x01, 0x02, 'h', 'i', 0x00, 0xC0, 5})));
    // A chunk of an unknown kind is skipped.
    Bytes extra = Tune(1);
    extra.insert(extra.end(), {'X', 'F', 'I', 'H', 0, 0, 0, 2, 1, 2});
    EXPECT_TRUE(Check(extra));
}

TEST(MidiFileCheck, AcceptsEveryShippedTrack)
{
    int tracks = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAVLIX_DATA_DIR "/music")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_TRUE(Check(file)) << entry.path();
        ++tracks;
    }
    EXPECT_GT(tracks, 0);
}

TEST(MidiFileCheck, RejectsEveryEventASequencerCanNotRead)
{
    struct Case {
        std::string name;
        Bytes file;
    };
    Bytes headerOnly = Tune(1);
    headerOnly.resize(14);
    Bytes cut = Tune(4);
    cut.resize(cut.size() - 5);
    Bytes trailing = Tune(1);
    trailing.insert(trailing.end(), {'M', 'T'});
    Bytes smpte = Tune(1);
    smpte[12] = 0xE7;
    Bytes format2 = Tune(1);
    format2[9] = 2;
    Bytes twoTracksInFormat0 = Tune(1);
    twoTracksInFormat0[11] = 2;
    const std::vector<Case> cases = {
        {"empty", {}},
        {"noise", testsound::Noise(3000, 7)},
        {"wave header", testsound::Tone(10)},
        {"header without track", headerOnly},
        {"track cut short", cut},
        {"bytes after the last chunk", trailing},
        {"SMPTE time", smpte},
        {"format 2", format2},
        {"two tracks in format 0", twoTracksInFormat0},
        {"data byte before any status", WithTrack({0x00, 60, 100})},
        {"running status after a meta event", WithTrack({0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 0x00, 0x00, 60, 0})},
        {"note without its velocity", WithTrack({0x00, 0x90, 60})},
        {"status byte inside a note", WithTrack({0x00, 0x90, 60, 0x80, 0x00})},
        {"meta event longer than the track", WithTrack({0x00, 0xFF, 0x01, 0x10, 'a'})},
        {"meta event without its type", WithTrack({0x00, 0xFF})},
        {"tempo of two bytes", WithTrack({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1})},
        {"system exclusive longer than the track", WithTrack({0x00, 0xF0, 0x05, 0x7E})},
        {"system common event", WithTrack({0x00, 0xF2, 0x00, 0x00})},
        {"real-time event", WithTrack({0x00, 0xF8})},
        {"delta time of five bytes", WithTrack({0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00})},
        {"delta time at the end", WithTrack({0x00, 0xFF, 0x2F, 0x00, 0x81})},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(Check(c.file)) << c.name;
}

TEST(WaveHeaderCheck, WantsRiffWave)
{
    EXPECT_TRUE(HasWaveHeader(testsound::Tone(10)));
    EXPECT_FALSE(HasWaveHeader(Tune(1)));
    EXPECT_FALSE(HasWaveHeader(testsound::Noise(64, 3)));
    EXPECT_FALSE(HasWaveHeader(Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}));
    EXPECT_FALSE(HasWaveHeader(Bytes{'R', 'I', 'F', 'F'}));
}

}  // namespace
}  // namespace tavlix
