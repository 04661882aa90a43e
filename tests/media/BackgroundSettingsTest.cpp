#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "media/BitmapFile.h"
#include "media/CBackgroundSettings.h"
#include "platform/InMemoryProfileStore.h"
#include "settings/Profile.h"

namespace tavlix {
namespace {

namespace fs = std::filesystem;

// Where the background is stored.
constexpr std::string_view kSection = "BackGround";

// A program folder with images/back.bmp in it (the content does not matter here), and
// a spare image beside it; removed afterwards.
class BackgroundSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::path(::testing::TempDir()) /
                   ("tavlix-background-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "program" / "images");
        Touch(m_folder / "program" / "images" / "back.bmp");
        Touch(m_folder / "spare.bmp");
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static void Touch(const fs::path& file) { std::ofstream(file) << "BM"; }
    // What the window draws from: image on, mode, colour, file.
    using Drawn = std::tuple<bool, BackgroundMode, std::uint32_t, std::string>;
    static Drawn Of(const CBackgroundSettings& s)
    {
        return {s.m_bEnableImage, s.m_nDisplayMode, s.m_crBkColor, s.m_strFileName};
    }
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

TEST_F(BackgroundSettingsTest, AFreshStoreGivesTheStretchedShippedImageOverPinkAndResetOverGrey)
{
    CBackgroundSettings settings = Loaded();
    EXPECT_EQ(Of(settings), Drawn(true, BackgroundMode::Stretch, 0xC080FF, DefaultImage()));
    EXPECT_EQ(settings.m_strLastImagePath, "");
    EXPECT_TRUE(settings.m_bPromptDrag);

    for (const auto& [name, value] : {std::pair{"EnableImage", 0}, {"DisplayMode", 1}, {"BkColor", 0x123456}})
        m_profile.WriteProfileInt(kSection, name, std::uint32_t(value));
    settings = Loaded();
    ASSERT_EQ(settings.m_strFileName, "");
    settings.Reset();
    EXPECT_EQ(Of(settings), Drawn(true, BackgroundMode::Stretch, 0xC0C0C0, DefaultImage()));
}

// Settings groups tell case apart off Windows: a mode kept under the other spelling
// still counts, and the one the program writes comes first. Unknown modes tile.
TEST_F(BackgroundSettingsTest, StoredDisplayModesAreTakenOverAsTheProgramDrawsThem)
{
    m_profile.WriteProfileInt("Background", "DisplayMode", 1);
    EXPECT_EQ(Loaded().m_nDisplayMode, BackgroundMode::Center);
    const std::pair<std::uint32_t, BackgroundMode> cases[] = {
        {2, BackgroundMode::Stretch}, {1, BackgroundMode::Center}, {0, BackgroundMode::Tile},
        {3, BackgroundMode::Tile}, {0x80000000u, BackgroundMode::Tile}, {0xFFFFFFFEu, BackgroundMode::Tile}};
    for (const auto& [stored, expected] : cases) {
        m_profile.WriteProfileInt(kSection, "DisplayMode", stored);
        EXPECT_EQ(Loaded().m_nDisplayMode, expected) << "stored " << stored;
    }
}

TEST_F(BackgroundSettingsTest, SwitchingOnFallsBackToTheLastImagePathOnlyForAMissingFile)
{
    m_profile.WriteProfileString(kSection, "LastImagePath", Spare());
    m_profile.WriteProfileString(kSection, "FileName", (m_folder / "gone.bmp").string());
    EXPECT_EQ(Loaded().SetImageEnabled(true), Spare());
    m_profile.WriteProfileString(kSection, "FileName", DefaultImage());
    CBackgroundSettings settings = Loaded();
    EXPECT_EQ(settings.SetImageEnabled(true), DefaultImage());

    // Off forgets the file, so on again has only the last image path.
    EXPECT_EQ(settings.SetImageEnabled(false), "");
    EXPECT_EQ(settings.SetImageEnabled(true), Spare());

    // A folder is no image file either.
    m_profile.WriteProfileString(kSection, "FileName", m_folder.string());
    EXPECT_EQ(Loaded().SetImageEnabled(true), Spare());
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

    EXPECT_EQ(Of(Loaded()), Drawn(true, BackgroundMode::Center, 0x00336699, Spare()));
    EXPECT_FALSE(Loaded().m_bPromptDrag);

    // A window closed with the image off starts with no file at all.
    settings.SetImageEnabled(false);
    settings.Save(m_profile);
    EXPECT_EQ(Of(Loaded()), Drawn(false, BackgroundMode::Center, 0x00336699, ""));
}

TEST(BackgroundGeometryTest, ACentredImageLargerThanTheWindowShowsItsMiddle)
{
    // The image's middle pixel lands on the window's middle pixel.
    EXPECT_EQ(ImagePlacements(BackgroundMode::Center, {100, 80}, {301, 200}),
              std::vector<PixelRect>{(PixelRect{-100, -60, 301, 200})});
    // A smaller one sits in integer halves of the spare room.
    EXPECT_EQ(CenteredRect({101, 81}, {50, 40}), (PixelRect{25, 20, 50, 40}));
}

// Row by row from the top left, each copy beside the one before, up to the first that
// reaches the far edge.
TEST(BackgroundGeometryTest, TilesCoverTheAreaWithNoSpareRowOrColumn)
{
    struct Case {
        PixelSize area, image;
        int columns, rows;
    };
    const Case cases[] = {
        {{100, 50}, {30, 20}, 4, 3},   // partial last row and column
        {{90, 40}, {30, 20}, 3, 2},    // an exact fit needs nothing more
        {{20, 10}, {320, 240}, 1, 1},  // one copy, cut off
        {{1, 1}, {1, 1}, 1, 1},
    };
    for (const auto& [area, image, columns, rows] : cases) {
        std::vector<PixelRect> expected;
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                expected.push_back({column * image.width, row * image.height, image.width, image.height});
        EXPECT_EQ(ImagePlacements(BackgroundMode::Tile, area, image), expected) << area.width << "x" << area.height;
    }
}

TEST(BackgroundGeometryTest, StretchFillsTheAreaAndEmptyImagesDrawNothing)
{
    EXPECT_EQ(ImagePlacements(BackgroundMode::Stretch, {640, 480}, {32, 24}),
              std::vector<PixelRect>{(PixelRect{0, 0, 640, 480})});
    for (const BackgroundMode mode : {BackgroundMode::Tile, BackgroundMode::Center, BackgroundMode::Stretch})
        for (const auto& [area, image] : {std::pair<PixelSize, PixelSize>{{640, 480}, {0, 0}},
                                          {{0, 480}, {32, 24}}, {{640, 480}, {-3, 24}}})
            EXPECT_TRUE(ImagePlacements(mode, area, image).empty());
}

TEST_F(BackgroundSettingsTest, DropsKeepExistingFilesInOrderTrimmed)
{
    const std::vector<std::string> dropped = {m_folder.string(), "  " + Spare() + "\r\n",
                                              (m_folder / "gone.bmp").string(), DefaultImage(), ""};
    EXPECT_EQ(DroppedFiles(dropped), (std::vector<fs::path>{Spare(), DefaultImage()}));
}

// A bitmap is whole when its file holds the pixels its header promises: rows padded to
// four bytes, stored bottom-up or top-down; the image size a run-length coded one names;
// the oldest header with its 16-bit sizes. One byte less is a bitmap cut short.
TEST_F(BackgroundSettingsTest, ABitmapIsWholeWhenItsFileHoldsEveryPixel)
{
    const auto whole = [this](const std::vector<std::uint32_t>& info, std::uint32_t pixelBytes) {
        const std::uint32_t offset = 14 + std::uint32_t(info.size()) * 4;
        const std::uint32_t fileHeader[] = {offset + pixelBytes, 0, offset};
        std::ofstream out(m_folder / "test.bmp", std::ios::binary);
        out.write("BM", 2).write(reinterpret_cast<const char*>(fileHeader), sizeof fileHeader);
        out.write(reinterpret_cast<const char*>(info.data()), std::streamsize(info.size() * 4));
        out << std::string(pixelBytes, '\0');
        out.close();
        return IsWholeBitmap(m_folder / "test.bmp");
    };
    const auto infoHeader = [](std::uint32_t width, std::int32_t height, std::uint32_t bits, std::uint32_t coding,
                               std::uint32_t imageSize) {
        return std::vector<std::uint32_t>{40, width, std::uint32_t(height), 1 | bits << 16, coding, imageSize, 0, 0, 0, 0};
    };
    const std::tuple<const char*, std::vector<std::uint32_t>, std::uint32_t> cases[] = {
        {"24 bits, bottom-up", infoHeader(10, 3, 24, 0, 0), 96},
        {"24 bits, top-down", infoHeader(10, -3, 24, 0, 0), 96},
        {"1 bit", infoHeader(33, 2, 1, 0, 0), 16},
        {"run-length coded", infoHeader(100, 100, 8, 1, 50), 50},
        {"oldest header", {12, 10 | 3 << 16, 1 | 24 << 16}, 96},
    };
    for (const auto& [name, info, pixelBytes] : cases) {
        EXPECT_TRUE(whole(info, pixelBytes)) << name;
        EXPECT_FALSE(whole(info, pixelBytes - 1)) << name;
    }
    EXPECT_FALSE(IsWholeBitmap(m_folder / "spare.bmp")) << "a header cut short";
}

}  // namespace
}  // namespace tavlix
