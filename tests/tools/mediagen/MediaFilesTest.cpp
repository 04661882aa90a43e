// The committed factory media are exactly what tavlix-mediagen builds, and the factory
// music settings name each of them for its own purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "CommittedMedia.h"
#include "MediaFiles.h"
#include "settings/CConfigFile.h"

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

// Each setting with the file made for it: a swapped pair would play the wrong music.
TEST(MediaFilesTest, FactorySettingsNameEachShippedFileForItsPurpose)
{
    struct Entry {
        const char* section;
        const char* key;
        const char* file;
    } entries[] = {
        {"Music", "General Background Music Path", "music/general.mid"},
        {"Music", "Training Music Path", "music/training.mid"},
        {"Music", "General Training Game Music Path", "music/traininggame.mid"},
        {"Music", "WC Standard Music Path", "music/wcstandard.mid"},
        {"Music", "General WC Hero Music Path", "music/wchero.mid"},
        {"Music", "WC Wizard Music Path", "music/wcwizard.mid"},
        {"Music", "WC Holy War Music Path", "music/wcholywar.mid"},
        {"Sound", "Go Next", "sounds/next.wav"},
        {"Sound", "Go Previous", "sounds/previous.wav"},
        {"Sound", "Correct", "sounds/correct.wav"},
        {"Sound", "Incorrect", "sounds/incorrect.wav"},
        {"Sound", "Abnormal", "sounds/abnormal.wav"},
        {"Sound", "TimeUp", "sounds/timeup.wav"},
    };
    CConfigFile config;
    config.Load(DataDirectory() / "config" / "defaultmusic.ini");
    const std::string token = "%%root_path%%\\";
    std::set<std::string> named;
    for (const Entry& e : entries) {
        std::string value;
        ASSERT_TRUE(config.GetString(e.section, e.key, value)) << e.key;
        ASSERT_EQ(value.rfind(token, 0), 0u) << e.key << " = " << value;
        std::string relative = value.substr(token.size());
        std::replace(relative.begin(), relative.end(), '\\', '/');
        EXPECT_EQ(relative, e.file) << e.key;
        EXPECT_TRUE(std::filesystem::is_regular_file(DataDirectory() / relative)) << value;
        named.insert(relative);
    }
    EXPECT_EQ(named.size(), std::size(entries));

    int pathValues = 0;
    for (const std::string& line : config.Lines())
        pathValues += line.find(" = %%root_path%%") != std::string::npos ? 1 : 0;
    EXPECT_EQ(pathValues, int(std::size(entries))) << "a path value under a key this test does not know";
}

}  // namespace
}  // namespace tavlix
