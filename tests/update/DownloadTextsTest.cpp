#include <gtest/gtest.h>

#include <set>

#include "../i18n/TestLanguage.h"
#include "i18n/LanguageState.h"
#include "update/DownloadTexts.h"
#include "update/InstallerFile.h"

namespace tavlix {
namespace {

LanguageState Language(std::uint32_t lcid) { return testing::MakeLanguage(lcid); }

class SizeTextTest : public ::testing::TestWithParam<std::pair<std::uint64_t, const char*>> {};

TEST_P(SizeTextTest, ThreeDigitsTruncated) { EXPECT_EQ(SizeText(GetParam().first, "Bytes"), GetParam().second); }

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeTextTest,
    ::testing::Values(std::pair(0ull, "0 Bytes"), std::pair(1000ull, "1000 Bytes"), std::pair(1023ull, "1023 Bytes"),
                      std::pair(1024ull, "1.00 KB"), std::pair(1536ull, "1.50 KB"), std::pair(10239ull, "9.99 KB"),
                      std::pair(10240ull, "10.0 KB"), std::pair(20480ull, "20.0 KB"), std::pair(102399ull, "99.9 KB"),
                      std::pair(102400ull, "100 KB"), std::pair(1048575ull, "1023 KB"),
                      std::pair(2097152ull, "2.00 MB"), std::pair(10485759ull, "9.99 MB"),
                      std::pair(10485760ull, "10.0 MB"), std::pair(104857600ull, "100 MB"),
                      std::pair(5368709120ull, "5120 MB")));

TEST(DownloadTextsTest, SpeedPercentageAndStatus)
{
    const LanguageState english = Language(kLcidEnglish);
    EXPECT_EQ(SpeedText(english, 51200, 0), std::nullopt) << "no speed before a second has passed";
    EXPECT_EQ(SpeedText(english, 51200, 4), "12.5 KB/Sec");
    EXPECT_EQ(SpeedText(Language(kLcidSimplifiedChinese), 2048, 1), "2.0 KB/秒");
    EXPECT_EQ(PercentText(1999, 2000), "99%");
    EXPECT_EQ(PercentText(5, 0), "100%");
    EXPECT_EQ(PercentText(5, std::nullopt), "");
    EXPECT_EQ(ProgressStatusText(english, 1536, 2097152), "Downloading... 1.50 KB/2.00 MB");
    EXPECT_EQ(ProgressStatusText(english, 1000, std::nullopt), "Downloading... 1000 Bytes");
    EXPECT_EQ(ProgressStatusText(Language(kLcidTraditionalChinese), 100, 1000), "正在下載... 100 位元組/1000 位元組");
}

TEST(InstallerFileTest, KindsOfInstallersAndThePickersPatterns)
{
    EXPECT_EQ(AddressFileName("https://u.test/dl/Tavlix.AppImage?mirror=2#top"), "Tavlix.AppImage");
    EXPECT_EQ(AddressFileName("C:\\download\\setup.exe"), "setup.exe");
    for (const char* name : {"setup16.EXE", "t_1.6_amd64.deb", "t.rpm", "T.appimage", "t-1.6.tar.gz", "t-1.6.tar.xz"})
        EXPECT_NE(InstallerExtension(name), "") << name;
    for (const char* name : {"t-1.6.gz", ".exe", "notes.txt", ""})
        EXPECT_EQ(InstallerExtension(name), "") << name;
    EXPECT_EQ(InstallerExtension("t-1.6.TAR.GZ"), ".TAR.GZ");
    EXPECT_TRUE(IsWebPageName("NEW.HTML"));
    EXPECT_FALSE(IsWebPageName("new.html5"));
    EXPECT_EQ(InstallerPatterns(".DEB"), "*.deb;*.rpm;*.AppImage;*.tar.gz");
    EXPECT_EQ(InstallerPatterns(".tar.xz"), "*.deb;*.rpm;*.AppImage;*.tar.gz;*.tar.xz");
}

TEST(InstallerFileTest, AnEmptySaveBoxOrAFolderTakesTheOfferedName)
{
    EXPECT_EQ(ResolveSavePath(" ", "/home/u", "/dl", "t.deb"), "/dl/t.deb");
    EXPECT_EQ(ResolveSavePath("~", "/home/u", "/dl", "t.deb"), "/home/u/t.deb");
    EXPECT_EQ(ResolveSavePath(::testing::TempDir(), "/", "/dl", "t.deb"), std::filesystem::path(::testing::TempDir()) / "t.deb");
}

TEST(InstallerFileTest, TakenNamesGetANumberAndLongNamesAreCut)
{
    std::set<std::filesystem::path> taken;
    const auto store = [&](const std::filesystem::path& savePath, std::string_view extension) {
        const auto target = InstallerTargetPath(savePath, extension,
                                                [&](const std::filesystem::path& path) { return taken.count(path); });
        taken.insert(target);
        return target.string();
    };
    EXPECT_EQ(store("/tmp/get/setup16.exe", ".exe"), "/tmp/get/setup16.exe");
    EXPECT_EQ(store("/tmp/get/setup16.exe", ".exe"), "/tmp/get/setup16(1).exe");
    EXPECT_EQ(store("/tmp/get/setup16", ".exe"), "/tmp/get/setup16(2).exe");
    EXPECT_EQ(store("/tmp/get/t.tar.gz", ".tar.gz"), "/tmp/get/t.tar.gz");
    EXPECT_EQ(store("/tmp/get/t.tar.gz", ".tar.gz"), "/tmp/get/t(1).tar.gz");
    EXPECT_EQ(store("/tmp/get/setup.exe", ".deb"), "/tmp/get/setup.exe.deb") << "the installer keeps its own kind";
    std::string wide;
    for (int i = 0; i < 150; ++i)
        wide += "\u00e9";  // two bytes each: a cut must not split one
    EXPECT_EQ(store("/tmp/get/" + wide + ".deb", ".deb"), "/tmp/get/" + wide.substr(0, 250) + ".deb");
    EXPECT_EQ(store("/tmp/get/" + wide + ".deb", ".deb"), "/tmp/get/" + wide.substr(0, 248) + "(1).deb");
}

}  // namespace
}  // namespace tavlix
