// The committed factory media are exactly what tavlix-mediagen builds, and the factory
// music settings name each of them for its own purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "CommittedMedia.h"
#include "MediaFiles.h"
#include "media/MusicSettings.h"
#include "media/MusicType.h"

namespace tavlix {
namespace {

using testing::DataDirectory;

TEST(MediaFilesTest, CommittedFilesMatchTheGeneratorByteForByte)
{
    for (const mediagen::MediaFile& file : mediagen::BuildMediaFiles()) {
        const std::vector<std::uint8_t> committed = testing::ReadBytes(DataDirectory() / file.path);
        ASSERT_EQ(committed.size(), file.bytes.size())
            << file.path << ": regenerate with tavlix-mediagen data";
        const auto mismatch = std::mismatch(committed.begin(), committed.end(), file.bytes.begin());
        EXPECT_EQ(mismatch.first, committed.end())
            << file.path << " differs at byte " << (mismatch.first - committed.begin())
            << ": regenerate with tavlix-mediagen data";
    }
}

TEST(MediaFilesTest, MusicAndSoundFoldersHoldOnlyGeneratedFiles)
{
    std::set<std::string> generated;
    for (const mediagen::MediaFile& file : mediagen::BuildMediaFiles())
        generated.insert(file.path);
    EXPECT_EQ(generated.size(), 7u + 6u + 1u);
    for (const char* folder : {"music", "sounds"})
        for (const auto& entry : std::filesystem::directory_iterator(DataDirectory() / folder)) {
            const std::string relative = std::string(folder) + "/" + entry.path().filename().string();
            EXPECT_TRUE(generated.count(relative)) << relative << " is committed but not generated";
        }
}

// Each setting, read as the program reads it, with the file made for it: a swapped pair
// would play the wrong music.
TEST(MediaFilesTest, FactorySettingsNameEachShippedFileForItsPurpose)
{
    const MusicFiles files{.musicFile = {},
                           .defaultMusicFile = DataDirectory() / "config" / "defaultmusic.ini",
                           .dataDirectory = DataDirectory()};
    const MusicSettings settings = LoadMusicSettings(files, true);
    const std::pair<MusicRow, const char*> tracks[] = {
        {MusicRow::General, "music/general.mid"},       {MusicRow::Training, "music/training.mid"},
        {MusicRow::TrainingGame, "music/traininggame.mid"}, {MusicRow::WcStandard, "music/wcstandard.mid"},
        {MusicRow::WcHero, "music/wchero.mid"},         {MusicRow::WcWizard, "music/wcwizard.mid"},
        {MusicRow::WcHolyWar, "music/wcholywar.mid"},
    };
    const std::pair<Effect, const char*> effects[] = {
        {Effect::Next, "sounds/next.wav"},         {Effect::Previous, "sounds/previous.wav"},
        {Effect::Correct, "sounds/correct.wav"},   {Effect::Incorrect, "sounds/incorrect.wav"},
        {Effect::Abnormal, "sounds/abnormal.wav"}, {Effect::TimeUp, "sounds/timeup.wav"},
    };
    EXPECT_TRUE(settings.musicOn);
    for (const auto& [row, file] : tracks) {
        EXPECT_TRUE(settings.Track(row).enabled) << file;
        EXPECT_EQ(settings.Track(row).path, (DataDirectory() / file).string());
        EXPECT_TRUE(IsPlayableFile(settings.Track(row).path)) << file;
    }
    for (const auto& [effect, file] : effects) {
        EXPECT_EQ(settings.EffectPath(effect), (DataDirectory() / file).string());
        EXPECT_TRUE(IsPlayableFile(settings.EffectPath(effect))) << file;
    }
}

}  // namespace
}  // namespace tavlix
