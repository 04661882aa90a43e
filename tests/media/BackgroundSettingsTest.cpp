#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "media/CBackgroundSettings.h"
#include "platform/InMemoryProfileStore.h"
#include "settings/Profile.h"

namespace tavlix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSection = CBackgroundSettings::kSection;

// A program folder with images/back.bmp in it (the content does not matter here), and
// a spare image beside it; removed afterwards.
class BackgroundSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(::testing::TempDir()) /
                   ("tavlix-background-" + std::to_string(::getpid()) + "-" + test->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "program" / "images");
        Touch(m_folder / "program" / "images" / "back.bmp");
        Touch(m_folder / "spare.bmp");
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static void Touch(const fs::path& file) { std::ofstream(file) << "BM"; }
    fs::path Program() const { return m_folder / "program"; }
    std::string DefaultImage() const { return (Program() / "images" / "back.bmp").string(); }
    std::string Spare() const { return (m_folder / "spare.bmp").string(); }

    CBackgroundSettings Loaded() const
    {
        CBackgroundSettings settings(Program());
        settings.Load(m_profile);
        return settings;
    }

    fs::path m_folder;
    InMemoryProfileStore m_store;
    Profile m_profile{m_store};
};

TEST_F(BackgroundSettingsTest, AFreshStoreGivesTheStretchedShippedImageOverPink)
{
    const CBackgroundSettings settings = Loaded();
    EXPECT_TRUE(settings.m_bEnableImage);
    EXPECT_EQ(settings.m_nDisplayMode, BackgroundMode::Stretch);
    EXPECT_EQ(settings.m_crBkColor, 0xC080FFu);
    EXPECT_EQ(settings.m_strFileName, DefaultImage());
    EXPECT_EQ(settings.m_strLastImagePath, "");
    EXPECT_TRUE(settings.m_bPromptDrag);
}

TEST_F(BackgroundSettingsTest, ResetIsStretchedShippedImageOverGrey)
{
    m_profile.WriteProfileInt(kSection, "EnableImage", 0);
    m_profile.WriteProfileInt(kSection, "DisplayMode", 1);
    m_profile.WriteProfileInt(kSection, "BkColor", 0x123456);
    CBackgroundSettings settings = Loaded();
    ASSERT_FALSE(settings.m_bEnableImage);
    ASSERT_EQ(settings.m_strFileName, "");
    settings.Reset();
    EXPECT_TRUE(settings.m_bEnableImage);
    EXPECT_EQ(settings.m_nDisplayMode, BackgroundMode::Stretch);
    EXPECT_EQ(settings.m_crBkColor, 0xC0C0C0u);
    EXPECT_EQ(settings.m_strFileName, DefaultImage());
}

TEST_F(BackgroundSettingsTest, StoredDisplayModesAreTakenOverAsTheProgramDrawsThem)
{
    const std::pair<std::uint32_t, BackgroundMode> cases[] = {
        {0, BackgroundMode::Tile},   {1, BackgroundMode::Center}, {2, BackgroundMode::Stretch},
        {3, BackgroundMode::Tile},   {7, BackgroundMode::Tile},   {0x80000000u, BackgroundMode::Tile},
        {0xFFFFFFFEu, BackgroundMode::Tile}};
    for (const auto& [stored, expected] : cases) {
        m_profile.WriteProfileInt(kSection, "DisplayMode", stored);
        EXPECT_EQ(Loaded().m_nDisplayMode, expected) << "stored " << stored;
    }
}

TEST_F(BackgroundSettingsTest, TheModeIsReadUnderEitherSpellingOfTheSection)
{
    // Settings groups tell case apart off Windows: a mode kept under the other spelling
    // still counts, and the one the program writes comes first.
    m_profile.WriteProfileInt("Background", "DisplayMode", 1);
    EXPECT_EQ(Loaded().m_nDisplayMode, BackgroundMode::Center);
    m_profile.WriteProfileInt("BackGround", "DisplayMode", 0);
    EXPECT_EQ(Loaded().m_nDisplayMode, BackgroundMode::Tile);
}

TEST_F(BackgroundSettingsTest, SwitchingOnFallsBackToTheLastImagePathOnlyForAMissingFile)
{
    m_profile.WriteProfileString(kSection, "LastImagePath", Spare());
    m_profile.WriteProfileString(kSection, "FileName", (m_folder / "gone.bmp").string());
    CBackgroundSettings settings = Loaded();
    EXPECT_EQ(settings.SetImageEnabled(true), Spare());

    m_profile.WriteProfileString(kSection, "FileName", DefaultImage());
    settings = Loaded();
    EXPECT_EQ(settings.SetImageEnabled(true), DefaultImage());

    // Off forgets the file, so on again has only the last image path.
    EXPECT_EQ(settings.SetImageEnabled(false), "");
    EXPECT_FALSE(settings.m_bEnableImage);
    EXPECT_EQ(settings.SetImageEnabled(true), Spare());
    EXPECT_TRUE(settings.m_bEnableImage);

    // A folder is no image file either.
    m_profile.WriteProfileString(kSection, "FileName", m_folder.string());
    settings = Loaded();
    EXPECT_EQ(settings.SetImageEnabled(true), Spare());
}

TEST_F(BackgroundSettingsTest, SaveWritesEverythingButTheLastImagePath)
{
    CBackgroundSettings settings = Loaded();
    settings.m_nDisplayMode = BackgroundMode::Center;
    settings.m_crBkColor = 0x00336699;
    settings.m_strFileName = Spare();
    settings.m_bPromptDrag = false;
    settings.m_strLastImagePath = "/somewhere/else.bmp";
    settings.Save(m_profile);
    EXPECT_FALSE(m_store.ReadString(kSection, "LastImagePath").has_value());
    EXPECT_EQ(m_store.ReadInt(kSection, "EnableImage"), 1u);

    const CBackgroundSettings again = Loaded();
    EXPECT_EQ(again.m_nDisplayMode, BackgroundMode::Center);
    EXPECT_EQ(again.m_crBkColor, 0x00336699u);
    EXPECT_EQ(again.m_strFileName, Spare());
    EXPECT_FALSE(again.m_bPromptDrag);

    // A window closed with the image off starts with no file at all.
    settings.SetImageEnabled(false);
    settings.Save(m_profile);
    EXPECT_EQ(m_store.ReadInt(kSection, "EnableImage"), 0u);
    EXPECT_EQ(Loaded().m_strFileName, "");
}

TEST(BackgroundGeometryTest, ACentredImageLargerThanTheWindowShowsItsMiddle)
{
    const PixelSize area{100, 80};
    const PixelSize image{301, 200};
    const PixelRect r = CenteredRect(area, image);
    EXPECT_EQ(r, (PixelRect{-100, -60, 301, 200}));
    // The image's middle pixel lands on the window's middle pixel.
    EXPECT_EQ(r.x + image.width / 2, area.width / 2);
    EXPECT_EQ(r.y + image.height / 2, area.height / 2);
    EXPECT_EQ(ImagePlacements(BackgroundMode::Center, area, image), std::vector<PixelRect>{r});
    // A smaller one sits in integer halves of the spare room.
    EXPECT_EQ(CenteredRect({101, 81}, {50, 40}), (PixelRect{25, 20, 50, 40}));
}

TEST(BackgroundGeometryTest, TilesCoverTheAreaWithNoSpareRowOrColumn)
{
    struct Case {
        PixelSize area;
        PixelSize image;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {{100, 50}, {30, 20}, 4, 3},   // partial last row and column
        {{90, 40}, {30, 20}, 3, 2},    // an exact fit needs nothing more
        {{20, 10}, {320, 240}, 1, 1},  // one copy, cut off
        {{1, 1}, {1, 1}, 1, 1},
    };
    for (const Case& c : cases) {
        const std::vector<PixelRect> tiles = ImagePlacements(BackgroundMode::Tile, c.area, c.image);
        ASSERT_EQ(tiles.size(), std::size_t(c.columns * c.rows)) << c.area.width << "x" << c.area.height;
        // Row by row from the top left, each copy beside the one before.
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            const int column = int(i) % c.columns;
            const int row = int(i) / c.columns;
            EXPECT_EQ(tiles[i], (PixelRect{column * c.image.width, row * c.image.height, c.image.width,
                                           c.image.height}));
        }
        const PixelRect& last = tiles.back();
        EXPECT_GE(last.x + last.width, c.area.width);
        EXPECT_LT(last.x, c.area.width);
        EXPECT_GE(last.y + last.height, c.area.height);
        EXPECT_LT(last.y, c.area.height);
    }
}

TEST(BackgroundGeometryTest, StretchFillsTheAreaAndEmptyImagesDrawNothing)
{
    EXPECT_EQ(ImagePlacements(BackgroundMode::Stretch, {640, 480}, {32, 24}),
              std::vector<PixelRect>{(PixelRect{0, 0, 640, 480})});
    for (const BackgroundMode mode : {BackgroundMode::Tile, BackgroundMode::Center, BackgroundMode::Stretch}) {
        EXPECT_TRUE(ImagePlacements(mode, {640, 480}, {0, 0}).empty());
        EXPECT_TRUE(ImagePlacements(mode, {0, 480}, {32, 24}).empty());
        EXPECT_TRUE(ImagePlacements(mode, {640, 480}, {-3, 24}).empty());
    }
}

TEST_F(BackgroundSettingsTest, DropsKeepExistingFilesInOrderTrimmed)
{
    const std::vector<std::string> dropped = {m_folder.string(), "  " + Spare() + "\r\n",
                                              (m_folder / "gone.bmp").string(), DefaultImage(), ""};
    EXPECT_EQ(DroppedFiles(dropped), (std::vector<fs::path>{Spare(), DefaultImage()}));
}

}  // namespace
}  // namespace tavlix
