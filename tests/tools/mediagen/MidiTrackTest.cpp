// The committed tracks are well-formed Standard MIDI Files that a player reads to the
// end, and the writer encodes what the file format asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

#include "CommittedMedia.h"
#include "MidiTrack.h"

namespace tavlix {
namespace {

using testing::BigEndian;

// What the tracks of one file add up to.
struct Walked {
    std::uint32_t endTick = 0;
    std::map<std::uint32_t, std::uint32_t> tempos;  // tick -> microseconds a quarter
    int notes = 0;
};

std::uint32_t ReadVariableLength(const std::vector<std::uint8_t>& b, std::size_t& at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t byte = b.at(at++);
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    throw std::runtime_error("variable-length quantity runs over");
}

// Walks one MTrk body event by event, with running status, and pairs every note-on
// with the next note-off of its channel and key; the fault found, or "".
std::string WalkTrack(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t end, Walked& w)
{
    std::map<int, int> sounding;  // channel * 128 + key -> open note-ons
    std::uint8_t status = 0;
    std::uint32_t tick = 0;
    try {
        while (at < end) {
            tick += ReadVariableLength(b, at);
            w.endTick = std::max(w.endTick, tick);
            if (b.at(at) & 0x80)
                status = b[at++];
            if (status == 0xFF) {
                const std::uint8_t type = b.at(at++);
                const std::uint32_t length = ReadVariableLength(b, at);
                if (type == 0x51 && length == 3)
                    w.tempos[tick] = BigEndian(b, at, 3);
                at += length;
                if (type != 0x2F)
                    continue;
                if (at != end)
                    return "events after end-of-track";
                for (const auto& [note, open] : sounding)
                    if (open)
                        return "notes left sounding";
                return "";
            }
            if (status == 0xF0 || status == 0xF7 || status < 0x80)
                return "unexpected status byte";
            const int kind = status & 0xF0;
            const bool oneByte = kind == 0xC0 || kind == 0xD0;
            int& open = sounding[(status & 0x0F) * 128 + b.at(at)];
            const std::uint8_t velocity = oneByte ? 0 : b.at(at + 1);
            at += oneByte ? 1 : 2;
            if (kind == 0x90 && velocity > 0) {
                ++open;
                ++w.notes;
            } else if ((kind == 0x80 || kind == 0x90) && open-- == 0)
                return "a note-off with no note-on";
        }
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no end-of-track";
}

// Distinct from one another, too: a generator bug that repeats one tune shows here.
TEST(MidiTrackTest, CommittedTracksAreDistinctCompleteFormatOneFilesOfHalfAMinute)
{
    const auto files = testing::CommittedFiles("music", ".mid");
    ASSERT_EQ(files.size(), 7u);
    std::vector<std::vector<std::uint8_t>> seen;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<std::uint8_t> b = testing::ReadBytes(path);
        ASSERT_GE(b.size(), 14u);
        ASSERT_EQ(std::string(b.begin(), b.begin() + 8), std::string("MThd\0\0\0\6", 8));
        EXPECT_EQ(BigEndian(b, 8, 2), 1u);
        const std::uint32_t trackCount = BigEndian(b, 10, 2);
        const std::uint32_t division = BigEndian(b, 12, 2);
        ASSERT_TRUE(division > 0 && division < 0x8000u);  // ticks a quarter, not SMPTE frames
        EXPECT_GE(trackCount, 4u);  // tempo, melody, harmony, bass at the least
        EXPECT_EQ(std::count(seen.begin(), seen.end(), b), 0);
        seen.push_back(b);

        std::uint32_t tracks = 0;
        Walked w;
        for (std::size_t at = 14; at < b.size(); ++tracks) {
            ASSERT_LE(at + 8, b.size());
            ASSERT_EQ(std::string(b.begin() + long(at), b.begin() + long(at) + 4), "MTrk");
            const std::uint32_t length = BigEndian(b, at + 4, 4);
            ASSERT_LE(at + 8 + length, b.size()) << "track " << tracks << " runs past the file";
            EXPECT_EQ(WalkTrack(b, at + 8, at + 8 + length, w), "") << "track " << tracks;
            at += 8 + length;
        }
        EXPECT_EQ(tracks, trackCount);
        EXPECT_GT(w.notes, 100);
        ASSERT_FALSE(w.tempos.empty());
        ASSERT_EQ(w.tempos.begin()->first, 0u);
        double seconds = 0;
        for (auto it = w.tempos.begin(); it != w.tempos.end(); ++it) {
            const std::uint32_t until = std::next(it) == w.tempos.end() ? w.endTick : std::next(it)->first;
            seconds += double(until - it->first) / division * it->second / 1e6;
        }
        EXPECT_TRUE(seconds >= 20 && seconds <= 40) << seconds << " seconds";
    }
}

// The examples the Standard MIDI File format gives for its variable-length numbers.
TEST(MidiTrackTest, VariableLengthQuantities)
{
    const std::pair<std::uint32_t, std::vector<std::uint8_t>> cases[] = {
        {0x00, {0x00}},
        {0x7F, {0x7F}},
        {0x80, {0x81, 0x00}},
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
