// The music settings file: its 21 keys, the root token both ways, and what a damaged or
// hand-edited file reads as.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../i18n/TestLanguage.h"
#include "media/MusicSettings.h"

namespace tavlix {
namespace {

class MusicSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() /
                 ("tavlix-music-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "config");
        m_files = {.musicFile = m_root / "config" / "music.ini",
                   .defaultMusicFile = m_root / "config" / "defaultmusic.ini",
                   .dataDirectory = m_root / "Program Folder"};
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    void Write(const std::filesystem::path& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    }
    std::string Read(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path m_root;
    MusicFiles m_files;
    LanguageState m_language = testing::MakeLanguage();
};

TEST_F(MusicSettingsTest, TokenIsExpandedOnReadingAndWrittenBack)
{
    Write(m_files.musicFile,
          "[Music]\r\nGeneral Background Music Path =  %%root_path%%\\music\\general.mid \r\n"
          "[Sound]\r\nGo Next = %%root_path%%\\sounds\\next.wav\r\n");
    const MusicSettings settings = LoadMusicSettings(m_files, false);
    EXPECT_EQ(settings.Track(MusicRow::General).path, (m_files.dataDirectory / "music" / "general.mid").string());
    EXPECT_EQ(settings.EffectPath(Effect::Next), (m_files.dataDirectory / "sounds" / "next.wav").string());

    ASSERT_TRUE(SaveMusicSettings(settings, m_files, m_language));
    const std::string text = Read(m_files.musicFile);
    EXPECT_NE(text.find("General Background Music Path = %%root_path%%\\music\\general.mid\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Go Next = %%root_path%%\\sounds\\next.wav\r\n"), std::string::npos) << text;
    EXPECT_EQ(LoadMusicSettings(m_files, false), settings);
}

TEST_F(MusicSettingsTest, PathsElsewhereKeepTheirCaseWhereCaseNamesAnotherFile)
{
    MusicSettings settings;
    settings.Track(MusicRow::WcHero).path = "/media/Usb Stick/Hero Theme.MID";
    const std::filesystem::path mixed = m_root / "Tracks" / "Calm.mid";
    std::filesystem::create_directories(mixed.parent_path());
    Write(mixed, "MThd");
    settings.Track(MusicRow::Training).path = mixed.string();
    ASSERT_TRUE(SaveMusicSettings(settings, m_files, m_language));
    const std::string text = Read(m_files.musicFile);
    EXPECT_NE(text.find("General WC Hero Music Path = /media/Usb Stick/Hero Theme.MID\r\n"), std::string::npos);
    EXPECT_NE(text.find("Training Music Path = " + mixed.string() + "\r\n"), std::string::npos);
    EXPECT_EQ(LoadMusicSettings(m_files, false), settings);
}

TEST_F(MusicSettingsTest, AllTwentyOneValuesUnderTheirKeys)
{
    MusicSettings settings;
    settings.musicOn = false;
    for (std::size_t i = 0; i < kMusicRowCount; ++i) {
        settings.tracks[i].enabled = i % 2 == 0;
        settings.tracks[i].path = "/t/" + std::to_string(i) + ".mid";
    }
    for (std::size_t i = 0; i < kEffectCount; ++i)
        settings.effects[i] = "/e/" + std::to_string(i) + ".wav";
    ASSERT_TRUE(SaveMusicSettings(settings, m_files, m_language));
    EXPECT_EQ(Read(m_files.musicFile),
              "[Music]\r\nMusic On = false\r\n"
              "Enable General Background Music = true\r\nGeneral Background Music Path = /t/0.mid\r\n"
              "Enable Training Music = false\r\nTraining Music Path = /t/1.mid\r\n"
              "Enable Training Game Music = true\r\nGeneral Training Game Music Path = /t/2.mid\r\n"
              "Enable WC Standard Music = false\r\nWC Standard Music Path = /t/3.mid\r\n"
              "Enable WC Hero Music = true\r\nGeneral WC Hero Music Path = /t/4.mid\r\n"
              "Enable WC Wizard Music = false\r\nWC Wizard Music Path = /t/5.mid\r\n"
              "Enable WC Holy War Music = true\r\nWC Holy War Music Path = /t/6.mid\r\n"
              "\r\n[Sound]\r\nGo Next = /e/0.wav\r\nGo Previous = /e/1.wav\r\nCorrect = /e/2.wav\r\n"
              "Incorrect = /e/3.wav\r\nAbnormal = /e/4.wav\r\nTimeUp = /e/5.wav\r\n");
    EXPECT_EQ(LoadMusicSettings(m_files, false), settings);
}

TEST_F(MusicSettingsTest, DamagedFilesReadAsDefaultsWhereTheyCanNotBeRead)
{
    // Missing altogether.
    EXPECT_EQ(LoadMusicSettings(m_files, false), MusicSettings());

    // Hand-edited: a flag that says neither true nor false keeps its default, a clear
    // one is taken, and binary junk around the entries is harmless.
    Write(m_files.musicFile, std::string("\xff\xfe\0junk\r\n", 9) + "[Music]\r\nMusic On = maybe\r\n" +
                                 "Enable Training Music = false\r\nEnable WC Hero Music = \r\n"
                                 "Training Music Path = \x01\x02\r\n[Sound\r\nCorrect = /x.wav\r\n");
    const MusicSettings settings = LoadMusicSettings(m_files, false);
    EXPECT_TRUE(settings.musicOn);
    EXPECT_FALSE(settings.Track(MusicRow::Training).enabled);
    EXPECT_TRUE(settings.Track(MusicRow::WcHero).enabled);
    EXPECT_TRUE(settings.EffectPath(Effect::Correct).empty());

    // The factory file is only read when asked for.
    Write(m_files.defaultMusicFile, "[Music]\r\nMusic On = false\r\n");
    EXPECT_TRUE(LoadMusicSettings(m_files, false).musicOn);
    EXPECT_FALSE(LoadMusicSettings(m_files, true).musicOn);
}

TEST_F(MusicSettingsTest, FailedSaveKeepsTheOldFileAndSaysWhy)
{
    Write(m_files.musicFile, "[Music]\r\nMusic On = true\r\n");
    MusicFiles unwritable = m_files;
    unwritable.musicFile = m_files.musicFile / "music.ini";  // below a file: no folder can be made
    std::string error;
    EXPECT_FALSE(SaveMusicSettings(MusicSettings(), unwritable, m_language, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(m_files.musicFile), "[Music]\r\nMusic On = true\r\n");
}

TEST(MusicRootPathTest, TokenStandsForTheWholeDataDirectoryOnly)
{
    EXPECT_EQ(ExpandRootPath("%%root_path%%\\a\\b.mid", "/opt/tavlix"), "/opt/tavlix/a/b.mid");
    EXPECT_EQ(CollapseRootPath("/opt/tavlix/a/b.mid", "/opt/tavlix"), "%%root_path%%\\a\\b.mid");
    EXPECT_EQ(CollapseRootPath("/opt/other/b.mid", "/opt/tavlix"), "/opt/other/b.mid");
    // A program at the root would otherwise turn every separator into the token.
    EXPECT_EQ(CollapseRootPath("/music/b.mid", "/"), "/music/b.mid");
    EXPECT_EQ(CollapseRootPath("", "/opt/tavlix"), "");
}

}  // namespace
}  // namespace tavlix
