// The committed tracks are well-formed Standard MIDI Files that a player reads to the
// end, and the writer encodes what the file format asks for.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "CommittedMedia.h"
#include "MidiTrack.h"

namespace tavlix {
namespace {

using testing::BigEndian;

struct ReadTrack {
    std::uint32_t endTick = 0;
    std::map<std::uint32_t, std::uint32_t> tempos;  // tick -> microseconds a quarter
    int notes = 0;
    int unmatchedOffs = 0;
    int hangingNotes = 0;
    bool endsWithEndOfTrack = false;
    std::string error;
};

std::uint32_t ReadVariableLength(const std::vector<std::uint8_t>& b, std::size_t& at, std::size_t end)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && at < end; ++i) {
        const std::uint8_t byte = b[at++];
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    throw std::runtime_error("variable-length quantity runs over");
}

// Walks one MTrk body event by event, with running status, and pairs every note-on
// with the next note-off of its channel and key.
ReadTrack WalkTrack(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t end)
{
    ReadTrack t;
    std::map<int, int> sounding;  // channel * 128 + key -> open note-ons
    std::uint8_t status = 0;
    std::uint32_t tick = 0;
    try {
        while (at < end) {
            tick += ReadVariableLength(b, at, end);
            if (b.at(at) & 0x80)
                status = b[at++];
            if (status == 0xFF) {
                const std::uint8_t type = b.at(at++);
                const std::uint32_t length = ReadVariableLength(b, at, end);
                if (type == 0x51 && length == 3)
                    t.tempos[tick] = BigEndian(b, at, 3);
                at += length;
                if (type == 0x2F) {
                    t.endsWithEndOfTrack = at == end;
                    break;
                }
                continue;
            }
            if (status == 0xF0 || status == 0xF7 || status < 0x80)
                throw std::runtime_error("unexpected status byte");
            const int kind = status & 0xF0;
            const int channel = status & 0x0F;
            const int dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            const std::uint8_t key = b.at(at);
            const std::uint8_t velocity = dataBytes == 2 ? b.at(at + 1) : 0;
            at += std::size_t(dataBytes);
            if (kind == 0x90 && velocity > 0) {
                ++sounding[channel * 128 + key];
                ++t.notes;
            } else if (kind == 0x80 || kind == 0x90) {
                int& open = sounding[channel * 128 + key];
                open > 0 ? --open : ++t.unmatchedOffs;
            }
        }
    } catch (const std::exception& e) {
        t.error = e.what();
    }
    for (const auto& [note, open] : sounding)
        t.hangingNotes += open;
    t.endTick = tick;
    return t;
}

TEST(MidiTrackTest, CommittedTracksAreCompleteFormatOneFilesOfHalfAMinute)
{
    const auto files = testing::CommittedFiles("music", ".mid");
    ASSERT_EQ(files.size(), 7u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<std::uint8_t> b = testing::ReadBytes(path);
        ASSERT_GE(b.size(), 14u);
        ASSERT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
        ASSERT_EQ(BigEndian(b, 4, 4), 6u);
        EXPECT_EQ(BigEndian(b, 8, 2), 1u);
        const std::uint32_t trackCount = BigEndian(b, 10, 2);
        const std::uint32_t division = BigEndian(b, 12, 2);
        ASSERT_GT(division, 0u);
        ASSERT_LT(division, 0x8000u);  // ticks a quarter, not SMPTE frames
        EXPECT_GE(trackCount, 4u);  // tempo, melody, harmony, bass at the least

        std::size_t at = 14;
        std::uint32_t tracks = 0, endTick = 0;
        std::map<std::uint32_t, std::uint32_t> tempos;
        int notes = 0;
        while (at < b.size()) {
            ASSERT_LE(at + 8, b.size());
            ASSERT_EQ(std::string(b.begin() + long(at), b.begin() + long(at) + 4), "MTrk");
            const std::uint32_t length = BigEndian(b, at + 4, 4);
            ASSERT_LE(at + 8 + length, b.size()) << "track " << tracks << " runs past the file";
            const ReadTrack t = WalkTrack(b, at + 8, at + 8 + length);
            EXPECT_EQ(t.error, "") << "track " << tracks;
            EXPECT_TRUE(t.endsWithEndOfTrack) << "track " << tracks << " does not end with end-of-track";
            EXPECT_EQ(t.unmatchedOffs, 0) << "track " << tracks;
            EXPECT_EQ(t.hangingNotes, 0) << "track " << tracks << " leaves notes sounding";
            endTick = std::max(endTick, t.endTick);
            tempos.insert(t.tempos.begin(), t.tempos.end());
            notes += t.notes;
            at += 8 + length;
            ++tracks;
        }
        EXPECT_EQ(tracks, trackCount);
        EXPECT_GT(notes, 100);
        ASSERT_FALSE(tempos.empty());
        ASSERT_EQ(tempos.begin()->first, 0u);
        double seconds = 0;
        for (auto it = tempos.begin(); it != tempos.end(); ++it) {
            const std::uint32_t until = std::next(it) == tempos.end() ? endTick : std::next(it)->first;
            seconds += double(until - it->first) / division * it->second / 1e6;
        }
        EXPECT_GE(seconds, 20.0);
        EXPECT_LE(seconds, 40.0);
    }
}

TEST(MidiTrackTest, TracksAreDistinct)
{
    const auto files = testing::CommittedFiles("music", ".mid");
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t j = i + 1; j < files.size(); ++j)
            EXPECT_NE(testing::ReadBytes(files[i]), testing::ReadBytes(files[j]))
                << files[i].filename() << " " << files[j].filename();
}

// The examples the Standard MIDI File format gives for its variable-length numbers.
TEST(MidiTrackTest, VariableLengthQuantities)
{
    const std::pair<std::uint32_t, std::vector<std::uint8_t>> cases[] = {
        {0x00, {0x00}},
        {0x40, {0x40}},
        {0x7F, {0x7F}},
        {0x80, {0x81, 0x00}},
        {0x2000, {0xC0, 0x00}},
        {0x3FFF, {0xFF, 0x7F}},
        {0x4000, {0x81, 0x80, 0x00}},
        {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
        {0x200000, {0x81, 0x80, 0x80, 0x00}},
        {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& [value, bytes] : cases) {
        std::vector<std::uint8_t> out;
        mediagen::AppendVariableLength(out, value);
        EXPECT_EQ(out, bytes) << std::hex << value;
    }
}

// A key struck again as it is released: the release comes first, or the player would
// cut the new note short.
TEST(MidiTrackTest, ReleaseComesBeforeARepeatedNoteAndLongGapsEncode)
{
    mediagen::MidiTrack track;
    track.Note(100000, 480, 0, 60, 90);
    track.Note(0, 100000, 0, 60, 80);
    const std::vector<std::uint8_t> chunk = track.Encode();
    const std::vector<std::uint8_t> body(chunk.begin() + 8, chunk.end());
    EXPECT_EQ(BigEndian(chunk, 4, 4), body.size());
    const std::vector<std::uint8_t> expected{
        0x00, 0x90, 60, 80,               // on at 0
        0x86, 0x8D, 0x20, 0x80, 60, 0x40, // off at 100000
        0x00, 0x90, 60, 90,               // on again
        0x83, 0x60, 0x80, 60, 0x40,       // off 480 later
        0x00, 0xFF, 0x2F, 0x00,
    };
    EXPECT_EQ(body, expected);
}

}  // namespace
}  // namespace tavlix
