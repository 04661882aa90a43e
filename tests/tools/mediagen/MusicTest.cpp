// A piece whose notation is wrong stops the generator with a message naming the fault,
// instead of writing a track that drifts out of time with its chords.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Music.h"

namespace tavlix {
namespace {

mediagen::Piece Sketch(std::string melody, std::string chords)
{
    return {"sketch.mid", "Sketch", 120, 4, 0, 0, 0, 32, -1, mediagen::Accompaniment::Block,
            mediagen::BassLine::Long, mediagen::Drums::None, std::move(melody), std::move(chords)};
}

TEST(MusicTest, FaultyNotationIsRefusedWithItsReason)
{
    const struct {
        const char* melody;
        const char* chords;
        const char* reason;
    } cases[] = {
        {"C5:16", "C | G", "the melody lasts 16 sixteenths, the chords 32"},
        {"C5:16", "Cx", "unknown chord \"Cx\""},
        {"C5", "C", "melody token without a length: \"C5\""},
        {"H5:16", "C", "no note name in \"H5:16\""},
        {"C5:16", "C G Am", "a bar of chords that does not divide"},
        {"", "", "no chords"},
        {"C5:0 C5:16", "C", "melody token out of range: \"C5:0\""},
    };
    for (const auto& c : cases) {
        try {
            mediagen::WritePiece(Sketch(c.melody, c.chords));
            ADD_FAILURE() << c.melody << " / " << c.chords << " was accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
    EXPECT_NO_THROW(mediagen::WritePiece(Sketch("C5:8 r:4 D5:4 B4:16", "C | G7")));
}

}  // namespace
}  // namespace tavlix
