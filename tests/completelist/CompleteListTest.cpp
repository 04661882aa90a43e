#include <gtest/gtest.h>

#include <filesystem>

#include "../settings/SettingsTestSupport.h"
#include "completelist/CompleteList.h"
#include "i18n/LanguageState.h"
#include "platform/InMemoryProfileStore.h"
#include "settings/Profile.h"

namespace tavlix {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(CompleteListOptionsTest, ReadWithDefaultsAndWrittenAsZeroOrOne)
{
    InMemoryProfileStore store;
    Profile profile(store);
    EXPECT_EQ(LoadCompleteListOptions(profile), (CompleteListOptions{true, false, true, true}));
    // J, Q and K take part only for exactly 1; the other values count any non-zero.
    store.WriteInt("CL", "Standard", 5);
    store.WriteInt("CL", "JQK", 2);
    store.WriteInt("CL", "Have Solution", 0);
    EXPECT_EQ(LoadCompleteListOptions(profile), (CompleteListOptions{true, false, false, true}));

    SaveCompleteListOptions(profile, {false, true, true, false});
    EXPECT_EQ(store.ReadInt("CL", "Standard"), 0u);
    EXPECT_EQ(store.ReadInt("CL", "JQK"), 1u);
    EXPECT_EQ(store.ReadInt("CL", "Have Solution"), 1u);
    EXPECT_EQ(store.ReadInt("CL", "No Solution"), 0u);
}

TEST(CompleteListNamesTest, PageNameFromLanguageAndOptions)
{
    const struct {
        std::uint32_t lcid;
        CompleteListOptions options;
        const char* name;
    } cases[] = {
        {kLcidEnglish, {true, false, true, true}, "esdhsns.htm"},
        {kLcidSimplifiedChinese, {false, true, true, false}, "sjhs.htm"},
        {kLcidTraditionalChinese, {true, true, false, true}, "tsdjns.htm"},
        {1041, {false, false, false, true}, "tns.htm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompleteListFileName(c.lcid, c.options), c.name);
}

TEST(CompleteListCacheTest, PageAgeDecidesBetweenShowingAskingAndMakingAnew)
{
    constexpr std::time_t now = 1'700'000'000, day = 24 * 60 * 60;
    const struct {
        const char* name;
        std::optional<std::time_t> lastWrite;
        CachedPageAction action;
    } cases[] = {
        {"no page", std::nullopt, CachedPageAction::Generate},
        {"made just now", now, CachedPageAction::Show},
        {"a second short of 7 days", now - 7 * day + 1, CachedPageAction::Show},
        {"exactly 7 days", now - 7 * day, CachedPageAction::Ask},
        {"exactly 90 days", now - 90 * day, CachedPageAction::Ask},
        {"a second over 90 days", now - 90 * day - 1, CachedPageAction::Generate},
        {"a second in the future", now + 1, CachedPageAction::Generate},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecideCachedPage(c.lastWrite, now), c.action) << c.name;
}

TEST(CompleteListFolderTest, WhatStandsInTheFoldersWayGoesButNeverALinksTarget)
{
    const ScratchFolder folder;
    WriteBytes(folder.Path() / "kept" / "esdhsns.htm", "page");
    WriteBytes(folder.Path() / "file", "not a folder");
    WriteBytes(folder.Path() / "notes.txt", "keep me");
    fs::create_symlink(folder.Path() / "notes.txt", folder.Path() / "link");
    for (const char* name : {"kept", "file", "link", "missing/cl"}) {
        EnsureCompleteListFolder(folder.Path() / name);
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(folder.Path() / name))) << name;
    }
    EXPECT_EQ(ReadBytes(folder.Path() / "kept" / "esdhsns.htm"), "page");
    EXPECT_EQ(ReadBytes(folder.Path() / "notes.txt"), "keep me");
}

}  // namespace
}  // namespace tavlix
