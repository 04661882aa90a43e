#include "MediaFiles.h"

#include "BackgroundPicture.h"
#include "Music.h"
#include "SoundEffects.h"
#include "WaveFile.h"

namespace tavlix::mediagen {

std::vector<MediaFile> BuildMediaFiles()
{
    std::vector<MediaFile> files;
    for (const Piece& piece : Pieces())
        files.push_back({"music/" + piece.fileName, WritePiece(piece)});
    for (const SoundEffect& sound : BuildSoundEffects())
        files.push_back({"sounds/" + sound.fileName, WriteWaveFile(sound.samples, kSoundSampleRate)});
    files.push_back({"images/back.bmp", BuildBackgroundPicture().Encode()});
    return files;
}

}  // namespace tavlix::mediagen
