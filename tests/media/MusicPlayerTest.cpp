// Which track plays when, how it pauses, resumes and loops, the limited previews and the
// effects, over a recording sound device.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../i18n/TestLanguage.h"
#include "FakeAudioDevice.h"
#include "media/MusicPlayer.h"

namespace tavlix {
namespace {

class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() /
                 ("tavlix-player-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "config");
        m_files = {.musicFile = m_root / "config" / "music.ini",
                   .defaultMusicFile = m_root / "config" / "defaultmusic.ini",
                   .dataDirectory = m_root};
        for (const char* name : {"general.mid", "training.mid", "game.mid", "hero.mid", "holy.mid", "loop.wav",
                                 "TRACK.WAV", "song.wma", "song.mp3", "next.wav"})
            std::ofstream(m_root / name) << "sound";
        std::ofstream(m_files.musicFile)
            << "[Music]\nGeneral Background Music Path = %%root_path%%\\general.mid\n"
               "Training Music Path = %%root_path%%\\training.mid\n"
               "General Training Game Music Path = %%root_path%%\\game.mid\n"
               "General WC Hero Music Path = %%root_path%%\\hero.mid\n"
               "WC Holy War Music Path = %%root_path%%\\holy.mid\n"
               "Enable WC Wizard Music = false\nWC Wizard Music Path = %%root_path%%\\hero.mid\n"
               "[Sound]\nGo Next = %%root_path%%\\next.wav\n";
        MakePlayer();
    }
    void TearDown() override
    {
        m_player.reset();
        std::filesystem::remove_all(m_root);
    }

    void MakePlayer()
    {
        m_player.reset();
        MusicPlayer::Hooks hooks{
            .countdownTimer = [this](bool running) { m_timerRunning = running; },
            .openWithRegisteredPlayer = [this](const std::filesystem::path& file) { m_handedOver.push_back(file); },
        };
        m_player = std::make_unique<MusicPlayer>(m_device, m_files, m_language, std::move(hooks));
    }
    std::string Path(const char* name) const { return (m_root / name).string(); }
    void Switch(RunMode mode, bool standardRule = true, bool jqk = true)
    {
        m_player->SetSituation({.mode = mode, .standardRule = standardRule, .jqk = jqk});
        m_player->UpdateMusic();
    }

    std::filesystem::path m_root;
    MusicFiles m_files;
    LanguageState m_language = testing::MakeLanguage();
    FakeAudioDevice m_device;
    bool m_timerRunning = false;
    std::vector<std::filesystem::path> m_handedOver;
    std::unique_ptr<MusicPlayer> m_player;
};

TEST_F(MusicPlayerTest, EachSituationHasItsTrack)
{
    Switch(RunMode::Free);
    EXPECT_EQ(m_device.openSequence, Path("general.mid"));
    Switch(RunMode::Training);
    EXPECT_EQ(m_device.openSequence, Path("training.mid"));
    Switch(RunMode::TrainingGame);
    EXPECT_EQ(m_device.openSequence, Path("game.mid"));
    Switch(RunMode::WorldCup, true, true);
    EXPECT_EQ(m_device.openSequence, Path("hero.mid"));
    Switch(RunMode::WorldCup, false, true);
    EXPECT_EQ(m_device.openSequence, Path("holy.mid"));
    // Wizard is switched off: silence, though its path names a track.
    Switch(RunMode::WorldCup, false, false);
    EXPECT_TRUE(m_device.openSequence.empty());
    EXPECT_TRUE(m_player->CurrentMusicPath().empty());
    // Standard has no track.
    Switch(RunMode::WorldCup, true, false);
    EXPECT_TRUE(m_device.openSequence.empty());
}

TEST_F(MusicPlayerTest, MusicOffSilencesEveryModeButNotTheEffects)
{
    Switch(RunMode::Free);
    ASSERT_TRUE(m_player->SetMusicOn(false));
    for (RunMode mode : {RunMode::Free, RunMode::Training, RunMode::TrainingGame, RunMode::WorldCup}) {
        Switch(mode);
        EXPECT_FALSE(m_device.sequencePlaying);
        EXPECT_TRUE(m_player->ChooseMusicForMode().empty());
    }
    m_player->PlayEffect(Effect::Next);
    EXPECT_EQ(m_device.calls.back(), "wave " + Path("next.wav"));
    // An effect without a file plays nothing at all.
    const std::size_t calls = m_device.calls.size();
    m_player->PlayEffect(Effect::TimeUp);
    EXPECT_EQ(m_device.calls.size(), calls);
    // And the choice is kept in the file.
    MakePlayer();
    EXPECT_FALSE(m_player->Settings().musicOn);
}

TEST_F(MusicPlayerTest, FinishedTrackStartsAgainFromTheBeginning)
{
    Switch(RunMode::Free);
    m_device.Advance(30);
    m_device.calls.clear();
    m_device.FinishSequence(SequenceEnd::Successful);
    EXPECT_EQ(m_device.calls, (std::vector<std::string>{"purge", "close all", "close all", "open " + Path("general.mid"),
                                                         "play from 0"}));
    EXPECT_EQ(m_device.position, 0);
    EXPECT_TRUE(m_device.sequencePlaying);

    // Plays that were cut short are not looped.
    m_device.calls.clear();
    m_device.FinishSequence(SequenceEnd::Aborted);
    m_device.FinishSequence(SequenceEnd::Superseded);
    m_device.FinishSequence(SequenceEnd::Failed);
    EXPECT_TRUE(m_device.calls.empty());
}

TEST_F(MusicPlayerTest, MusicOffThenOnGoesOnWhereItStopped)
{
    Switch(RunMode::Free);
    m_device.Advance(12);
    ASSERT_TRUE(m_player->SetMusicOn(false));
    EXPECT_FALSE(m_device.sequencePlaying);
    m_device.Advance(5);
    ASSERT_TRUE(m_player->SetMusicOn(true));
    EXPECT_TRUE(m_device.sequencePlaying);
    EXPECT_EQ(m_device.position, 12);
    EXPECT_EQ(m_device.calls.back(), "resume");
}

TEST_F(MusicPlayerTest, SameTrackForTrainingAndFreePlayKeepsPlaying)
{
    std::ofstream(m_files.musicFile) << "[Music]\nGeneral Background Music Path = %%root_path%%\\general.mid\n"
                                        "Training Music Path = %%root_path%%\\general.mid\n";
    m_player->ReloadSettings();
    Switch(RunMode::Training);
    m_device.Advance(7);
    m_device.calls.clear();
    Switch(RunMode::Free);
    EXPECT_EQ(m_device.calls, (std::vector<std::string>{"resume"}));
    EXPECT_EQ(m_device.position, 7);
}

TEST_F(MusicPlayerTest, WaveformTracksLoopAndEffectsCutThemOff)
{
    // A capital extension is still a waveform.
    for (const char* name : {"loop.wav", "TRACK.WAV"}) {
        ASSERT_TRUE(m_player->PlayMusicFile(Path(name), MusicPlayer::kUnlimited));
        EXPECT_EQ(m_device.calls.back(), "wave loop " + Path(name));
    }
    m_player->PlayEffect(Effect::Next);
    EXPECT_EQ(m_device.wave, Path("next.wav"));
    // Pausing a waveform track stops it; resuming starts it again.
    m_player->PauseMusic();
    EXPECT_TRUE(m_device.wave.empty());
    m_player->ResumeMusic();
    EXPECT_EQ(m_device.calls.back(), "wave loop " + Path("TRACK.WAV"));
}

TEST_F(MusicPlayerTest, CompressedTracksGoToTheRegisteredPlayer)
{
    Switch(RunMode::Free);
    for (const char* name : {"song.wma", "song.mp3"}) {
        ASSERT_TRUE(m_player->PlayMusicFile(Path(name), MusicPlayer::kUnlimited));
        EXPECT_EQ(m_handedOver.back(), Path(name));
        EXPECT_FALSE(m_device.sequencePlaying);
        // Once handed over, the track is not ours to pause.
        m_device.calls.clear();
        m_player->PauseMusic();
        EXPECT_TRUE(m_device.calls.empty());
    }
    EXPECT_EQ(m_handedOver.size(), 2u);
}

TEST_F(MusicPlayerTest, MissingTrackPlaysNothingUntilItAppears)
{
    std::filesystem::remove(m_root / "general.mid");
    EXPECT_FALSE(m_player->PlayMusicFile(Path("general.mid"), MusicPlayer::kUnlimited));
    EXPECT_FALSE(m_player->PlayMusicFile(Path("notes.txt"), MusicPlayer::kUnlimited));
    Switch(RunMode::Free);
    EXPECT_FALSE(m_device.sequencePlaying);
    EXPECT_EQ(m_player->CurrentMusicPath(), Path("general.mid"));
    std::ofstream(m_root / "general.mid") << "sound";
    Switch(RunMode::Free);
    EXPECT_TRUE(m_device.sequencePlaying);
    EXPECT_EQ(m_device.openSequence, Path("general.mid"));
}

TEST_F(MusicPlayerTest, PreviewStopsAfterTwentySeconds)
{
    ASSERT_TRUE(m_player->PlayMusicFile(Path("training.mid"), MusicPlayer::kPreviewSeconds));
    EXPECT_TRUE(m_timerRunning);
    for (int second = 1; second < 20; ++second)
        m_player->OnCountdownTick();
    EXPECT_TRUE(m_device.sequencePlaying);
    EXPECT_TRUE(m_player->IsPlaying());
    m_player->OnCountdownTick();
    EXPECT_FALSE(m_device.sequencePlaying);
    EXPECT_FALSE(m_player->IsPlaying());
    EXPECT_FALSE(m_timerRunning);
    EXPECT_TRUE(m_player->CurrentMusicPath().empty());

    // A waveform preview plays once, not looped, and stops the same way.
    m_player->PlayWave(Path("loop.wav"), MusicPlayer::kPreviewSeconds, false, true);
    EXPECT_EQ(m_device.calls.back(), "wave " + Path("loop.wav"));
    for (int second = 0; second < 20; ++second)
        m_player->OnCountdownTick();
    EXPECT_TRUE(m_device.wave.empty());
}

TEST_F(MusicPlayerTest, ResumedTrackOutlivesThePreviewBeforeIt)
{
    // The dialog pauses the track, previews the same file, and the track comes back.
    Switch(RunMode::Free);
    m_player->PauseMusic();
    ASSERT_TRUE(m_player->PlayMusicFile(Path("general.mid"), MusicPlayer::kPreviewSeconds));
    m_player->OnCountdownTick();
    m_player->UpdateMusic();
    EXPECT_FALSE(m_timerRunning);
    for (int second = 0; second < 60; ++second)
        m_player->OnCountdownTick();
    EXPECT_TRUE(m_device.sequencePlaying);
}

TEST_F(MusicPlayerTest, DroppedTrackBecomesTheTrackOfTheCurrentMode)
{
    ASSERT_TRUE(m_player->SetMusicOn(false));
    Switch(RunMode::TrainingGame);
    ASSERT_TRUE(m_player->SetMusicForCurrentMode(Path("loop.wav")));
    EXPECT_TRUE(m_player->Settings().musicOn);
    EXPECT_EQ(m_device.calls.back(), "wave loop " + Path("loop.wav"));
    // The same file again changes nothing.
    m_device.calls.clear();
    ASSERT_TRUE(m_player->SetMusicForCurrentMode(Path("loop.wav")));
    EXPECT_TRUE(m_device.calls.empty());

    MakePlayer();
    EXPECT_TRUE(m_player->Settings().musicOn);
    EXPECT_EQ(m_player->Settings().Track(MusicRow::TrainingGame).path, Path("loop.wav"));
    EXPECT_EQ(m_player->Settings().Track(MusicRow::General).path, Path("general.mid"));
}

}  // namespace
}  // namespace tavlix
